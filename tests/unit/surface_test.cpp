// Surfaces over the recording GL: texture creation and the power-of-two
// retry, premultiplication by depth, release of pixels, Discard; and image
// files of every PNG channel layout written by ImageMagick, decoded and
// uploaded, plus files that must be refused.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake_gl.h"
#include "graphics/graphics.h"
#include "graphics/surface.h"

namespace {

using Texel = std::array<uint8_t, 4>;

// Pixels in stb_image's own allocation, as a decoded file would have them.
unsigned char* stb_pixels(const std::vector<unsigned char>& bytes) {
  unsigned char* p = static_cast<unsigned char*>(std::malloc(bytes.size()));
  std::memcpy(p, bytes.data(), bytes.size());
  return p;
}

class Surface : public ::testing::Test {
 protected:
  gxtkGraphics* g = nullptr;
  void SetUp() override {
    fakegl::reset();
    g = new gxtkGraphics();
  }
  const fakegl::Texture& texture(gxtkSurface* s) { return fakegl::state().textures.at(s->texture); }
};

TEST_F(Surface, RefusedNonPowerOfTwoTextureIsRetriedAtPowerOfTwoSize) {
  fakegl::state().refuse_npot = true;
  gxtkSurface* s = new gxtkSurface(stb_pixels(std::vector<unsigned char>(100 * 50 * 4, 255)), 100, 50, 4);
  ASSERT_TRUE(s->OnUnsafeLoadComplete());
  EXPECT_EQ(fakegl::state().allocations, (std::vector<std::array<int, 2>>{{100, 50}, {128, 64}}));
  EXPECT_FLOAT_EQ(s->uScale, 1.0f / 128);
  EXPECT_FLOAT_EQ(s->vScale, 1.0f / 64);
  EXPECT_EQ(s->Width(), 100);  // the image keeps its own size
  // The image sits in the top-left corner of the larger texture.
  ASSERT_EQ(fakegl::state().uploads.size(), 1u);
  EXPECT_EQ(fakegl::state().uploads[0].width, 100);
  EXPECT_EQ(texture(s).texel(99, 49), (Texel{255, 255, 255, 255}));
  EXPECT_EQ(fakegl::state().error, static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Surface, AcceptedNonPowerOfTwoTextureKeepsTheExactSize) {
  gxtkSurface* s = new gxtkSurface(stb_pixels(std::vector<unsigned char>(100 * 50 * 4, 0)), 100, 50, 4);
  ASSERT_TRUE(s->OnUnsafeLoadComplete());
  EXPECT_EQ(fakegl::state().allocations.size(), 1u);
  EXPECT_FLOAT_EQ(s->uScale, 1.0f / 100);
  EXPECT_FLOAT_EQ(s->vScale, 1.0f / 50);
}

TEST_F(Surface, AnErrorLeftByAnEarlierCallIsNotTakenForARefusal) {
  fakegl::state().error = GL_INVALID_ENUM;  // left over from some other call
  gxtkSurface* s = new gxtkSurface(stb_pixels(std::vector<unsigned char>(100 * 50 * 4, 0)), 100, 50, 4);
  ASSERT_TRUE(s->OnUnsafeLoadComplete());
  EXPECT_EQ(fakegl::state().allocations, (std::vector<std::array<int, 2>>{{100, 50}}));
  EXPECT_FLOAT_EQ(s->uScale, 1.0f / 100);
}

TEST_F(Surface, TextureRefusedAtBothSizesFailsAndReleasesThePixelsAndTheName) {
  fakegl::state().refuse_textures = true;
  gxtkSurface* s = new gxtkSurface(stb_pixels(std::vector<unsigned char>(12, 1)), 3, 1, 3);
  EXPECT_FALSE(s->OnUnsafeLoadComplete());
  EXPECT_EQ(s->pixels, nullptr);
  EXPECT_EQ(fakegl::state().allocations.size(), 2u);
  // The name it was given goes back to GL, and nothing refers to it.
  EXPECT_EQ(s->texture, 0u);
  EXPECT_TRUE(fakegl::state().textures.empty());
  ASSERT_EQ(fakegl::state().deleted_textures.size(), 1u);
  EXPECT_EQ(g->CreateSurface(4, 4), nullptr);
  EXPECT_TRUE(fakegl::state().textures.empty());
  s->Discard();
  EXPECT_EQ(fakegl::state().deleted_textures.size(), 2u);  // CreateSurface's own, not a second of this one
}

TEST_F(Surface, PremultipliesRgbaAndGreyAlphaAndLeavesOpaqueDepthsAlone) {
  gxtkSurface* rgba = new gxtkSurface(stb_pixels({200, 100, 50, 128, 90, 80, 70, 0}), 2, 1, 4);
  ASSERT_TRUE(rgba->OnUnsafeLoadComplete());
  EXPECT_EQ(texture(rgba).texel(0, 0), (Texel{100, 50, 25, 128}));
  EXPECT_EQ(texture(rgba).texel(1, 0), (Texel{0, 0, 0, 0}));
  EXPECT_EQ(texture(rgba).internal_format, GL_RGBA);

  gxtkSurface* ga = new gxtkSurface(stb_pixels({255, 64, 128, 255}), 2, 1, 2);
  ASSERT_TRUE(ga->OnUnsafeLoadComplete());
  EXPECT_EQ(texture(ga).texel(0, 0), (Texel{64, 64, 64, 64}));
  EXPECT_EQ(texture(ga).texel(1, 0), (Texel{128, 128, 128, 255}));
  EXPECT_EQ(texture(ga).internal_format, GL_LUMINANCE_ALPHA);

  gxtkSurface* rgb = new gxtkSurface(stb_pixels({1, 2, 3, 4, 5, 6}), 2, 1, 3);
  ASSERT_TRUE(rgb->OnUnsafeLoadComplete());
  EXPECT_EQ(texture(rgb).texel(1, 0), (Texel{4, 5, 6, 255}));

  gxtkSurface* grey = new gxtkSurface(stb_pixels({9}), 1, 1, 1);
  ASSERT_TRUE(grey->OnUnsafeLoadComplete());
  EXPECT_EQ(texture(grey).texel(0, 0), (Texel{9, 9, 9, 255}));
  EXPECT_EQ(texture(grey).internal_format, GL_LUMINANCE);
}

TEST_F(Surface, OddRowLengthsUploadWithByteAlignment) {
  // 3 RGB pixels make 9-byte rows: GL's default 4-byte alignment would skew them.
  std::vector<unsigned char> bytes;
  for (int i = 0; i < 3 * 2 * 3; ++i) bytes.push_back(static_cast<unsigned char>(i));
  gxtkSurface* s = new gxtkSurface(stb_pixels(bytes), 3, 2, 3);
  ASSERT_TRUE(s->OnUnsafeLoadComplete());
  EXPECT_EQ(texture(s).texel(0, 1), (Texel{9, 10, 11, 255}));
  EXPECT_EQ(texture(s).texel(2, 1), (Texel{15, 16, 17, 255}));
}

TEST_F(Surface, TextureIsNearestFilteredAndClampedAndPixelsAreReleased) {
  gxtkSurface* s = new gxtkSurface(stb_pixels({1, 2, 3, 4}), 1, 1, 4);
  ASSERT_TRUE(s->OnUnsafeLoadComplete());
  EXPECT_EQ(s->pixels, nullptr);
  const std::map<GLenum, GLint>& p = texture(s).params;
  EXPECT_EQ(p.at(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
  EXPECT_EQ(p.at(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
  EXPECT_EQ(p.at(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
  EXPECT_EQ(p.at(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
}

TEST_F(Surface, CreateSurfaceMakesAnEmptyRgbaTexture) {
  gxtkSurface* s = g->CreateSurface(1, 1);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->depth, 4);
  EXPECT_EQ(s->pixels, nullptr);
  EXPECT_EQ(s->Loaded(), 1);
  EXPECT_EQ(texture(s).width, 1);
  EXPECT_EQ(fakegl::count("glTexSubImage2D"), 0);
  EXPECT_EQ(g->CreateSurface(0, 5), nullptr);
  EXPECT_EQ(g->CreateSurface(5, -1), nullptr);
}

TEST_F(Surface, DiscardDeletesTheTextureOnceAndTheDestructorToo) {
  gxtkSurface* s = g->CreateSurface(2, 2);
  unsigned int name = s->texture;
  s->Discard();
  EXPECT_EQ(s->texture, 0u);
  s->Discard();
  EXPECT_EQ(fakegl::state().deleted_textures, (std::vector<GLuint>{name}));
  // Destroyed outside the collector's lists: deleting a collected object
  // that the collector still holds would leave it linked in a list and
  // corrupt every later allocation in this process.
  alignas(gxtkSurface) unsigned char storage[sizeof(gxtkSurface)];
  gxtkSurface* t = ::new (storage) gxtkSurface(nullptr, 2, 2, 4);
  ASSERT_TRUE(t->OnUnsafeLoadComplete());
  name = t->texture;
  t->~gxtkSurface();
  EXPECT_EQ(fakegl::state().deleted_textures.back(), name);
}

TEST_F(Surface, Pow2SizeDoublesFromOne) {
  EXPECT_EQ(Pow2Size(-3), 1);
  EXPECT_EQ(Pow2Size(1), 1);
  EXPECT_EQ(Pow2Size(3), 4);
  EXPECT_EQ(Pow2Size(64), 64);
  EXPECT_EQ(Pow2Size(65), 128);
}

// ---------------------------------------------------------------------------
// Image files made by ImageMagick

class ImageFile : public ::testing::Test {
 protected:
  static std::string dir_;
  gxtkGraphics* g = nullptr;

  static void SetUpTestSuite() {
    char templ[] = "/tmp/vw_images_XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  static void TearDownTestSuite() { std::system(("rm -rf " + dir_).c_str()); }

  void SetUp() override {
    fakegl::reset();
    g = new gxtkGraphics();
  }

  static std::string path(const std::string& name) { return dir_ + "/" + name; }

  static void write(const std::string& name, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path(name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }

  // Runs ImageMagick's convert in the temporary folder.
  static void convert(const std::string& args) {
    std::string cmd = "cd " + dir_ + " && convert " + args + " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }

  // The PNG colour type byte of the file's header.
  static int colour_type(const std::string& name) {
    FILE* f = std::fopen(path(name).c_str(), "rb");
    unsigned char head[26] = {};
    size_t n = f ? std::fread(head, 1, sizeof head, f) : 0;
    if (f) std::fclose(f);
    return n == sizeof head ? head[25] : -1;
  }

  gxtkSurface* load(const std::string& name) { return g->LoadSurface(String(path(name).c_str())); }
  const fakegl::Texture& texture(gxtkSurface* s) { return fakegl::state().textures.at(s->texture); }
};

std::string ImageFile::dir_;

TEST_F(ImageFile, RgbaPngIsPremultiplied) {
  write("rgba.raw", {200, 100, 50, 128, 7, 8, 9, 0, 16, 32, 48, 255});
  convert("-size 3x1 -depth 8 rgba:rgba.raw PNG32:rgba.png");
  ASSERT_EQ(colour_type("rgba.png"), 6);
  gxtkSurface* s = load("rgba.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->depth, 4);
  EXPECT_EQ(texture(s).texel(0, 0), (Texel{100, 50, 25, 128}));
  EXPECT_EQ(texture(s).texel(1, 0), (Texel{0, 0, 0, 0}));
  EXPECT_EQ(texture(s).texel(2, 0), (Texel{16, 32, 48, 255}));
}

TEST_F(ImageFile, RgbPngIsUploadedUnchanged) {
  write("rgb.raw", {200, 100, 50, 1, 2, 3, 250, 251, 252, 9, 8, 7});
  convert("-size 2x2 -depth 8 rgb:rgb.raw PNG24:rgb.png");
  ASSERT_EQ(colour_type("rgb.png"), 2);
  gxtkSurface* s = load("rgb.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->depth, 3);
  EXPECT_EQ(texture(s).texel(1, 0), (Texel{1, 2, 3, 255}));
  EXPECT_EQ(texture(s).texel(1, 1), (Texel{9, 8, 7, 255}));
}

TEST_F(ImageFile, GreyPngKeepsOneChannel) {
  write("grey.raw", {0, 64, 255});
  convert("-size 3x1 -depth 8 gray:grey.raw -define png:color-type=0 -define png:bit-depth=8 grey.png");
  ASSERT_EQ(colour_type("grey.png"), 0);
  gxtkSurface* s = load("grey.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->depth, 1);
  EXPECT_EQ(texture(s).internal_format, GL_LUMINANCE);
  EXPECT_EQ(texture(s).texel(1, 0), (Texel{64, 64, 64, 255}));
}

TEST_F(ImageFile, GreyAlphaPngIsPremultiplied) {
  write("g.raw", {255, 128, 200});
  write("a.raw", {64, 255, 0});
  convert("-size 3x1 -depth 8 gray:g.raw \\( -size 3x1 -depth 8 gray:a.raw \\) -alpha off "
          "-compose copy_opacity -composite -define png:color-type=4 ga.png");
  ASSERT_EQ(colour_type("ga.png"), 4);
  gxtkSurface* s = load("ga.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->depth, 2);
  EXPECT_EQ(texture(s).texel(0, 0), (Texel{64, 64, 64, 64}));
  EXPECT_EQ(texture(s).texel(1, 0), (Texel{128, 128, 128, 255}));
  EXPECT_EQ(texture(s).texel(2, 0), (Texel{0, 0, 0, 0}));
}

TEST_F(ImageFile, PalettePngsExpandToRgbOrRgba) {
  write("pal.raw", {200, 100, 50, 1, 2, 3, 200, 100, 50, 40, 40, 40});
  convert("-size 4x1 -depth 8 rgb:pal.raw PNG8:pal.png");
  ASSERT_EQ(colour_type("pal.png"), 3);
  gxtkSurface* s = load("pal.png");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->depth, 3);
  EXPECT_EQ(texture(s).texel(2, 0), (Texel{200, 100, 50, 255}));
  EXPECT_EQ(texture(s).texel(3, 0), (Texel{40, 40, 40, 255}));

  // A transparent palette entry brings an alpha channel, premultiplied to zero.
  write("palt.raw", {200, 100, 50, 255, 90, 90, 90, 0});
  convert("-size 2x1 -depth 8 rgba:palt.raw PNG8:palt.png");
  ASSERT_EQ(colour_type("palt.png"), 3);
  gxtkSurface* t = load("palt.png");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->depth, 4);
  EXPECT_EQ(texture(t).texel(0, 0), (Texel{200, 100, 50, 255}));
  EXPECT_EQ(texture(t).texel(1, 0), (Texel{0, 0, 0, 0}));
}

TEST_F(ImageFile, MissingOrUndecodableFilesGiveNull) {
  EXPECT_EQ(load("nothing-here.png"), nullptr);
  write("junk.png", {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5});
  EXPECT_EQ(load("junk.png"), nullptr);
  EXPECT_EQ(fakegl::count("glGenTextures"), 0);
  int w, h, d;
  unsigned char junk[] = {1, 2, 3};
  EXPECT_EQ(loadImage(junk, 3, &w, &h, &d), nullptr);
}

TEST_F(ImageFile, ImagesBeyondTheSizeLimitAreRefusedBeforeDecoding) {
  // Valid files, so only the size limit can refuse them (ImageMagick's own
  // limits forbid making them with convert).
  std::vector<unsigned char> row(16385 * 3, 200);
  ASSERT_TRUE(stbi_write_png(path("wide.png").c_str(), 16385, 1, 3, row.data(), 16385 * 3));
  ASSERT_TRUE(stbi_write_png(path("tall.png").c_str(), 1, 16385, 3, row.data(), 3));
  ASSERT_TRUE(stbi_write_png(path("widest.png").c_str(), 16384, 1, 3, row.data(), 16384 * 3));
  EXPECT_EQ(load("wide.png"), nullptr);
  EXPECT_EQ(load("tall.png"), nullptr);
  gxtkSurface* ok = load("widest.png");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->Width(), 16384);
}

TEST_F(ImageFile, ForgedHeaderSizesGiveNull) {
  convert("-size 2x2 xc:blue PNG32:small.png");
  FILE* f = std::fopen(path("small.png").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<unsigned char> bytes(4096);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  // Width and height in the header: claim 60000 x 60000 (about 14 GB of RGBA).
  for (int at : {16, 20}) {
    bytes[at] = 0;
    bytes[at + 1] = 0;
    bytes[at + 2] = 0xea;
    bytes[at + 3] = 0x60;
  }
  write("forged.png", bytes);
  EXPECT_EQ(load("forged.png"), nullptr);
  int w, h, d;
  EXPECT_EQ(loadImage(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &d), nullptr);
}

// JPEG is not read: stb_image's decoder overflows its Huffman tables on the
// crafted file the image fuzzer found (replayed here under the sanitizers).
TEST_F(ImageFile, JpegFilesAreRefused) {
  convert("-size 8x8 xc:red -quality 90 plain.jpg");
  EXPECT_EQ(load("plain.jpg"), nullptr);
  FILE* f = std::fopen(VW_SOURCE_DIR "/fuzz/regressions/png_fuzz/jpeg-huffman-overflow.jpg", "rb");
  ASSERT_NE(f, nullptr);
  std::vector<unsigned char> bytes(4096);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  int w, h, d;
  EXPECT_EQ(loadImage(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &d), nullptr);
  EXPECT_EQ(fakegl::count("glGenTextures"), 0);
}

TEST_F(ImageFile, LoadFromMemoryKeepsTheChannelCount) {
  convert("-size 2x3 xc:'rgba(10,20,30,0.5)' PNG32:mem.png");
  FILE* f = std::fopen(path("mem.png").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<unsigned char> bytes(4096);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  int w = 0, h = 0, d = 0;
  unsigned char* p = loadImage(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &d);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 3);
  EXPECT_EQ(d, 4);
  unloadImage(p);
}

}  // namespace
