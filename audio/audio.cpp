// Audio device.
#include "audio/audio.h"

#include <AL/al.h>

gxtkAudio* bb_audio_device = nullptr;

int bb_audio_SetAudioDevice(gxtkAudio* device) {
  gc_assign(bb_audio_device, device);
  return 0;
}

gxtkAudio::gxtkAudio() { alDistanceModel(AL_NONE); }
int gxtkAudio::OnSuspend() { return 0; }
int gxtkAudio::OnResume() { return 0; }
