// What the renderer fills without blending, over the recording GL: which
// rectangles of a surface are known fully opaque, frames of images drawn with
// blending off only when that changes no pixel, and the rectangle over the
// whole window that becomes a glClear. (The pixels themselves are compared on
// the real Mesa in tests/real/fill_pixels_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
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

// A renderer over the recording GL with the graphics context on it, the
// images `load` makes, and a frame begun: colour white, alpha 1, alpha
// blending.
gxtkGraphics* StartFrame(const std::function<void()>& load) {
  gxtkGraphics* g = new gxtkGraphics();
  EXPECT_TRUE(g->Validate());
  bb_graphics_context = new bb_graphics_GraphicsContext();
  bb_graphics_SetGraphicsDevice(g);
  load();
  g->BeginRender();
  bb_graphics_BeginRender();
  return g;
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
    g = StartFrame([this] {
      strip = (new bb_graphics_Image())->m_Init(Loaded(Rgba(64, 16, {{47, 15}}), 64, 16), 4, 0);
    });
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

// ---------------------------------------------------------------------------
// Large images drawn cell by cell

// A 200 x 150 image like the menu's hills: clear, with an opaque band along
// the bottom, a translucent blob, one opaque texel alone in the clear and a
// translucent one in the top-right corner.
unsigned char* Landscape() {
  const int w = 200, h = 150;
  unsigned char* p = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(w) * h, 4));
  auto put = [&](int x, int y, unsigned char a) {
    unsigned char* t = &p[(static_cast<size_t>(y) * w + x) * 4];
    t[0] = 200;
    t[1] = 120;
    t[2] = 40;
    t[3] = a;
  };
  for (int y = 100; y < h; ++y)
    for (int x = 0; x < w; ++x) put(x, y, 255);
  for (int y = 20; y < 40; ++y)
    for (int x = 150; x < 170; ++x) put(x, y, 128);
  put(60, 30, 255);
  put(199, 0, 90);
  return p;
}

class Cells : public ::testing::Test {
 protected:
  gxtkGraphics* g = nullptr;
  bb_graphics_Image* image = nullptr;

  void SetUp() override {
    fakegl::reset();
    fakewin::reset();
  }
  void TearDown() override { bb_graphics_EndRender(); }

  void Start() {
    g = StartFrame([this] { image = (new bb_graphics_Image())->m_Init(Loaded(Landscape(), 200, 150), 1, 0); });
  }

  const std::vector<fakegl::Draw>& Finish() {
    g->EndRender();
    return fakegl::state().draws;
  }

  struct Fill {
    int drawn = 0;      // pixels drawn (once each)
    int unblended = 0;  // of them, without blending
    int inside = 0;     // pixel centres inside the quad
    int visible = 0;    // of them, inside the clip
  };

  // Checks every window pixel against the texel its centre samples (nearest,
  // from the quad's texture coordinates, in the texture as uploaded): drawn
  // at most once, exactly once where that texel is not clear, unblended only
  // where it is opaque and the colour's alpha is 1, never outside `clip`.
  // All draws must be of the one quad.
  Fill Check(const std::vector<fakegl::Draw>& draws, std::array<int, 4> clip = {0, 0, 640, 480}) {
    Fill fill;
    if (draws.empty()) return fill;
    const std::vector<fakegl::Vertex>& v = draws[0].vertices;
    for (const fakegl::Draw& d : draws) EXPECT_EQ(d.count, 6);
    const fakegl::Texture& tex = fakegl::state().textures.at(draws[0].texture);
    const double x0 = v[0].x, y0 = v[0].y, u0 = v[0].u, vv0 = v[0].v;
    const double x1 = v[1].x, y1 = v[2].y, u1 = v[1].u, vv1 = v[2].v;
    for (int py = 0; py < 480; ++py) {
      for (int px = 0; px < 640; ++px) {
        const double cx = px + 0.5, cy = py + 0.5;
        if (cx < std::min(x0, x1) || cx >= std::max(x0, x1) || cy < std::min(y0, y1) || cy >= std::max(y0, y1))
          continue;
        ++fill.inside;
        int tx = static_cast<int>(std::floor((u0 + (cx - x0) / (x1 - x0) * (u1 - u0)) * tex.width));
        int ty = static_cast<int>(std::floor((vv0 + (cy - y0) / (y1 - y0) * (vv1 - vv0)) * tex.height));
        tx = std::min(std::max(tx, 0), tex.width - 1);
        ty = std::min(std::max(ty, 0), tex.height - 1);
        const std::array<uint8_t, 4> texel = tex.texel(tx, ty);
        const int glRow = 479 - py;
        const fakegl::Draw* by = nullptr;
        int times = 0;
        for (const fakegl::Draw& d : draws) {
          const std::array<GLint, 4>& b = d.scissor_box;
          if (d.scissor && (px < b[0] || px >= b[0] + b[2] || glRow < b[1] || glRow >= b[1] + b[3])) continue;
          by = &d;
          ++times;
        }
        const bool clipped = px < clip[0] || px >= clip[0] + clip[2] || py < clip[1] || py >= clip[1] + clip[3];
        if (clipped) {
          EXPECT_EQ(times, 0) << px << "," << py;
          continue;
        }
        ++fill.visible;
        EXPECT_LE(times, 1) << px << "," << py;
        if (texel[3] != 0) {
          EXPECT_EQ(times, 1) << px << "," << py << " texel " << tx << "," << ty;
        }
        if (!by) continue;
        ++fill.drawn;
        if (by->blended) continue;
        ++fill.unblended;
        EXPECT_EQ(texel[3], 255) << px << "," << py;
        EXPECT_EQ(by->vertices[0].a, 255);
      }
    }
    return fill;
  }
};

