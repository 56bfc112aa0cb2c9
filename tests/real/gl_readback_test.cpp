// The renderer, surfaces and graphics context on the real Mesa GL in a
// 640 x 480 window: draw, read the back buffer with ReadPixels, and check exact
// colours for blending, textured frames, ovals, scissor, pixel writes and
// decoded PNG files of every channel layout.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/context.h"
#include "seam/window.h"

namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const Rgb kBlack{0, 0, 0};

class RealGl : public ::testing::Test {
 protected:
  static std::string dir_;
  gxtkGraphics* g = nullptr;

  static void SetUpTestSuite() {
    ASSERT_TRUE(wlInit());
    wlOpenWindowHint(WL_WINDOW_NO_RESIZE, 1);
    ASSERT_TRUE(wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW));
    char templ[] = "/tmp/vw_readback_XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }

  static void TearDownTestSuite() {
    wlCloseWindow();
    wlTerminate();
    std::system(("rm -rf " + dir_).c_str());
  }

  void SetUp() override {
    g = new gxtkGraphics();
    ASSERT_TRUE(g->Validate());
    ASSERT_EQ(g->Width(), 640);
    ASSERT_EQ(g->Height(), 480);
    g->BeginRender();
    bb_graphics_context = new bb_graphics_GraphicsContext();
    bb_graphics_SetGraphicsDevice(g);
    bb_graphics_BeginRender();
    g->Cls(0, 0, 0);
  }

  void TearDown() override {
    bb_graphics_EndRender();
    g->EndRender();
  }

  // Window pixel (x, y), top-left origin.
  Rgb at(int x, int y) {
    Array<int> p(1);
    g->ReadPixels(p, x, y, 1, 1, 0, 1);
    unsigned v = static_cast<unsigned>(p[0]);
    return {static_cast<int>(v >> 16 & 0xff), static_cast<int>(v >> 8 & 0xff), static_cast<int>(v & 0xff)};
  }

  static std::string path(const std::string& name) { return dir_ + "/" + name; }

  static void write(const std::string& name, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path(name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }

  static void convert(const std::string& args) {
    std::string cmd = "cd " + dir_ + " && convert " + args;
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  }
};

std::string RealGl::dir_;

TEST_F(RealGl, ReadPixelsReturnsTheTopRowFirst) {
  g->SetColor(255, 0, 0);
  g->DrawRect(0, 0, 10, 5);
  Array<int> rows(2 * 3);
  g->ReadPixels(rows, 0, 4, 2, 2, 0, 3);  // window rows 4 and 5
  EXPECT_EQ(static_cast<unsigned>(rows[0]) & 0xffffff, 0xff0000u);
  EXPECT_EQ(static_cast<unsigned>(rows[3]) & 0xffffff, 0u);
  EXPECT_EQ(at(0, 475), kBlack);
}

TEST_F(RealGl, PremultipliedAlphaBlendingGivesExactColours) {
  g->Cls(0, 0, 255);
  g->SetColor(255, 0, 0);
  g->SetAlpha(0.6f);  // source (153, 0, 0, 153); 255 * (255 - 153) / 255 = 102 exactly
  g->DrawRect(10, 10, 20, 20);
  EXPECT_EQ(at(15, 15), (Rgb{153, 0, 102}));
  EXPECT_EQ(at(9, 15), (Rgb{0, 0, 255}));
  g->SetAlpha(0);
  g->DrawRect(10, 10, 20, 20);  // fully transparent leaves the frame alone
  EXPECT_EQ(at(15, 15), (Rgb{153, 0, 102}));
}

TEST_F(RealGl, AdditiveBlendingAddsAndSaturates) {
  g->Cls(100, 50, 0);
  bb_graphics_SetBlend(1);
  bb_graphics_SetColor(100, 100, 100);
  bb_graphics_DrawRect(0, 0, 8, 8);
  EXPECT_EQ(at(4, 4), (Rgb{200, 150, 100}));
  bb_graphics_DrawRect(0, 0, 8, 8);
  EXPECT_EQ(at(4, 4), (Rgb{255, 250, 200}));
}

class GridImage : public RealGl {
 protected:
  // A 32 x 16 sheet of eight 8 x 8 cells, cell i coloured (i * 30, 255 - i * 30, 7 * i);
  // cell 6 is half transparent.
  bb_graphics_Image* sheet(int flags) {
    std::vector<unsigned char> rgba(32 * 16 * 4);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 32; ++x) {
        int i = (y / 8) * 4 + x / 8;
        unsigned char* p = &rgba[(y * 32 + x) * 4];
        p[0] = static_cast<unsigned char>(i * 30);
        p[1] = static_cast<unsigned char>(255 - i * 30);
        p[2] = static_cast<unsigned char>(7 * i);
        p[3] = i == 6 ? 128 : 255;
      }
    write("grid.raw", rgba);
    convert("-size 32x16 -depth 8 rgba:grid.raw PNG32:grid.png");
    return bb_graphics_LoadImage2(String(path("grid.png").c_str()), 8, 8, 8, flags);
  }
  static Rgb cell(int i) { return {i * 30, 255 - i * 30, 7 * i}; }
};

