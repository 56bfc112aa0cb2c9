// Surfaces: decoding, premultiplication, texture creation with the
// power-of-two fallback, and the renderer's surface factories.
#include "graphics/surface.h"

#include <GL/gl.h>
#include <stb_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "files/files.h"
#include "graphics/graphics.h"

namespace {

// Header sizes that can be decoded without risk of overflow or an absurd allocation.
bool acceptable_size(int w, int h, int comp) {
  if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return false;
  // Palette images report their palette depth; never count less than 4 bytes.
  long long bytes = static_cast<long long>(w) * h * (comp > 4 ? comp : 4);
  return bytes <= kMaxImageBytes;
}

// An image file is read whole before decoding, so the chunk check below sees
// all of it; no art file comes near this size.
const long kMaxImageFileBytes = 64L << 20;

bool read_whole_file(FILE* f, std::vector<unsigned char>& bytes) {
  if (std::fseek(f, 0, SEEK_END) != 0) return false;
  long size = std::ftell(f);
  if (size <= 0 || size > kMaxImageFileBytes || std::fseek(f, 0, SEEK_SET) != 0) return false;
  bytes.resize(static_cast<size_t>(size));
  return std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

uint32_t big_endian_32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

// Whether every chunk of a PNG lies within the file, up to its end chunk
// (other formats pass). The PNG reader grows its data buffer to a chunk's
// stated length before it finds the bytes missing: a few forged bytes would
// otherwise cost gigabytes of memory before the load fails.
bool png_chunks_fit(const unsigned char* data, int length) {
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
  if (length < 8 || std::memcmp(data, kSignature, 8) != 0) return true;
  size_t at = 8, end = static_cast<size_t>(length);
  while (end - at >= 12) {
    uint32_t chunk = big_endian_32(data + at);
    if (chunk > end - at - 12) return false;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += 12 + chunk;
  }
  return false;  // no end chunk: the file was cut short
}

// floor(c * a / 255) for every colour byte, alpha kept.
void premultiply(unsigned char* p, size_t pixelCount, int depth) {
  int colours = depth - 1;
  for (size_t i = 0; i < pixelCount; ++i, p += depth) {
    unsigned a = p[colours];
    for (int c = 0; c < colours; ++c) p[c] = static_cast<unsigned char>(p[c] * a / 255);
  }
}

// The GL format for a depth, premultiplying where the image has alpha.
GLenum prepare_pixels(unsigned char* pixels, int width, int height, int depth) {
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  switch (depth) {
    case 1:
      return GL_LUMINANCE;
    case 2:
      if (pixels) premultiply(pixels, count, 2);
      return GL_LUMINANCE_ALPHA;
    case 3:
      return GL_RGB;
    case 4:
      if (pixels) premultiply(pixels, count, 4);
      return GL_RGBA;
  }
  std::exit(-1);  // no decoder produces another depth
}

// The binding BindTexture last made; meaningless while not known.
GLuint g_boundTexture = 0;
bool g_bindingKnown = false;

void allocate_texture(GLenum format, int w, int h) {
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), w, h, 0, format, GL_UNSIGNED_BYTE, nullptr);
}

// GL keeps an error until it is read, one per kind; more than this many
// pending at once means no context answers.
const int kMaxPendingGlErrors = 8;

// Reads away errors left by earlier calls, so that the next glGetError
// speaks of the next call alone.
void clear_gl_errors() {
  for (int i = 0; i < kMaxPendingGlErrors && glGetError() != GL_NO_ERROR; ++i) {
  }
}

// Allocates the texture at the image's size or, where GL refuses that, at
// the next powers of two; false when both are refused. The size given is
// put in w and h. Whether non-power-of-two sizes work is learnt from the
// first allocation, so older errors are read away before it.
bool allocate_texture_sized(GLenum format, int& w, int& h) {
  clear_gl_errors();
  allocate_texture(format, w, h);
  if (glGetError() == GL_NO_ERROR) return true;
  w = Pow2Size(w);
  h = Pow2Size(h);
  allocate_texture(format, w, h);
  return glGetError() == GL_NO_ERROR;
}

}  // namespace