TEST_F(Cells, EveryPixelWithAnythingToShowIsDrawnOnceAndOnlyOpaqueOnesUnblended) {
  struct Case {
    const char* what;
    float x, y, sx, sy, alpha;
    int blend;
    bool scissor;
    bool npot;         // the GL refuses odd sizes: the image sits in a larger texture
    bool unblended;    // the opaque band shows, and may cover what is below
  } cases[] = {
      {"scaled 3, past the window's edges", -30, -20, 3, 3, 1, 0, false, false, true},
      {"odd scale and position", 100.3f, 40.7f, 1.37f, 2.2f, 1, 0, false, false, true},
      {"mirrored", 600.5f, 20, -2.5f, 2.5f, 1, 0, false, false, true},
      {"flipped", 10, 470.25f, 2.5f, -2.5f, 1, 0, false, false, true},
      {"under the caller's scissor, above the band", -30, -20, 3, 3, 1, 0, true, false, false},
      {"at half alpha", -30, -20, 3, 3, 0.5f, 0, false, false, false},
      {"added", -30, -20, 3, 3, 1, 1, false, false, false},
      {"in a power-of-two texture", 5, 5, 3, 3, 1, 0, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fakegl::reset();
    fakegl::state().refuse_npot = c.npot;
    Start();
    std::array<int, 4> clip{0, 0, 640, 480};
    if (c.scissor) {
      clip = {50, 60, 400, 200};
      bb_graphics_SetScissor(50, 60, 400, 200);
    }
    bb_graphics_SetAlpha(c.alpha);
    bb_graphics_SetBlend(c.blend);
    bb_graphics_DrawImage2(image, c.x, c.y, 0, c.sx, c.sy, 0);
    Fill fill = Check(Finish(), clip);
    EXPECT_GT(fill.visible, 256 * 256);
    // The clear texels were left out, and where the colour lets opaque
    // texels cover what is below, they were drawn without blending.
    EXPECT_LT(fill.drawn, fill.visible * 3 / 4) << fill.drawn << " of " << fill.visible;
    if (c.unblended)
      EXPECT_GT(fill.unblended, 0);
    else
      EXPECT_EQ(fill.unblended, 0);
    bb_graphics_SetScissor(0, 0, 640, 480);
    bb_graphics_SetBlend(0);
    bb_graphics_SetAlpha(1);
  }
}

TEST_F(Cells, SmallTurnedOrUnknownImagesAndTheReferenceAreDrawnWhole) {
  Start();
  bb_graphics_DrawImage2(image, 10, 10, 0, 1, 1, 0);    // 200 x 150: small
  bb_graphics_DrawImage2(image, 300, 0, 10, 3, 3, 0);   // turned
  g->SetFillShortcuts(false);                           // the blended reference
  bb_graphics_DrawImage2(image, -30, -20, 0, 3, 3, 0);
  g->SetFillShortcuts(true);
  Array<int> pixel(1);
  pixel[0] = 0x40102030;
  g->WritePixels2(image->m_surface, pixel, 0, 0, 1, 1, 0, 1);  // nothing known any more
  bb_graphics_DrawImage2(image, -30, -20, 0, 3, 3, 0);
  const std::vector<fakegl::Draw>& draws = Finish();
  int quads = 0;
  for (const fakegl::Draw& d : draws) {
    EXPECT_FALSE(d.scissor);
    EXPECT_TRUE(d.blended);
    quads += d.quads();
  }
  EXPECT_EQ(quads, 4);
}

TEST_F(Cells, FarOffCornersAreJudgedWithoutOverflow) {
  // Corners far outside the window, texel spans far outside the texture.
  Start();
  bb_graphics_DrawImage2(image, -1.0e7f, -1.0e7f, 0, 1.0e5f, 1.0e5f, 0);
  bb_graphics_DrawImage2(image, 3.0e9f, 100, 0, -3.0e7f, 3, 0);
  g->SetScissor(10, 10, 2147483647, 2147483647);  // its far edges past the int range
  bb_graphics_DrawImage2(image, -30, -20, 0, 3, 3, 0);
  const std::vector<fakegl::Draw>& draws = Finish();
  ASSERT_FALSE(draws.empty());
  Fill fill = Check({draws[0]});
  EXPECT_EQ(fill.inside, 640 * 480);
}

TEST_F(Cells, TheCallersScissorIsInForceAgainAfterwards) {
  Start();
  bb_graphics_DrawImage2(image, -30, -20, 0, 3, 3, 0);
  bb_graphics_DrawRect(1, 2, 3, 4);
  bb_graphics_SetScissor(50, 60, 400, 200);
  bb_graphics_DrawImage2(image, -30, -20, 0, 3, 3, 0);
  bb_graphics_DrawRect(1, 2, 3, 4);
  const std::vector<fakegl::Draw>& draws = Finish();
  std::vector<const fakegl::Draw*> rects;
  for (const fakegl::Draw& d : draws)
    if (!d.textured) rects.push_back(&d);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_FALSE(rects[0]->scissor);
  EXPECT_TRUE(rects[1]->scissor);
  EXPECT_EQ(rects[1]->scissor_box, (std::array<GLint, 4>{50, 220, 400, 200}));
  EXPECT_GT(draws.size(), 4u);  // both images went by cells
}

}  // namespace

