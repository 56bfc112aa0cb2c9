// The framework's audio module: sounds as collected objects over samples, and
// channel control through the one audio device.
#include "audio/audio.h"
#include "files/files.h"

gxtkAudio* bb_audio_device = nullptr;

bb_audio_Sound* bb_audio_Sound::g_new(gxtkSample* sample) {
  gc_assign(m_sample, sample);
  return this;
}

bb_audio_Sound* bb_audio_Sound::g_new2() { return this; }

void bb_audio_Sound::mark() { gc_mark_q(m_sample); }

int bb_audio_SetAudioDevice(gxtkAudio* device) {
  gc_assign(bb_audio_device, device);
  return 0;
}

bb_audio_Sound* bb_audio_LoadSound(String path) {
  gxtkSample* sample = bb_audio_device->LoadSample(bb_data_FixDataPath(path));
  if (!sample) return nullptr;
  return (new bb_audio_Sound())->g_new(sample);
}

int bb_audio_PlaySound(bb_audio_Sound* sound, int channel, int flags) {
  if (sound && sound->m_sample) bb_audio_device->PlaySample(sound->m_sample, channel, flags);
  return 0;
}

int bb_audio_StopChannel(int channel) { return bb_audio_device->StopChannel(channel); }
int bb_audio_SetChannelVolume(int channel, float volume) { return bb_audio_device->SetVolume(channel, volume); }
int bb_audio_SetChannelPan(int channel, float pan) { return bb_audio_device->SetPan(channel, pan); }
int bb_audio_SetChannelRate(int channel, float rate) { return bb_audio_device->SetRate(channel, rate); }