// ---------------------------------------------------------------------------
// Image files

unsigned char* loadImage(String path, int* width, int* height, int* depth) {
  FILE* f = fopenFile(path, String("rb"));
  if (!f) return nullptr;
  std::vector<unsigned char> bytes;
  bool read = read_whole_file(f, bytes);
  std::fclose(f);
  if (!read) return nullptr;
  return loadImage(bytes.data(), static_cast<int>(bytes.size()), width, height, depth);
}

unsigned char* loadImage(unsigned char* data, int length, int* width, int* height, int* depth) {
  int w = 0, h = 0, comp = 0;
  if (!data || length <= 0) return nullptr;
  if (!png_chunks_fit(data, length)) return nullptr;
  if (!stbi_info_from_memory(data, length, &w, &h, &comp) || !acceptable_size(w, h, comp)) return nullptr;
  return stbi_load_from_memory(data, length, width, height, depth, 0);
}

void unloadImage(unsigned char* pixels) { stbi_image_free(pixels); }

void BindTexture(unsigned int texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  g_boundTexture = texture;
  g_bindingKnown = true;
}

void BindTextureIfChanged(unsigned int texture) {
  if (!g_bindingKnown || g_boundTexture != texture) BindTexture(texture);
}

void ForgetTextureBinding() { g_bindingKnown = false; }

int Pow2Size(int n) {
  int size = 1;
  while (size < n && size < (1 << 30)) size *= 2;
  return size;
}

// ---------------------------------------------------------------------------
// gxtkSurface

gxtkSurface::gxtkSurface() : gxtkSurface(nullptr, 0, 0, 0) {}

gxtkSurface::gxtkSurface(unsigned char* pixels_, int width_, int height_, int depth_)
    : pixels(pixels_),
      width(width_),
      height(height_),
      depth(depth_),
      texture(0),
      uScale(0),
      vScale(0),
      opaqueStride(0),
      allOpaque(false),
      opacityVersion(1) {}

gxtkSurface::~gxtkSurface() { Discard(); }

void gxtkSurface::SetData(unsigned char* pixels_, int width_, int height_, int depth_) {
  pixels = pixels_;
  width = width_;
  height = height_;
  depth = depth_;
}

int gxtkSurface::Discard() {
  if (texture) {
    if (texture == g_boundTexture) ForgetTextureBinding();
    glDeleteTextures(1, &texture);
    texture = 0;
  }
  if (pixels) {
    stbi_image_free(pixels);
    pixels = nullptr;
  }
  ForgetOpacity();
  return 0;
}

int gxtkSurface::Loaded() { return 1; }

bool gxtkSurface::OnUnsafeLoadComplete() {
  LearnOpacity();
  GLenum format = prepare_pixels(pixels, width, height, depth);
  glGenTextures(1, &texture);
  BindTexture(texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

  int texWidth = width, texHeight = height;
  if (!allocate_texture_sized(format, texWidth, texHeight)) {
    // Nothing could be filled: the name goes back and the pixels go.
    Discard();
    return false;
  }
  if (pixels) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);
  }
  uScale = 1.0f / static_cast<float>(texWidth);
  vScale = 1.0f / static_cast<float>(texHeight);
  stbi_image_free(pixels);
  pixels = nullptr;
  return true;
}

// ---------------------------------------------------------------------------
// Opacity

namespace {

const int kWordBits = 64;

uint64_t bit(int x) { return uint64_t{1} << (x % kWordBits); }

// The bits of word `word` that fall in columns x0 .. x1 - 1.
uint64_t columns_in_word(int word, int x0, int x1) {
  int first = word * kWordBits, last = first + kWordBits;
  uint64_t mask = ~uint64_t{0};
  if (x0 > first) mask &= ~uint64_t{0} << (x0 - first);
  if (x1 < last) mask &= ~(~uint64_t{0} << (x1 - first));
  return mask;
}

}  // namespace