TEST_F(GridImage, FrameLandsWhereItsHandlePutsIt) {
  bb_graphics_Image* image = sheet(bb_graphics_Image::CentreHandleFlag);
  ASSERT_NE(image, nullptr);
  bb_graphics_DrawImage(image, 100, 100, 5);  // handle (4, 4): covers 96..103
  for (int y = 94; y < 106; ++y)
    for (int x = 94; x < 106; ++x) {
      bool inside = x >= 96 && x < 104 && y >= 96 && y < 104;
      ASSERT_EQ(at(x, y), inside ? cell(5) : kBlack) << x << ", " << y;
    }
}

TEST_F(GridImage, ScaledFrameAndPremultipliedTexels) {
  bb_graphics_Image* image = sheet(0);
  ASSERT_NE(image, nullptr);
  bb_graphics_DrawImage2(image, 200, 50, 0, 2, 2, 2);  // 16 x 16 from (200, 50)
  EXPECT_EQ(at(200, 50), cell(2));
  EXPECT_EQ(at(215, 65), cell(2));
  EXPECT_EQ(at(216, 65), kBlack);
  EXPECT_EQ(at(215, 66), kBlack);
  // Half-transparent cell over black shows its premultiplied colour.
  bb_graphics_DrawImage(image, 300, 300, 6);
  EXPECT_EQ(at(303, 303), (Rgb{180 * 128 / 255, 75 * 128 / 255, 42 * 128 / 255}));
}

TEST_F(RealGl, OvalCoversItsBox) {
  g->SetColor(255, 255, 255);
  g->DrawOval(100, 100, 60, 40);
  int left = 640, right = -1, top = 480, bottom = -1;
  Array<int> box(80 * 60);
  g->ReadPixels(box, 90, 90, 80, 60, 0, 80);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x)
      if (box[y * 80 + x] & 0xffffff) {
        left = std::min(left, x + 90);
        right = std::max(right, x + 90);
        top = std::min(top, y + 90);
        bottom = std::max(bottom, y + 90);
      }
  EXPECT_GE(left, 100);
  EXPECT_LE(left, 101);
  EXPECT_LE(right, 159);
  EXPECT_GE(right, 158);
  EXPECT_GE(top, 100);
  EXPECT_LE(top, 101);
  EXPECT_LE(bottom, 139);
  EXPECT_GE(bottom, 138);
  EXPECT_EQ(at(130, 120), (Rgb{255, 255, 255}));
  EXPECT_EQ(at(100, 100), kBlack);  // corners of the box stay outside
  EXPECT_EQ(at(159, 139), kBlack);
}

TEST_F(RealGl, ScissorClipsDrawingAndClearing) {
  bb_graphics_SetScissor(10, 20, 100, 50);
  bb_graphics_SetColor(255, 0, 0);
  bb_graphics_DrawRect(0, 0, 640, 480);
  g->Flush();
  EXPECT_EQ(at(10, 20), (Rgb{255, 0, 0}));
  EXPECT_EQ(at(109, 69), (Rgb{255, 0, 0}));
  EXPECT_EQ(at(9, 20), kBlack);
  EXPECT_EQ(at(10, 19), kBlack);
  EXPECT_EQ(at(110, 69), kBlack);
  EXPECT_EQ(at(109, 70), kBlack);
  g->Cls(0, 255, 0);
  EXPECT_EQ(at(50, 50), (Rgb{0, 255, 0}));
  EXPECT_EQ(at(5, 5), kBlack);
  bb_graphics_SetScissor(0, 0, 640, 480);
  bb_graphics_DrawRect(0, 0, 640, 480);
  EXPECT_EQ(at(5, 5), (Rgb{255, 0, 0}));
}

TEST_F(RealGl, WritePixels2ThenDrawingShowsTheWrittenPixels) {
  gxtkSurface* s = g->CreateSurface(4, 4);
  ASSERT_NE(s, nullptr);
  Array<int> pixels(16);
  for (int i = 0; i < 16; ++i) pixels[i] = static_cast<int>(0xff000000u | (i * 16) << 16 | (255 - i) << 8 | 3);
  pixels[5] = static_cast<int>(0x80c86432u);  // alpha 128: stored premultiplied as (100, 50, 25)
  g->WritePixels2(s, pixels, 0, 0, 4, 4, 0, 4);
  bb_graphics_Image* image = (new bb_graphics_Image())->m_Init(s, 1, 0);
  bb_graphics_DrawImage(image, 200, 200, 0);
  for (int i = 0; i < 16; ++i) {
    Rgb expected = i == 5 ? Rgb{100, 50, 25} : Rgb{i * 16, 255 - i, 3};
    EXPECT_EQ(at(200 + i % 4, 200 + i / 4), expected) << i;
  }
  EXPECT_EQ(at(204, 200), kBlack);
}

