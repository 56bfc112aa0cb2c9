// The renderer over the recording GL: batch admission and flushing, vertex
// contents, ovals and polygons, scissor, blend, the frame bracket and pixel
// transfers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fake_gl.h"
#include "fake_window.h"
#include "graphics/graphics.h"
#include "graphics/surface.h"

namespace {

class Renderer : public ::testing::Test {
 protected:
  gxtkGraphics* g = nullptr;

  void SetUp() override {
    fakegl::reset();
    fakewin::reset();
    fakewin::state().width = 640;
    fakewin::state().height = 480;
    g = new gxtkGraphics();
    ASSERT_TRUE(g->Validate());
    g->BeginRender();
    g->SetColor(255, 255, 255);
    g->SetAlpha(1);
  }

  std::vector<fakegl::Draw>& draws() { return fakegl::state().draws; }

  Array<float> floats(std::vector<float> values) {
    Array<float> a(static_cast<int>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) a[static_cast<int>(i)] = values[i];
    return a;
  }

  // Segments used for an oval in the given box.
  int oval_segments(float w, float h) {
    size_t before = draws().size();
    g->DrawOval(10, 10, w, h);
    EXPECT_EQ(draws().size(), before + 1);
    EXPECT_EQ(draws().back().mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    return draws().back().count;
  }
};

// ---------------------------------------------------------------------------
// Batching

TEST_F(Renderer, ThreeHundredRectanglesMakeTwoDrawCallsOf256And44Quads) {
  for (int i = 0; i < 300; ++i) g->DrawRect(static_cast<float>(i), 0, 1, 1);
  ASSERT_EQ(draws().size(), 1u);  // the 257th rectangle pushed out a full batch
  g->EndRender();
  ASSERT_EQ(draws().size(), 2u);
  EXPECT_EQ(draws()[0].quads(), 256);
  EXPECT_EQ(draws()[1].quads(), 44);
  EXPECT_FLOAT_EQ(draws()[1].vertices[0].x, 256);  // the second batch starts with rectangle 256
  EXPECT_EQ(fakewin::state().swaps, 1);
}

TEST_F(Renderer, EachChangeOfTextureStartsABatch) {
  gxtkSurface* a = g->CreateSurface(8, 8);
  gxtkSurface* b = g->CreateSurface(8, 8);
  g->DrawSurface(a, 0, 0);
  g->DrawSurface(a, 8, 0);
  g->DrawSurface(b, 0, 0);
  g->DrawSurface(a, 0, 0);
  g->Flush();
  ASSERT_EQ(draws().size(), 3u);
  EXPECT_EQ(draws()[0].texture, a->texture);
  EXPECT_EQ(draws()[0].quads(), 2);
  EXPECT_EQ(draws()[1].texture, b->texture);
  EXPECT_EQ(draws()[2].texture, a->texture);
  for (const fakegl::Draw& d : draws()) EXPECT_TRUE(d.textured);
  EXPECT_EQ(fakegl::state().enabled.count(GL_TEXTURE_2D), 0u);  // texturing is off between batches
}

TEST_F(Renderer, RectangleAfterSurfaceFlushesAndDrawsUntextured) {
  gxtkSurface* a = g->CreateSurface(8, 8);
  g->DrawSurface(a, 0, 0);
  g->DrawRect(0, 0, 4, 4);
  EXPECT_EQ(draws().size(), 1u);
  g->Flush();
  ASSERT_EQ(draws().size(), 2u);
  EXPECT_TRUE(draws()[0].textured);
  EXPECT_FALSE(draws()[1].textured);
}

TEST_F(Renderer, ColourAndMatrixChangesNeverFlushAndQueuedVerticesKeepTheirs) {
  g->SetColor(255, 0, 0);
  g->DrawRect(0, 0, 1, 1);
  g->SetColor(0, 0, 255);
  g->SetAlpha(0.5f);
  g->SetMatrix(1, 0, 0, 1, 100, 0);
  g->DrawRect(0, 0, 1, 1);
  EXPECT_TRUE(draws().empty());
  g->Flush();
  ASSERT_EQ(draws().size(), 1u);
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  EXPECT_EQ(v[0].r, 255);
  EXPECT_EQ(v[0].b, 0);
  EXPECT_FLOAT_EQ(v[0].x, 0);
  EXPECT_EQ(v[6].r, 0);
  EXPECT_EQ(v[6].b, 127);  // premultiplied by alpha 0.5
  EXPECT_EQ(v[6].a, 127);
  EXPECT_FLOAT_EQ(v[6].x, 100);
}

TEST_F(Renderer, ClsDiscardsTheQueueAndClearsWithTheColour) {
  g->DrawRect(0, 0, 10, 10);
  g->Cls(255, 51, 0);
  g->EndRender();
  EXPECT_TRUE(draws().empty());
  EXPECT_EQ(fakegl::state().clears, 1);
  EXPECT_FLOAT_EQ(fakegl::state().clear_color[0], 1.0f);
  EXPECT_FLOAT_EQ(fakegl::state().clear_color[1], 0.2f);
  EXPECT_FLOAT_EQ(fakegl::state().clear_color[2], 0.0f);
  EXPECT_FLOAT_EQ(fakegl::state().clear_color[3], 1.0f);
}

TEST_F(Renderer, PointsAndLinesBatchUpToTheirCapacityAndKindChangesFlush) {
  for (int i = 0; i < 1025; ++i) g->DrawPoint(static_cast<float>(i), 1);
  g->DrawLine(0, 0, 5, 6);
  g->DrawLine(1, 1, 2, 2);
  g->Flush();
  ASSERT_EQ(draws().size(), 3u);
  EXPECT_EQ(draws()[0].mode, static_cast<GLenum>(GL_POINTS));
  EXPECT_EQ(draws()[0].count, 1024);
  EXPECT_EQ(draws()[1].count, 1);
  EXPECT_FLOAT_EQ(draws()[1].vertices[0].x, 1024);
  EXPECT_EQ(draws()[2].mode, static_cast<GLenum>(GL_LINES));
  EXPECT_EQ(draws()[2].count, 4);
  EXPECT_FLOAT_EQ(draws()[2].vertices[1].x, 5);
  EXPECT_FLOAT_EQ(draws()[2].vertices[1].y, 6);
}

TEST_F(Renderer, QuadCornersGoClockwiseFromTopLeftWithTextureCoordinates) {
  gxtkSurface* s = g->CreateSurface(64, 32);
  g->DrawSurface2(s, 10, 20, 16, 8, 4, 2);
  g->DrawRect(0, 0, 1, 1);  // forces the textured batch out
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  ASSERT_EQ(v.size(), 6u);
  // Resolved indices k, k+1, k+2, k, k+2, k+3.
  EXPECT_FLOAT_EQ(v[0].x, 10);
  EXPECT_FLOAT_EQ(v[0].y, 20);
  EXPECT_FLOAT_EQ(v[1].x, 14);
  EXPECT_FLOAT_EQ(v[1].y, 20);
  EXPECT_FLOAT_EQ(v[2].x, 14);
  EXPECT_FLOAT_EQ(v[2].y, 22);
  EXPECT_FLOAT_EQ(v[5].x, 10);
  EXPECT_FLOAT_EQ(v[5].y, 22);
  EXPECT_FLOAT_EQ(v[0].u, 16.0f / 64);
  EXPECT_FLOAT_EQ(v[0].v, 8.0f / 32);
  EXPECT_FLOAT_EQ(v[2].u, 20.0f / 64);
  EXPECT_FLOAT_EQ(v[2].v, 10.0f / 32);
}

TEST_F(Renderer, MatrixTransformsEveryVertex) {
  g->SetMatrix(0, 1, -1, 0, 100, 50);  // quarter turn then offset
  g->DrawPoint(10, 2);
  g->Flush();
  EXPECT_FLOAT_EQ(draws()[0].vertices[0].x, 0 * 10 + -1 * 2 + 100);
  EXPECT_FLOAT_EQ(draws()[0].vertices[0].y, 1 * 10 + 0 * 2 + 50);
}

TEST_F(Renderer, TexturedQuadsUnderAMatrixJoinTheBatchOfPlainOnes) {
  gxtkSurface* s = g->CreateSurface(64, 64);
  g->DrawSurface2(s, 10, 20, 0, 0, 8, 4);
  g->SetMatrix(0, 2, -2, 0, 100, 50);  // quarter turn, doubled, then offset
  g->DrawSurface2(s, 10, 20, 8, 0, 8, 4);
  g->SetMatrix(1, 0, 0, 1, 0, 0);
  g->DrawSurface(s, 1, 2);
  g->Flush();
  ASSERT_EQ(draws().size(), 1u);
  ASSERT_EQ(draws()[0].quads(), 3);
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  struct Corner {
    float x, y, u, v;
  };
  // Second quad, resolved order k, k+1, k+2, k, k+2, k+3: top left, top right,
  // bottom right, then bottom left; each (x, y) -> (-2y + 100, 2x + 50).
  const Corner want[] = {{-40 + 100, 20 + 50, 8.0f / 64, 0},
                         {-40 + 100, 36 + 50, 16.0f / 64, 0},
                         {-48 + 100, 36 + 50, 16.0f / 64, 4.0f / 64},
                         {-48 + 100, 20 + 50, 8.0f / 64, 4.0f / 64}};
  const int order[] = {6, 7, 8, 11};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(v[order[i]].x, want[i].x) << "corner " << i;
    EXPECT_FLOAT_EQ(v[order[i]].y, want[i].y) << "corner " << i;
    EXPECT_FLOAT_EQ(v[order[i]].u, want[i].u) << "corner " << i;
    EXPECT_FLOAT_EQ(v[order[i]].v, want[i].v) << "corner " << i;
  }
  EXPECT_FLOAT_EQ(v[12].x, 1);  // the identity again: the third quad is untransformed
  EXPECT_FLOAT_EQ(v[14].x, 65);
  EXPECT_FLOAT_EQ(v[14].u, 1);
}

TEST_F(Renderer, ColourPackingPremultipliesAndTruncates) {
  g->SetColor(200, 100, 50);
  g->SetAlpha(0.5f);
  EXPECT_EQ(g->packedColor, 127u << 24 | 25u << 16 | 50u << 8 | 100u);
  g->SetAlpha(1);
  EXPECT_EQ(g->packedColor, 255u << 24 | 50u << 16 | 100u << 8 | 200u);
}

// Setting what is already set changes nothing, whatever came between.
TEST_F(Renderer, SettingTheSameColourAgainKeepsItsPacking) {
  g->SetColor(200, 100, 50);
  g->SetAlpha(0.5f);
  const unsigned int half = g->packedColor;
  g->SetAlpha(0.5f);
  g->SetColor(200, 100, 50);
  EXPECT_EQ(g->packedColor, half);
  g->SetAlpha(std::nanf(""));
  EXPECT_EQ(g->packedColor, 0u);
  g->SetAlpha(std::nanf(""));
  g->SetColor(200, 100, 50);
  EXPECT_EQ(g->packedColor, 0u);
  g->SetAlpha(0.5f);
  EXPECT_EQ(g->packedColor, half);
}

// Faded shapes compute their alpha and can overshoot either end; packing
// clamps it (and the colour) instead of wrapping into another colour.
TEST_F(Renderer, ColourPackingClampsAlphaAndColourToTheirRanges) {
  struct Case {
    float r, g, b, a;
    unsigned int packed;
  };
  const Case cases[] = {
      {200, 100, 50, -0.25f, 0u},
      {200, 100, 50, -3000.0f, 0u},
      {200, 100, 50, 1.5f, 255u << 24 | 50u << 16 | 100u << 8 | 200u},
      {300, -20, 255, 1, 255u << 24 | 255u << 16 | 0u << 8 | 255u},
      {200, 100, 50, std::nanf(""), 0u},
  };
  for (const Case& c : cases) {
    g->SetColor(c.r, c.g, c.b);
    g->SetAlpha(c.a);
    EXPECT_EQ(g->packedColor, c.packed) << c.r << " " << c.g << " " << c.b << " " << c.a;
  }
}

// ---------------------------------------------------------------------------
// GL state between batches: texturing and the bound texture change only when
// a batch needs another, and nothing remembered outlives the frame.

class RendererState : public Renderer {
 protected:
  int calls(const char* name) { return fakegl::count(name); }
};

TEST_F(RendererState, RunsOfOneTextureEnableAndBindOnce) {
  gxtkSurface* a = g->CreateSurface(8, 8);
  int binds = calls("glBindTexture"), enables = calls("glEnable"), disables = calls("glDisable");
  for (int i = 0; i < 600; ++i) g->DrawSurface(a, static_cast<float>(i), 0);
  g->Flush();
  ASSERT_EQ(draws().size(), 3u);  // 256 + 256 + 88
  for (const fakegl::Draw& d : draws()) {
    EXPECT_TRUE(d.textured);
    EXPECT_EQ(d.texture, a->texture);
  }
  EXPECT_EQ(calls("glBindTexture") - binds, 0);  // creating it bound it already
  EXPECT_EQ(calls("glEnable") - enables, 1);
  EXPECT_EQ(calls("glDisable") - disables, 1);  // by the Flush, for whoever draws next
}

TEST_F(RendererState, ATextureChangeBetweenTwoSpritesStillBinds) {
  gxtkSurface* a = g->CreateSurface(8, 8);
  gxtkSurface* b = g->CreateSurface(8, 8);
  int binds = calls("glBindTexture");
  const gxtkSurface* order[] = {a, b, b, a, b};
  for (const gxtkSurface* s : order) g->DrawSurface(const_cast<gxtkSurface*>(s), 0, 0);
  g->Flush();
  ASSERT_EQ(draws().size(), 4u);
  EXPECT_EQ(draws()[0].texture, a->texture);
  EXPECT_EQ(draws()[1].texture, b->texture);
  EXPECT_EQ(draws()[1].quads(), 2);
  EXPECT_EQ(draws()[2].texture, a->texture);
  EXPECT_EQ(draws()[3].texture, b->texture);
  EXPECT_EQ(calls("glBindTexture") - binds, 4);  // b was bound last by its creation
}

TEST_F(RendererState, TexturingGoesOffForUntexturedPrimitivesAndBackOnAfter) {
  gxtkSurface* a = g->CreateSurface(8, 8);
  g->DrawSurface(a, 0, 0);
  g->DrawRect(0, 0, 4, 4);
  g->DrawSurface(a, 0, 0);
  g->DrawOval(0, 0, 20, 20);
  g->DrawSurface(a, 0, 0);
  g->DrawLine(0, 0, 5, 5);
  g->DrawSurface(a, 0, 0);
  g->Flush();
  ASSERT_EQ(draws().size(), 7u);
  for (size_t i = 0; i < draws().size(); ++i) {
    bool sprite = i % 2 == 0;
    EXPECT_EQ(draws()[i].textured, sprite) << "draw " << i;
    if (sprite) {
      EXPECT_EQ(draws()[i].texture, a->texture) << "draw " << i;
    }
  }
  EXPECT_EQ(fakegl::state().enabled.count(GL_TEXTURE_2D), 0u);
}

TEST_F(RendererState, BeginRenderTrustsNothingFromTheFrameBefore) {
  gxtkSurface* a = g->CreateSurface(8, 8);
  g->DrawSurface(a, 0, 0);
  g->EndRender();
  // A new context, or another drawer, changed GL between the frames.
  fakegl::state().bound_texture = 0;
  fakegl::state().enabled.clear();
  g->Validate();
  g->BeginRender();
  g->DrawSurface(a, 0, 0);
  g->Flush();
  ASSERT_EQ(draws().size(), 2u);
  EXPECT_TRUE(draws()[1].textured);
  EXPECT_EQ(draws()[1].texture, a->texture);
}

TEST_F(RendererState, TexturesBoundBehindTheBatchAreBoundAgain) {
  gxtkSurface* a = g->CreateSurface(8, 8);
  gxtkSurface* b = g->CreateSurface(8, 8);
  g->DrawSurface(a, 0, 0);
  g->DrawRect(0, 0, 1, 1);     // draws a's batch: a is bound
  g->CreateSurface(4, 4);      // creating a texture binds it
  g->DrawSurface(a, 0, 0);
  g->WritePixels2(b, Array<int>(4), 0, 0, 2, 2, 0, 2);  // flushes, then binds b to upload
  g->DrawSurface(a, 0, 0);
  g->Flush();
  ASSERT_EQ(draws().size(), 4u);
  EXPECT_EQ(draws()[2].texture, a->texture);
  EXPECT_EQ(draws()[3].texture, a->texture);
}

// ---------------------------------------------------------------------------
// Ovals and polygons

TEST_F(Renderer, OvalSegmentsFollowTheRadii) {
  EXPECT_EQ(oval_segments(2, 2), 12);
  EXPECT_EQ(oval_segments(100, 100), 100);
  EXPECT_EQ(oval_segments(3000, 3000), 1024);
  EXPECT_EQ(oval_segments(30, 20), 24);      // 25 rounded down to a multiple of 4
  EXPECT_EQ(oval_segments(1023, 1023), 1020);
  EXPECT_EQ(oval_segments(20, 0), 12);       // 10 is raised to the floor
  EXPECT_EQ(oval_segments(26, 0), 12);       // 13 rounds down
  EXPECT_EQ(oval_segments(-100, -100), 100); // radii count by size, not sign
  g->SetMatrix(2, 0, 0, 2, 0, 0);
  EXPECT_EQ(oval_segments(30, 20), 48);      // radii 30 and 20 after scaling
  g->SetMatrix(0, 3, -3, 0, 0, 0);           // rotation keeps lengths
  EXPECT_EQ(oval_segments(30, 20), 72);
}

TEST_F(Renderer, OvalStartsAtTheRightAndRunsCounterClockwiseOnScreen) {
  g->DrawOval(0, 0, 200, 100);
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  ASSERT_EQ(v.size(), 148u);  // 100 + 50 -> 150 -> 148
  EXPECT_FLOAT_EQ(v[0].x, 200);
  EXPECT_FLOAT_EQ(v[0].y, 50);
  EXPECT_LT(v[1].y, 50);  // up first: counter-clockwise with y down
  EXPECT_NEAR(v[37].x, 100, 1e-3);
  EXPECT_NEAR(v[37].y, 0, 1e-3);
  for (const fakegl::Vertex& p : v) {
    float dx = (p.x - 100) / 100, dy = (p.y - 50) / 50;
    EXPECT_NEAR(dx * dx + dy * dy, 1, 1e-4);
  }
}

TEST_F(Renderer, OvalFlushesThePendingBatchFirstAndDrawsAtOnce) {
  g->DrawRect(0, 0, 1, 1);
  g->DrawOval(0, 0, 10, 10);
  ASSERT_EQ(draws().size(), 2u);
  EXPECT_EQ(draws()[0].mode, static_cast<GLenum>(GL_TRIANGLES));
  EXPECT_EQ(draws()[1].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
  g->EndRender();
  EXPECT_EQ(draws().size(), 2u);
}

TEST_F(Renderer, PolyWithFiveValuesDrawsNothingAndLeavesTheBatchQueued) {
  g->DrawRect(0, 0, 1, 1);
  g->DrawPoly(floats({0, 0, 10, 0, 10}));
  EXPECT_TRUE(draws().empty());
  g->DrawPoly(floats({0, 0, 10, 0, 10, 10}));
  ASSERT_EQ(draws().size(), 2u);  // the rectangle, then the triangle
  EXPECT_EQ(draws()[1].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
  EXPECT_EQ(draws()[1].count, 3);
  EXPECT_FLOAT_EQ(draws()[1].vertices[2].y, 10);
}

TEST_F(Renderer, PolyBeyondOneBatchIsIgnored) {
  std::vector<float> big(2 * 1025, 1.0f);
  g->DrawPoly(floats(big));
  std::vector<float> full(2 * 1024, 1.0f);
  g->DrawPoly(floats(full));
  ASSERT_EQ(draws().size(), 1u);
  EXPECT_EQ(draws()[0].count, 1024);
}

// ---------------------------------------------------------------------------
// Scissor and blend

TEST_F(Renderer, ScissorConvertsToBottomLeftOriginAndTheWholeWindowTurnsItOff) {
  g->DrawRect(0, 0, 1, 1);
  g->SetScissor(10, 20, 100, 50);
  ASSERT_EQ(draws().size(), 1u);  // flushed before the change
  EXPECT_FALSE(draws()[0].scissor);
  EXPECT_TRUE(fakegl::state().enabled.count(GL_SCISSOR_TEST));
  EXPECT_EQ(fakegl::state().scissor_box, (std::array<GLint, 4>{10, 410, 100, 50}));
  g->DrawRect(0, 0, 1, 1);
  g->SetScissor(0, 0, 640, 480);
  EXPECT_TRUE(draws()[1].scissor);
  EXPECT_FALSE(fakegl::state().enabled.count(GL_SCISSOR_TEST));
}

TEST_F(Renderer, BlendModeOneIsAdditiveAndAnyOtherIsPremultipliedAlpha) {
  g->SetBlend(1);
  EXPECT_EQ(fakegl::state().blend_src, static_cast<GLenum>(GL_ONE));
  EXPECT_EQ(fakegl::state().blend_dst, static_cast<GLenum>(GL_ONE));
  g->DrawRect(0, 0, 1, 1);
  g->SetBlend(2);
  ASSERT_EQ(draws().size(), 1u);
  EXPECT_EQ(draws()[0].blend_dst, static_cast<GLenum>(GL_ONE));  // drawn under the old mode
  EXPECT_EQ(fakegl::state().blend_src, static_cast<GLenum>(GL_ONE));
  EXPECT_EQ(fakegl::state().blend_dst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
}

// ---------------------------------------------------------------------------
// The frame bracket

TEST_F(Renderer, BeginRenderSetsAPixelProjectionAndTheVertexArrays) {
  EXPECT_EQ(fakegl::state().viewport, (std::array<GLint, 4>{0, 0, 640, 480}));
  EXPECT_EQ(fakegl::state().ortho, (std::array<double, 6>{0, 640, 480, 0, -1, 1}));
  EXPECT_EQ(fakegl::state().client_arrays.size(), 3u);
  EXPECT_EQ(fakegl::state().vertex_stride, 20);
  EXPECT_EQ(fakegl::state().color_ptr, &g->vertexBuffer[0].color);
  EXPECT_TRUE(fakegl::state().enabled.count(GL_BLEND));
  EXPECT_EQ(fakegl::state().blend_dst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
}

TEST_F(Renderer, BeginRenderEmptiesTheBatchAndValidateFailsWithoutDrawableArea) {
  g->DrawRect(0, 0, 1, 1);
  g->BeginRender();
  g->Flush();
  EXPECT_TRUE(draws().empty());
  fakewin::state().width = 0;
  fakewin::state().height = 0;
  EXPECT_FALSE(g->Validate());
  EXPECT_EQ(g->Width(), 0);
}

// ---------------------------------------------------------------------------
// Pixel transfers

TEST_F(Renderer, ReadPixelsReturnsTopRowFirstAtOffsetAndPitch) {
  fakegl::State& s = fakegl::state();
  // GL rows count from the bottom: window row y is GL row 479 - y.
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) s.framebuffer[static_cast<size_t>(479 - y) * 640 + x] = 0xff000000u | y << 12 | x;
  g->DrawRect(0, 0, 1, 1);
  Array<int> pixels(20);
  g->ReadPixels(pixels, 5, 7, 3, 2, 1, 10);
  EXPECT_EQ(draws().size(), 1u);  // flushed first
  EXPECT_EQ(pixels[0], 0);
  EXPECT_EQ(static_cast<unsigned>(pixels[1]), 0xff000000u | 7 << 12 | 5);
  EXPECT_EQ(static_cast<unsigned>(pixels[3]), 0xff000000u | 7 << 12 | 7);
  EXPECT_EQ(static_cast<unsigned>(pixels[11]), 0xff000000u | 8 << 12 | 5);
  EXPECT_EQ(pixels[4], 0);
}

TEST_F(Renderer, PixelTransfersOutsideTheArrayAreIgnored) {
  Array<int> pixels(8);
  for (int& p : pixels) p = 7;
  g->ReadPixels(pixels, 0, 0, 4, 2, 1, 4);   // last row would end at 9
  g->ReadPixels(pixels, 0, 0, 2, 2, -1, 4);  // negative offset
  g->ReadPixels(pixels, 0, 0, 2, 3, 6, -3);  // last row starts at 0, fits
  EXPECT_EQ(fakegl::count("glReadPixels"), 1);
  gxtkSurface* s = g->CreateSurface(4, 4);
  g->WritePixels2(s, pixels, 0, 0, 3, 3, 0, 3);  // needs 9
  g->WritePixels2(s, pixels, 0, 0, 0, 1, 0, 0);  // empty
  g->WritePixels2(nullptr, pixels, 0, 0, 1, 1, 0, 0);
  EXPECT_EQ(fakegl::count("glTexSubImage2D"), 0);
}

TEST_F(Renderer, WritePixels2PremultipliesIntoTheTexture) {
  gxtkSurface* s = g->CreateSurface(4, 4);
  Array<int> pixels(4);
  pixels[0] = static_cast<int>(0x80c86432u);  // alpha 128, red 200, green 100, blue 50
  pixels[1] = 0x00ffffff;                     // transparent white
  pixels[2] = static_cast<int>(0xff102030u);
  pixels[3] = 0;
  g->DrawRect(0, 0, 1, 1);
  g->WritePixels2(s, pixels, 1, 2, 2, 1, 0, 2);
  g->WritePixels2(s, pixels, 1, 3, 1, 1, 2, 0);
  EXPECT_EQ(draws().size(), 1u);
  const fakegl::Texture& t = fakegl::state().textures[s->texture];
  EXPECT_EQ(t.texel(1, 2), (std::array<uint8_t, 4>{100, 50, 25, 128}));
  EXPECT_EQ(t.texel(2, 2), (std::array<uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(t.texel(1, 3), (std::array<uint8_t, 4>{0x10, 0x20, 0x30, 0xff}));
  EXPECT_EQ(fakegl::state().bound_texture, s->texture);
}

}  // namespace
