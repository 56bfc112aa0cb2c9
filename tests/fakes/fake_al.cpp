// Recording stand-in for the AL entry points the audio device uses.
#include <AL/al.h>

extern "C" {
void alDistanceModel(ALenum) {}
}
