// Decoders behind loadSound, each reading a whole file that is already open.
#pragma once

#include <cstdio>

#include "runtime/string.h"

// Decoded PCM: malloc'd, interleaved, as the file stores it.
struct PcmData {
  unsigned char* data = nullptr;
  int frames = 0;
  int channels = 0;
  int bytesPerSample = 0;
  int rate = 0;
};

// RIFF WAVE with integer PCM. Null data on any failure; never reads or
// allocates past what the file holds. Does not close the file.
bool wav_decode(FILE* file, PcmData* out);

// Ogg Vorbis through stb_vorbis, to 16-bit samples. Does not close the file.
bool ogg_decode(FILE* file, PcmData* out);

// The text after the last "." of a sound file's path, lower-cased; empty when
// a folder separator follows it (a dotted folder name, no extension).
String SoundFileExtension(const String& path);
