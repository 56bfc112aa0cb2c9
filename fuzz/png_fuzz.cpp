// Feeds arbitrary bytes to the image reader as an image file held in memory
// (in any format the reader accepts, not only PNG), then uploads what it
// decodes as a surface over the recording GL: neither step may crash, read or
// write out of bounds, or decode past the size limits, and a decoded image
// must hold exactly width x height x depth bytes.
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "fake_gl.h"
#include "graphics/surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > INT_MAX) return 0;
  int width = 0, height = 0, depth = 0;
  unsigned char* pixels = loadImage(const_cast<unsigned char*>(data), static_cast<int>(size), &width, &height, &depth);
  if (!pixels) return 0;
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide || depth < 1 || depth > 4) std::abort();
  size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(depth);
  if (static_cast<long long>(bytes) > kMaxImageBytes) std::abort();
  // Read every byte, so a short buffer shows under the sanitizers.
  volatile unsigned sum = 0;
  for (size_t i = 0; i < bytes; ++i) sum = sum + pixels[i];

  fakegl::reset();
  gxtkSurface* surface = new gxtkSurface(pixels, width, height, depth);  // takes the pixels
  if (!surface->OnUnsafeLoadComplete() || surface->Width() != width || surface->Height() != height) std::abort();
  surface->Discard();
  return 0;
}