// Texturing and the bound texture are switched only when a batch needs it: a
// run of sprites of two solid sheets with untextured shapes between them, and
// uploads binding other textures mid-frame, still draw each sheet's colour.
TEST_F(RealGl, SpritesKeepTheirSheetAcrossTextureAndPrimitiveChanges) {
  auto solid = [this](unsigned argb) {
    gxtkSurface* s = g->CreateSurface(4, 4);
    Array<int> pixels(16);
    for (int i = 0; i < 16; ++i) pixels[i] = static_cast<int>(argb);
    g->WritePixels2(s, pixels, 0, 0, 4, 4, 0, 4);
    return (new bb_graphics_Image())->m_Init(s, 1, 0);
  };
  bb_graphics_Image* red = solid(0xffff0000u);
  bb_graphics_Image* blue = solid(0xff0000ffu);
  bb_graphics_DrawImage(red, 0, 0, 0);
  bb_graphics_DrawImage(red, 4, 0, 0);
  bb_graphics_DrawImage(blue, 8, 0, 0);
  bb_graphics_SetColor(0, 255, 0);
  bb_graphics_DrawRect(12, 0, 4, 4);
  bb_graphics_SetColor(255, 255, 255);
  bb_graphics_DrawImage(blue, 16, 0, 0);
  bb_graphics_Image* grey = solid(0xff808080u);  // its upload binds its texture
  bb_graphics_DrawImage(blue, 20, 0, 0);
  bb_graphics_DrawEllipse(26, 2, 2, 2);
  bb_graphics_DrawImage(red, 28, 0, 0);
  bb_graphics_DrawImage(grey, 32, 0, 0);
  const Rgb want[] = {{255, 0, 0}, {255, 0, 0}, {0, 0, 255},   {0, 255, 0}, {0, 0, 255},
                      {0, 0, 255}, {255, 255, 255}, {255, 0, 0}, {128, 128, 128}};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(at(i * 4 + 2, 2), want[i]) << "sprite " << i;
  // The next frame starts from GL as set afresh, whatever the last one left.
  bb_graphics_EndRender();
  g->EndRender();
  ASSERT_TRUE(g->Validate());
  g->BeginRender();
  bb_graphics_BeginRender();
  g->Cls(0, 0, 0);
  bb_graphics_DrawImage(grey, 0, 0, 0);
  EXPECT_EQ(at(2, 2), (Rgb{128, 128, 128}));
}

TEST_F(RealGl, DecodedPngsOfEveryChannelLayoutDrawTheirPremultipliedTexels) {
  write("c.raw", {200, 100, 50, 128, 7, 8, 9, 0, 16, 32, 48, 255});
  convert("-size 3x1 -depth 8 rgba:c.raw PNG32:rgba.png");
  convert("-size 3x1 -depth 8 rgba:c.raw -alpha off PNG24:rgb.png");
  write("g.raw", {255, 128, 200});
  write("a.raw", {64, 255, 0});
  convert("-size 3x1 -depth 8 gray:g.raw -define png:color-type=0 -define png:bit-depth=8 grey.png");
  convert("-size 3x1 -depth 8 gray:g.raw \\( -size 3x1 -depth 8 gray:a.raw \\) -alpha off "
          "-compose copy_opacity -composite -define png:color-type=4 ga.png");
  write("p.raw", {200, 100, 50, 255, 90, 90, 90, 0, 16, 32, 48, 255});
  convert("-size 3x1 -depth 8 rgba:p.raw PNG8:pal.png");

  struct Case {
    const char* file;
    std::vector<Rgb> pixels;  // drawn over black
  };
  const std::vector<Case> cases = {
      {"rgba.png", {{100, 50, 25}, {0, 0, 0}, {16, 32, 48}}},
      {"rgb.png", {{200, 100, 50}, {7, 8, 9}, {16, 32, 48}}},
      {"grey.png", {{255, 255, 255}, {128, 128, 128}, {200, 200, 200}}},
      {"ga.png", {{64, 64, 64}, {128, 128, 128}, {0, 0, 0}}},
      {"pal.png", {{200, 100, 50}, {0, 0, 0}, {16, 32, 48}}},
  };
  float y = 10;
  for (const Case& c : cases) {
    gxtkSurface* s = g->LoadSurface(String(path(c.file).c_str()));
    ASSERT_NE(s, nullptr) << c.file;
    g->DrawSurface(s, 10, y);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(at(10 + x, static_cast<int>(y)), c.pixels[x]) << c.file << " " << x;
    y += 2;
  }
}

}  // namespace
