// What the renderer fills without blending, over the recording GL: which
// rectangles of a surface are known fully opaque, frames of images drawn with
// blending off only when that changes no pixel, and the rectangle over the
// whole window that becomes a glClear. (The pixels themselves are compared on
// the real Mesa in tests/real/fill_pixels_test.cpp.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fake_gl.h"
#include "fake_window.h"
#include "game/vaultwick.h"
#include "game_harness.h"
#include "graphics/context.h"

namespace {

// A decoded RGBA image of w x h texels, all opaque white but for the
// texels listed, which get alpha 254; in stb_image's own allocation.
unsigned char* Rgba(int w, int h, const std::vector<std::pair<int, int>>& translucent = {}) {
  size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
  unsigned char* p = static_cast<unsigned char*>(std::malloc(bytes));
  std::memset(p, 255, bytes);
  for (const auto& t : translucent) p[(static_cast<size_t>(t.second) * w + t.first) * 4 + 3] = 254;
  return p;
}

gxtkSurface* Loaded(unsigned char* pixels, int w, int h, int depth = 4) {
  gxtkSurface* s = new gxtkSurface(pixels, w, h, depth);
  EXPECT_TRUE(s->OnUnsafeLoadComplete());
  return s;
}

// ---------------------------------------------------------------------------
// Which rectangles are opaque

TEST(SurfaceOpacity, RectanglesAreJudgedTexelByTexelAcrossWordEdges) {
  fakegl::reset();
  // 130 texels across: rows span three 64-bit words. One translucent texel
  // at (64, 5), the first of the second word, and one at (129, 9), the last.
  gxtkSurface* s = Loaded(Rgba(130, 12, {{64, 5}, {129, 9}}), 130, 12);
  struct Case {
    int x, y, w, h;
    bool opaque;
  } cases[] = {
      {0, 0, 64, 12, true},     // the first word, every row
      {0, 0, 65, 12, false},    // one column into the second word, over (64, 5)
      {0, 0, 65, 5, true},      // the same columns above that row
      {65, 0, 64, 12, true},    // (65..128) clears both
      {63, 5, 2, 1, false},     // across the word edge, on the texel
      {100, 0, 30, 9, true},    // up to the last column, above (129, 9)
      {100, 0, 30, 10, false},  // down to it
      {0, 0, 130, 12, false},   // the whole surface
      {120, 0, 11, 1, false},   // runs past the right edge
      {-1, 0, 4, 4, false},     // starts before the left edge
      {0, 10, 4, 3, false},     // runs past the bottom
      {0, 0, 0, 4, false},      // empty
  };
  for (const Case& c : cases)
    EXPECT_EQ(s->Opaque(c.x, c.y, c.w, c.h), c.opaque) << c.x << "," << c.y << " " << c.w << "x" << c.h;
}

TEST(SurfaceOpacity, DepthsWithoutAlphaAreOpaqueAndCreatedOrWrittenSurfacesAreNot) {
  fakegl::reset();
  unsigned char* rgb = static_cast<unsigned char*>(std::malloc(4 * 4 * 3));
  std::memset(rgb, 7, 4 * 4 * 3);
  EXPECT_TRUE(Loaded(rgb, 4, 4, 3)->Opaque(0, 0, 4, 4));
  unsigned char* grey = static_cast<unsigned char*>(std::malloc(4));
  std::memset(grey, 0, 4);
  EXPECT_TRUE(Loaded(grey, 2, 2, 1)->Opaque(0, 0, 2, 2));

  gxtkGraphics* g = new gxtkGraphics();
  EXPECT_FALSE(g->CreateSurface(8, 8)->Opaque(0, 0, 8, 8));  // its texels are anything

  gxtkSurface* s = Loaded(Rgba(8, 8), 8, 8);
  unsigned version = s->opacityVersion;
  ASSERT_TRUE(s->Opaque(0, 0, 8, 8));
  Array<int> pixel(1);
  pixel[0] = static_cast<int>(0x80ffffffu);  // half alpha
  g->WritePixels2(s, pixel, 2, 2, 1, 1, 0, 1);
  EXPECT_FALSE(s->Opaque(0, 0, 8, 8));
  EXPECT_NE(s->opacityVersion, version);  // whoever judged a frame judges again
}

// ---------------------------------------------------------------------------
// Drawing frames with blending off

class OpaqueFrames : public ::testing::Test {
 protected:
  gxtkGraphics* g = nullptr;
  // A strip of four 16 x 16 frames; frame 2 has one translucent texel, in
  // its bottom-right corner.
  bb_graphics_Image* strip = nullptr;

