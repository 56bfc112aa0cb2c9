// Renderer: pixel transfers between the frame buffer, the caller's arrays and
// surface textures.
#include <GL/gl.h>

#include <cstdint>
#include <memory>
#include <new>

#include "graphics/graphics.h"
#include "graphics/surface.h"

namespace {

// True when every row r < h of `w` elements starting at offset + r * pitch lies
// inside an array of `length` elements. Rows are affine in r, so checking the
// first and the last is enough.
bool rows_fit(int length, int w, int h, int offset, int pitch) {
  if (w <= 0 || h <= 0) return false;
  int64_t first = offset;
  int64_t last = static_cast<int64_t>(offset) + static_cast<int64_t>(h - 1) * pitch;
  return first >= 0 && last >= 0 && first + w <= length && last + w <= length;
}

// A w x h buffer of 32-bit pixels, or null when memory is short.
std::unique_ptr<uint32_t[]> pixel_buffer(int w, int h) {
  size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
  return std::unique_ptr<uint32_t[]>(new (std::nothrow) uint32_t[count]);
}

// Pixels travel to and from GL as bytes red, green, blue, alpha (the one
// order every GL, WebGL included, accepts), which a little-endian word holds
// as 0xAABBGGRR; the caller's ints are 0xAARRGGBB. Swapping red and blue goes
// either way.
uint32_t swap_red_blue(uint32_t p) { return (p & 0xff00ff00u) | (p & 0xffu) << 16 | ((p >> 16) & 0xffu); }

uint32_t premultiply_argb(uint32_t p) {
  uint32_t a = p >> 24;
  uint32_t r = ((p >> 16) & 0xff) * a / 255;
  uint32_t g = ((p >> 8) & 0xff) * a / 255;
  uint32_t b = (p & 0xff) * a / 255;
  return a << 24 | r << 16 | g << 8 | b;
}

}  // namespace

// A rectangle that does not fit the array, or a buffer that cannot be had,
// leaves the array untouched: the caller's memory is never written out of range.
int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
  Flush();
  if (!rows_fit(pixels.Length(), w, h, offset, pitch)) return 0;
  std::unique_ptr<uint32_t[]> buffer = pixel_buffer(w, h);
  if (!buffer) return 0;
  glReadPixels(x, windowHeight - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, buffer.get());
  // OpenGL delivers the bottom row first; the caller wants the top row first.
  for (int r = 0; r < h; ++r) {
    const uint32_t* src = &buffer[static_cast<size_t>(h - 1 - r) * static_cast<size_t>(w)];
    int* dst = &pixels[offset + r * pitch];
    for (int c = 0; c < w; ++c) dst[c] = static_cast<int>(swap_red_blue(src[c]));
  }
  return 0;
}

// Same guards as ReadPixels; a surface without a texture is left alone.
int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                               int pitch) {
  Flush();
  if (!surface || !surface->texture) return 0;
  if (!rows_fit(pixels.Length(), w, h, offset, pitch)) return 0;
  std::unique_ptr<uint32_t[]> buffer = pixel_buffer(w, h);
  if (!buffer) return 0;
  for (int r = 0; r < h; ++r) {
    const int* src = &pixels[offset + r * pitch];
    uint32_t* dst = &buffer[static_cast<size_t>(r) * static_cast<size_t>(w)];
    for (int c = 0; c < w; ++c) dst[c] = swap_red_blue(premultiply_argb(static_cast<uint32_t>(src[c])));
  }
  surface->ForgetOpacity();  // written texels may be translucent
  BindTexture(surface->texture);
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, buffer.get());
  return 0;
}