// ---------------------------------------------------------------------------
// The game's own art

namespace {

// Pixels drawn with blending by textured draws: each quad's box within its
// scissor box (or the window).
long BlendedTexturedPixels(const std::vector<fakegl::Draw>& draws) {
  long pixels = 0;
  for (const fakegl::Draw& d : draws) {
    if (!d.textured || !d.blended) continue;
    for (size_t q = 0; q + 6 <= d.vertices.size(); q += 6) {
      float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
      for (size_t i = q; i < q + 6; ++i) {
        left = std::min(left, d.vertices[i].x);
        right = std::max(right, d.vertices[i].x);
        top = std::min(top, d.vertices[i].y);
        bottom = std::max(bottom, d.vertices[i].y);
      }
      std::array<float, 4> box{0, 0, 640, 480};  // left, top, right, bottom
      if (d.scissor) {
        const std::array<GLint, 4>& b = d.scissor_box;
        box = {static_cast<float>(b[0]), static_cast<float>(480 - b[1] - b[3]), static_cast<float>(b[0] + b[2]),
               static_cast<float>(480 - b[1])};
      }
      const float w = std::min(right, box[2]) - std::max(left, box[0]);
      const float h = std::min(bottom, box[3]) - std::max(top, box[1]);
      if (w > 0 && h > 0) pixels += static_cast<long>(w * h);
    }
  }
  return pixels;
}

}  // namespace

// The menu is the screen that fills most: its backdrop, opaque art covering
// the window, is drawn without blending, the clear is a glClear, and its
// screen-sized hills and characters, mostly clear, are drawn cell by cell.
TEST(GameFill, TheMenuClearsDrawsItsBackdropUnblendedAndLeavesOutTheClearCells) {
  gameharness::Game game;
  game.FinishLoading();
  game.Update(120);  // the slide-in is over
  bb_graphics_device->SetFillShortcuts(false);
  game.Render();
  const long blendedBefore = BlendedTexturedPixels(game.draws());
  bb_graphics_device->SetFillShortcuts(true);
  game.Render();
  std::vector<gameharness::Shape> shapes = game.Shapes();
  ASSERT_GE(shapes.size(), 2u);
  EXPECT_TRUE(shapes[0].cleared);
  const fakegl::Draw& first = game.draws().at(0);
  EXPECT_FALSE(first.blended);
  EXPECT_TRUE(first.textured);
  EXPECT_FALSE(first.scissor);
  // It covers the window.
  gameharness::Shape backdrop = shapes[1];
  EXPECT_LE(backdrop.left, 0);
  EXPECT_LE(backdrop.top, 0);
  EXPECT_GE(backdrop.right, 640);
  EXPECT_GE(backdrop.bottom, 480);
  // The hills' band is drawn unblended in cells of its own; of the rest,
  // less than half as much is blended as when everything blends.
  int unblendedCells = 0;
  for (size_t i = 1; i < game.draws().size(); ++i)
    unblendedCells += game.draws()[i].scissor && !game.draws()[i].blended;
  EXPECT_GT(unblendedCells, 0);
  const long blendedAfter = BlendedTexturedPixels(game.draws());
  EXPECT_LT(blendedAfter * 2, blendedBefore) << blendedAfter << " of " << blendedBefore;
}