  void SetUp() override {
    fakegl::reset();
    fakewin::reset();
    g = new gxtkGraphics();
    ASSERT_TRUE(g->Validate());
    bb_graphics_context = new bb_graphics_GraphicsContext();
    bb_graphics_SetGraphicsDevice(g);
    gxtkSurface* s = Loaded(Rgba(64, 16, {{47, 15}}), 64, 16);
    strip = (new bb_graphics_Image())->m_Init(s, 4, 0);
    g->BeginRender();
    bb_graphics_BeginRender();  // colour white, alpha 1, alpha blending
  }
  void TearDown() override { bb_graphics_EndRender(); }

  // Whether each draw so far blended, after the frame is finished.
  std::vector<bool> Blended() {
    g->EndRender();
    std::vector<bool> out;
    for (const fakegl::Draw& d : fakegl::state().draws) out.push_back(d.blended);
    return out;
  }
  using B = std::vector<bool>;
};

TEST_F(OpaqueFrames, AFrameWithOneTranslucentTexelIsNeverDrawnWithoutBlending) {
  // However it is drawn: plain, moved by the matrix, turned and scaled.
  bb_graphics_DrawImage(strip, 0, 0, 2);
  bb_graphics_Translate(5, 5);
  bb_graphics_DrawImage(strip, 0, 0, 2);
  bb_graphics_DrawImage2(strip, 40, 40, 30, 2, 2, 2);
  bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  bb_graphics_DrawImage(strip, 0, 0, 2);
  bb_graphics_DrawImage(strip, 0, 0, 2);  // judged once, still blended
  EXPECT_EQ(Blended(), B({true}));  // one batch: the same texture, all blended
  EXPECT_EQ(fakegl::state().draws[0].quads(), 5);
}

TEST_F(OpaqueFrames, OpaqueFramesAtAlphaOneAreDrawnWithoutBlendingInABatchOfTheirOwn) {
  bb_graphics_DrawImage(strip, 0, 0, 0);
  bb_graphics_DrawImage2(strip, 20, 0, 45, 1.5f, 1.5f, 1);  // turned and scaled: still opaque
  bb_graphics_DrawImage(strip, 40, 0, 2);                   // translucent: a new batch
  bb_graphics_DrawImage(strip, 60, 0, 3);                   // opaque again: another
  EXPECT_EQ(Blended(), B({false, true, false}));
  EXPECT_EQ(fakegl::state().draws[0].quads(), 2);
  // The frame leaves blending on for whoever draws next.
  EXPECT_TRUE(fakegl::state().enabled.count(GL_BLEND));
}

TEST_F(OpaqueFrames, BelowAlphaOneOrBlendedAdditivelyOpaqueFramesStillBlend) {
  bb_graphics_SetAlpha(0.999f);
  bb_graphics_DrawImage(strip, 0, 0, 0);
  bb_graphics_SetAlpha(1);
  bb_graphics_SetBlend(1);
  bb_graphics_DrawImage(strip, 0, 0, 0);
  bb_graphics_SetBlend(0);
  bb_graphics_DrawImage(strip, 0, 0, 0);
  // A colour other than white keeps the texels opaque.
  bb_graphics_SetColor(255, 0, 0);
  bb_graphics_DrawImage(strip, 0, 0, 1);
  EXPECT_EQ(Blended(), B({true, true, false}));
  EXPECT_EQ(fakegl::state().draws[2].quads(), 2);
}

TEST_F(OpaqueFrames, AFrameIsJudgedAgainWhenItsTexelsAreWritten) {
  bb_graphics_DrawImage(strip, 0, 0, 0);
  Array<int> pixel(1);
  pixel[0] = 0x10ffffff;  // nearly transparent, into frame 0
  g->WritePixels2(strip->m_surface, pixel, 3, 3, 1, 1, 0, 1);
  bb_graphics_DrawImage(strip, 0, 0, 0);
  EXPECT_EQ(Blended(), B({false, true}));
}

TEST_F(OpaqueFrames, SurfacesDrawnWithoutAFrameAreBlended) {
  // The renderer's own calls know nothing of the texels.
  g->DrawSurface(strip->m_surface, 0, 0);
  g->DrawSurface2(strip->m_surface, 0, 0, 0, 0, 16, 16);
  EXPECT_EQ(Blended(), B({true}));
}

// ---------------------------------------------------------------------------
// The rectangle over the whole window

class WindowClear : public ::testing::Test {
 protected:
  gxtkGraphics* g = nullptr;

