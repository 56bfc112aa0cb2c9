// Surfaces: one OpenGL texture per decoded image, and the image-file reader.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/object.h"

class gxtkSurface : public gxtkObject {
 public:
  unsigned char* pixels;  // decoded rows, top to bottom; null once uploaded
  int width, height;      // the image's size, not the texture's
  int depth;              // bytes per pixel: 1 grey, 2 grey+alpha, 3 RGB, 4 RGBA
  unsigned int texture;   // 0: none
  float uScale, vScale;   // 1 / texture width and height
  // Which texels are fully opaque (alpha 255) and which are clear (alpha 0,
  // so every byte 0 once premultiplied), learnt from the decoded pixels
  // before they are released: one bit a texel, rows of opaqueStride words.
  // Empty when none is, or nothing is known (allOpaque covers images without
  // alpha). A frame cut from the surface at any time can so be judged.
  std::vector<uint64_t> opaqueBits;
  std::vector<uint64_t> clearBits;
  int opaqueStride;
  bool allOpaque;
  // Raised whenever the texels change after the load (WritePixels2), so that
  // whoever judged a rectangle judges it again.
  unsigned opacityVersion;

  gxtkSurface();
  gxtkSurface(unsigned char* pixels, int width, int height, int depth);
  ~gxtkSurface() override;

  void SetData(unsigned char* pixels, int width, int height, int depth);

  virtual int Discard();
  virtual int Width() final { return width; }
  virtual int Height() final { return height; }
  virtual int Loaded();
  // Premultiplies the pixels, creates the texture and uploads them; the
  // decoded pixels are released either way. Needs a current GL context.
  virtual bool OnUnsafeLoadComplete();

  // What the texels of a rectangle are as far as the surface knows: all
  // clear, all fully opaque, or a mix (also a rectangle not wholly inside
  // the image, or one of a surface whose texels are not known).
  enum Cover { kMixed, kClear, kOpaque };
  Cover Coverage(int x, int y, int w, int h) const;
  // Whether every texel of the rectangle is fully opaque as far as the
  // surface knows; false for a rectangle not wholly inside the image.
  bool Opaque(int x, int y, int w, int h) const;
  // Texels were written other than by the load: nothing is known opaque.
  void ForgetOpacity();

 private:
  void LearnOpacity();
  // The rectangle is not empty and lies wholly inside the image.
  bool Inside(int x, int y, int w, int h) const;
};

// The texture bound to GL_TEXTURE_2D as far as this program knows. Every bind
// goes through these. BindTexture always reaches GL (texture creation and
// uploads, which may run in a context the renderer has not set up yet);
// BindTextureIfChanged, for drawing within a frame, skips binding the texture
// already bound. The renderer forgets the binding at the start of every frame,
// and deleting the bound texture forgets it too, as GL may reuse its name.
void BindTexture(unsigned int texture);
void BindTextureIfChanged(unsigned int texture);
void ForgetTextureBinding();

// Images larger than this on either side, or whose decoded size would exceed
// kMaxImageBytes, are refused before decoding: a forged header must not make
// the reader allocate gigabytes.
const int kMaxImageSide = 16384;
const long long kMaxImageBytes = 256LL << 20;

// Decodes an image file (data paths allowed) keeping its own channel count.
// Null when the file cannot be opened, is too large, or cannot be decoded.
unsigned char* loadImage(String path, int* width, int* height, int* depth);
unsigned char* loadImage(unsigned char* data, int length, int* width, int* height, int* depth);
void unloadImage(unsigned char* pixels);
// Smallest power of two >= n; 1 for n <= 1.
int Pow2Size(int n);