// Read before premultiplication, which keeps alpha as it is anyway (and
// makes every byte of a clear texel 0).
void gxtkSurface::LearnOpacity() {
  ForgetOpacity();
  if (!pixels || width <= 0 || height <= 0) return;
  if (depth == 1 || depth == 3) {
    allOpaque = true;
    return;
  }
  opaqueStride = (width + kWordBits - 1) / kWordBits;
  const size_t words = static_cast<size_t>(opaqueStride) * static_cast<size_t>(height);
  std::vector<uint64_t> opaque(words, 0), clear(words, 0);
  bool anyOpaque = false, anyClear = false;
  const unsigned char* p = pixels + (depth - 1);
  for (int y = 0; y < height; ++y) {
    const size_t row = static_cast<size_t>(y) * static_cast<size_t>(opaqueStride);
    for (int x = 0; x < width; ++x, p += depth) {
      if (*p == 255) {
        opaque[row + static_cast<size_t>(x / kWordBits)] |= bit(x);
        anyOpaque = true;
      } else if (*p == 0) {
        clear[row + static_cast<size_t>(x / kWordBits)] |= bit(x);
        anyClear = true;
      }
    }
  }
  if (anyOpaque) opaqueBits.swap(opaque);
  if (anyClear) clearBits.swap(clear);
}

void gxtkSurface::ForgetOpacity() {
  std::vector<uint64_t>().swap(opaqueBits);
  std::vector<uint64_t>().swap(clearBits);
  opaqueStride = 0;
  allOpaque = false;
  ++opacityVersion;
}

namespace {

// Whether the bits of every row of the rectangle are all set.
bool all_set(const std::vector<uint64_t>& bits, int stride, int x, int y, int w, int h) {
  if (bits.empty()) return false;
  for (int row = y; row < y + h; ++row) {
    const uint64_t* words = &bits[static_cast<size_t>(row) * static_cast<size_t>(stride)];
    for (int word = x / kWordBits; word <= (x + w - 1) / kWordBits; ++word) {
      uint64_t mask = columns_in_word(word, x, x + w);
      if ((words[word] & mask) != mask) return false;
    }
  }
  return true;
}

}  // namespace

bool gxtkSurface::Inside(int x, int y, int w, int h) const {
  return w > 0 && h > 0 && x >= 0 && y >= 0 && x <= width - w && y <= height - h;
}

bool gxtkSurface::Opaque(int x, int y, int w, int h) const {
  return Inside(x, y, w, h) && (allOpaque || all_set(opaqueBits, opaqueStride, x, y, w, h));
}

gxtkSurface::Cover gxtkSurface::Coverage(int x, int y, int w, int h) const {
  if (!Inside(x, y, w, h)) return kMixed;
  if (allOpaque || all_set(opaqueBits, opaqueStride, x, y, w, h)) return kOpaque;
  return all_set(clearBits, opaqueStride, x, y, w, h) ? kClear : kMixed;
}

// ---------------------------------------------------------------------------
// The renderer's factories

gxtkSurface* gxtkGraphics::LoadSurface(String path) {
  gxtkSurface* surface = LoadSurface__UNSAFE__(new gxtkSurface(), path);
  if (!surface) return nullptr;
  return surface->OnUnsafeLoadComplete() ? surface : nullptr;
}

gxtkSurface* gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
  int w = 0, h = 0, d = 0;
  unsigned char* pixels = loadImage(path, &w, &h, &d);
  if (!pixels) return nullptr;
  surface->SetData(pixels, w, h, d);
  gc_force_sweep = true;  // a decoded image is big: collect in full next time
  return surface;
}

// Sizes below 1 make no texture worth having and are refused.
gxtkSurface* gxtkGraphics::CreateSurface(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) return nullptr;
  gxtkSurface* surface = new gxtkSurface(nullptr, width, height, 4);
  return surface->OnUnsafeLoadComplete() ? surface : nullptr;
}