  void SetUp() override {
    fakegl::reset();
    fakewin::reset();
    g = new gxtkGraphics();
    ASSERT_TRUE(g->Validate());
    g->BeginRender();
    g->SetBlend(0);
    g->SetColor(40, 60, 80);
    g->SetAlpha(1);
  }
  const std::vector<fakegl::Clear>& clears() { return fakegl::state().clears_made; }
  // Quads drawn once the frame is finished.
  int Quads() {
    g->EndRender();
    int n = 0;
    for (const fakegl::Draw& d : fakegl::state().draws) n += d.quads();
    return n;
  }
};

TEST_F(WindowClear, AnOpaqueRectangleOverTheWholeWindowIsAClearOfItsColour) {
  g->DrawRect(-1, -1, 642, 482);
  ASSERT_EQ(clears().size(), 1u);
  // The bytes the blended rectangle would have written: colour, alpha 255.
  const std::array<float, 4>& c = clears()[0].color;
  EXPECT_FLOAT_EQ(c[0] * 255, 40);
  EXPECT_FLOAT_EQ(c[1] * 255, 60);
  EXPECT_FLOAT_EQ(c[2] * 255, 80);
  EXPECT_FLOAT_EQ(c[3], 1);
  EXPECT_EQ(Quads(), 0);
}

TEST_F(WindowClear, WhatIsQueuedBeforeTheClearIsCoveredAndDropped) {
  g->DrawRect(10, 10, 5, 5);
  g->DrawRect(0, 0, 640, 480);  // exactly the window
  g->DrawRect(20, 20, 5, 5);
  EXPECT_EQ(clears().size(), 1u);
  EXPECT_EQ(Quads(), 1);
}

TEST_F(WindowClear, ScaledToCoverItClearsToo) {
  g->SetMatrix(2, 0, 0, 2, -10, -10);
  g->DrawRect(0, 0, 330, 250);
  EXPECT_EQ(clears().size(), 1u);
}

TEST_F(WindowClear, EverythingElseIsDrawn) {
  g->DrawRect(0, 0, 639, 480);  // a column short
  g->DrawRect(0, 1, 640, 480);  // a row short
  g->SetAlpha(0.5f);            // the design's trails: blends over the last frame
  g->DrawRect(-1, -1, 642, 482);
  g->SetAlpha(1);
  g->SetBlend(1);  // additive: adds to what is there
  g->DrawRect(-1, -1, 642, 482);
  g->SetBlend(0);
  g->SetMatrix(0.99f, 0.1f, -0.1f, 0.99f, 0, 0);  // turned
  g->DrawRect(-100, -100, 900, 700);
  g->SetMatrix(1, 0, 0, 1, 0, 0);
  g->DrawRect(-1, -1, 642, std::nanf(""));
  EXPECT_EQ(clears().size(), 0u);
  EXPECT_EQ(Quads(), 6);
}

TEST_F(WindowClear, TheScissorLimitsTheClearAsItLimitsDrawing) {
  g->SetScissor(10, 20, 100, 50);
  g->DrawRect(-1, -1, 642, 482);
  ASSERT_EQ(clears().size(), 1u);
  EXPECT_TRUE(clears()[0].scissor);
  EXPECT_EQ(clears()[0].scissor_box, (std::array<GLint, 4>{10, 410, 100, 50}));
}

}  // namespace

// ---------------------------------------------------------------------------
// The game's own art

// The menu is the screen that fills most: its backdrop, opaque art covering
// the window, is drawn without blending, and the clear is a glClear.
TEST(GameFill, TheMenuClearsWithGlClearAndDrawsItsBackdropWithoutBlending) {
  gameharness::Game game;
  game.FinishLoading();
  game.Update(120);  // the slide-in is over
  game.Render();
  std::vector<gameharness::Shape> shapes = game.Shapes();
  ASSERT_GE(shapes.size(), 2u);
  EXPECT_TRUE(shapes[0].cleared);
  const fakegl::Draw& first = game.draws().at(0);
  EXPECT_FALSE(first.blended);
  EXPECT_TRUE(first.textured);
  // It covers the window.
  gameharness::Shape backdrop = shapes[1];
  EXPECT_LE(backdrop.left, 0);
  EXPECT_LE(backdrop.top, 0);
  EXPECT_GE(backdrop.right, 640);
  EXPECT_GE(backdrop.bottom, 480);
  // Everything after it blends.
  for (size_t i = 1; i < game.draws().size(); ++i) EXPECT_TRUE(game.draws()[i].blended) << "draw " << i;
}
