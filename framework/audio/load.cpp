// Picks the decoder for a sound file by its extension.
#include <cstdlib>

#include "audio/audio.h"
#include "audio/decode.h"
#include "files/files.h"

String SoundFileExtension(const String& path) {
  int dot = path.FindLast(String("."));
  if (dot == -1) return String();
  String ext = path.Slice(dot + 1);
  if (ext.Contains(String("/")) || ext.Contains(String("\\"))) return String();
  return ext.ToLower();
}

unsigned char* loadSound(String path, int* frames, int* channels, int* bytesPerSample, int* rate) {
  String ext = SoundFileExtension(path);
  bool (*decode)(FILE*, PcmData*) = nullptr;
  if (ext == String("wav")) decode = wav_decode;
  if (ext == String("ogg")) decode = ogg_decode;
  if (!decode) return nullptr;

  FILE* file = fopenFile(path, String("rb"));
  if (!file) return nullptr;
  PcmData pcm;
  bool ok = decode(file, &pcm);
  std::fclose(file);
  if (!ok) return nullptr;
  *frames = pcm.frames;
  *channels = pcm.channels;
  *bytesPerSample = pcm.bytesPerSample;
  *rate = pcm.rate;
  return pcm.data;
}

void unloadSound(unsigned char* data) { std::free(data); }
