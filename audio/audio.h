// The audio device: OpenAL sources as numbered channels.
#pragma once

#include "runtime/object.h"

class gxtkAudio : public gxtkObject {
 public:
  gxtkAudio();
  int OnSuspend();
  int OnResume();
};

extern gxtkAudio* bb_audio_device;
int bb_audio_SetAudioDevice(gxtkAudio* device);
