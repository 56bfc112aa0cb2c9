// Music on channel 32: Ogg files streamed through the channel's buffer queue
// and fed once per main-loop pass, any other file played whole; the music
// calls are the channel calls on channel 32.
#include <AL/al.h>

#include "audio/audio.h"
#include "audio/decode.h"
#include "audio/music_stream.h"
#include "files/files.h"

int gxtkAudio::PlayMusic(String path, int flags) {
  StopMusic();
  if (SoundFileExtension(path) != String("ogg")) return PlayWholeMusic(path, flags);
  std::unique_ptr<OggStream> ogg = OggStream::Open(fopenFile(path, String("rb")));
  if (!ogg) return -1;
  // A layout OpenAL cannot take stays silent, as a sample of it would.
  if (!MusicStream::Playable(*ogg)) return 0;
  gxtkChannel& c = channels[kMusicChannel];
  music.reset(new MusicStream(std::move(ogg), flags != 0, c.AL_Source()));
  c.sample = nullptr;
  c.flags = flags;
  c.state = 1;
  return 0;
}

int gxtkAudio::PlayWholeMusic(String path, int flags) {
  gxtkSample* whole = LoadSample(path);
  if (!whole) return -1;
  PlaySample(whole, kMusicChannel, flags);
  return 0;
}

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }

// A paused channel keeps its queue as it is; a suspended application is fed
// nothing, so a stream that ran dry stays silent until it resumes.
int gxtkAudio::Update() {
  gxtkChannel& c = channels[kMusicChannel];
  if (!music || suspended || c.state != 1) return 0;
  music->Feed();
  if (music->Failed()) {
    StopChannel(kMusicChannel);
  } else if (HasFinished(c)) {
    music.reset();
    c.state = 0;
  }
  return 0;
}
