// The graphics context over the recording GL: frames of strips and grids with
// their flags and handles, the grab error, the lazy matrix with its stack,
// drawing images, scissor truncation, the frame reset and the font.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake_gl.h"
#include "fake_window.h"
#include "graphics/context.h"

namespace {

using Matrix = std::array<float, 6>;

// A renderer that also remembers what the context hands it.
class RecordingGraphics : public gxtkGraphics {
 public:
  std::vector<Matrix> matrices;
  std::vector<std::array<int, 4>> scissors;

  int SetMatrix(float a, float b, float c, float d, float tx, float ty) override {
    matrices.push_back({a, b, c, d, tx, ty});
    return gxtkGraphics::SetMatrix(a, b, c, d, tx, ty);
  }
  int SetScissor(int x, int y, int w, int h) override {
    scissors.push_back({x, y, w, h});
    return gxtkGraphics::SetScissor(x, y, w, h);
  }
};

class Context : public ::testing::Test {
 protected:
  RecordingGraphics* g = nullptr;
  bb_graphics_GraphicsContext* ctx = nullptr;
  std::string dir_;

  void SetUp() override {
    fakegl::reset();
    fakewin::reset();
    g = new RecordingGraphics();
    ASSERT_TRUE(g->Validate());
    g->BeginRender();
    ctx = new bb_graphics_GraphicsContext();
    bb_graphics_context = ctx;
    bb_graphics_SetGraphicsDevice(g);
    bb_graphics_BeginRender();
  }

  void TearDown() override {
    bb_graphics_EndRender();
    if (!dir_.empty()) std::system(("rm -rf " + dir_).c_str());
  }

  // A temporary folder holding PNG files made by ImageMagick.
  std::string png(const std::string& name, const std::string& size) {
    if (dir_.empty()) {
      char templ[] = "/tmp/vw_context_XXXXXX";
      EXPECT_NE(mkdtemp(templ), nullptr);
      dir_ = templ;
    }
    std::string path = dir_ + "/" + name;
    std::string cmd = "mkdir -p \"$(dirname " + path + ")\" && convert -size " + size + " xc:red PNG32:" + path;
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return path;
  }

  bb_graphics_Image* strip(int w, int h, int frames, int flags) {
    return (new bb_graphics_Image())->m_Init(g->CreateSurface(w, h), frames, flags);
  }

  std::vector<std::array<int, 2>> frames(bb_graphics_Image* image) {
    std::vector<std::array<int, 2>> out;
    for (bb_graphics_Frame* f : image->m_frames) out.push_back({f->m_x, f->m_y});
    return out;
  }

  Matrix matrix() { return {ctx->m_matrix[0], ctx->m_matrix[1], ctx->m_matrix[2], ctx->m_matrix[3], ctx->m_matrix[4], ctx->m_matrix[5]}; }

  std::vector<fakegl::Draw>& draws() {
    g->Flush();
    return fakegl::state().draws;
  }
};

// ---------------------------------------------------------------------------
// Frames, flags and handles

TEST_F(Context, StripFramesWithAndWithoutHorizontalPadding) {
  bb_graphics_Image* plain = strip(320, 32, 10, 0);
  EXPECT_EQ(plain->m_width, 32);
  EXPECT_EQ(plain->m_height, 32);
  ASSERT_EQ(plain->m_frames.Length(), 10);
  EXPECT_EQ(frames(plain)[9], (std::array<int, 2>{288, 0}));

  bb_graphics_Image* padded = strip(320, 32, 10, bb_graphics_Image::PadXFlag);
  EXPECT_EQ(padded->m_width, 30);
  EXPECT_EQ(padded->m_height, 32);
  EXPECT_EQ(frames(padded)[0], (std::array<int, 2>{1, 0}));
  EXPECT_EQ(frames(padded)[9], (std::array<int, 2>{289, 0}));

  bb_graphics_Image* both = strip(100, 20, 2, bb_graphics_Image::PadXFlag | bb_graphics_Image::PadYFlag);
  EXPECT_EQ(both->m_width, 48);
  EXPECT_EQ(both->m_height, 18);
  EXPECT_EQ(frames(both)[1], (std::array<int, 2>{51, 1}));
}

TEST_F(Context, OneUnpaddedFrameCoveringTheSurfaceIsWholeSurface) {
  EXPECT_EQ(strip(100, 100, 1, 0)->m_flags, bb_graphics_Image::WholeSurfaceFlag);
  EXPECT_EQ(strip(100, 100, 1, bb_graphics_Image::PadXFlag)->m_flags, bb_graphics_Image::PadXFlag);
  EXPECT_EQ(strip(100, 100, 2, 0)->m_flags, 0);
}

TEST_F(Context, CentreHandleSetsTheHandleAndClearsItsFlag) {
  bb_graphics_Image* image = strip(64, 16, 2, bb_graphics_Image::CentreHandleFlag);
  EXPECT_FLOAT_EQ(image->m_handleX, 16);
  EXPECT_FLOAT_EQ(image->m_handleY, 8);
  EXPECT_EQ(image->m_flags & bb_graphics_Image::CentreHandleFlag, 0);
  // Centred after padding: the handle is the centre of the visible frame.
  bb_graphics_Image* padded = strip(64, 16, 2, bb_graphics_Image::CentreHandleFlag | bb_graphics_Image::PadXFlag);
  EXPECT_FLOAT_EQ(padded->m_handleX, 15);
}

TEST_F(Context, GridFramesRunLeftToRightThenDownFromTheSourceOrigin) {
  bb_graphics_Image* sheet = bb_graphics_LoadImage2(String(png("sheet.png", "64x64").c_str()), 32, 32, 4, 0);
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(frames(sheet), (std::vector<std::array<int, 2>>{{0, 0}, {32, 0}, {0, 32}, {32, 32}}));
  EXPECT_EQ(sheet->m_width, 32);
  EXPECT_NE(sheet->m_source, nullptr);
  EXPECT_EQ(sheet->m_surface, sheet->m_source->m_surface);

  // A padded source moves every grabbed frame by its own origin.
  bb_graphics_Image* source = strip(66, 40, 1, bb_graphics_Image::PadXFlag | bb_graphics_Image::PadYFlag);
  bb_graphics_Image* grid = source->m_GrabImage(0, 0, 16, 19, 8, bb_graphics_Image::PadXFlag);
  EXPECT_EQ(frames(grid), (std::vector<std::array<int, 2>>{
                              {2, 1}, {18, 1}, {34, 1}, {50, 1}, {2, 20}, {18, 20}, {34, 20}, {50, 20}}));
  EXPECT_EQ(grid->m_width, 14);
  EXPECT_EQ(grid->m_height, 19);
  EXPECT_EQ(sheet->m_GrabImage(0, 0, 8, 8, 1, 0), nullptr);  // four frames: not grabbable
}

// The runtime error reports on standard output and ends the process with -1.
void expect_frame_error(const std::function<void()>& grab) {
  EXPECT_EXIT(
      {
        std::freopen("/dev/null", "r", stdin);  // the debugger stop must not wait for input
        dup2(2, 1);                              // the report goes to stdout; let the matcher see it
        grab();
      },
      ::testing::ExitedWithCode(255), "Tovrin Runtime Error : Image frame outside surface");
}

TEST_F(Context, GrabbingBeyondTheSourceIsARuntimeError) {
  std::string path = png("sheet.png", "64x64");
  expect_frame_error([&] { bb_graphics_LoadImage2(String(path.c_str()), 32, 32, 5, 0); });
  expect_frame_error([&] { strip(64, 64, 1, 0)->m_GrabImage(0, 0, 65, 8, 1, 0); });
  expect_frame_error([&] { strip(64, 64, 1, 0)->m_GrabImage(0, 60, 8, 8, 1, 0); });
}

TEST_F(Context, ZeroFrameCountGivesAnImageThatDrawsNothing) {
  bb_graphics_Image* image = strip(64, 64, 0, bb_graphics_Image::CentreHandleFlag);
  EXPECT_EQ(image->m_frames.Length(), 0);
  EXPECT_EQ(image->m_flags, 0);
  bb_graphics_DrawImage(image, 0, 0, 0);
  bb_graphics_DrawImage2(image, 0, 0, 0, 1, 1, 0);
  EXPECT_TRUE(draws().empty());
}

// ---------------------------------------------------------------------------
// Drawing images

TEST_F(Context, UntransformedImageDrawsAtPositionMinusHandleWithoutMatrixWork) {
  bb_graphics_Image* image = strip(64, 16, 2, bb_graphics_Image::CentreHandleFlag);
  bb_graphics_DrawImage(image, 100, 50, 1);
  bb_graphics_DrawImage(image, 200, 50, 0);
  EXPECT_EQ(g->matrices.size(), 1u);  // only the identity of the frame reset
  ASSERT_EQ(draws().size(), 1u);     // frames of one image share a batch
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  EXPECT_FLOAT_EQ(v[0].x, 84);
  EXPECT_FLOAT_EQ(v[0].y, 42);
  EXPECT_FLOAT_EQ(v[2].x, 116);
  EXPECT_FLOAT_EQ(v[0].u, 32.0f / 64);  // frame 1
  EXPECT_FLOAT_EQ(v[2].u, 1.0f);
  EXPECT_FLOAT_EQ(v[6].u, 0);           // frame 0
}

TEST_F(Context, WholeSurfaceImageDrawsTheWholeTexture) {
  fakegl::state().refuse_npot = true;
  bb_graphics_Image* image = strip(100, 50, 1, 0);
  bb_graphics_DrawImage(image, 0, 0, 0);
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  EXPECT_FLOAT_EQ(v[2].x, 100);
  EXPECT_FLOAT_EQ(v[2].u, 100.0f / 128);
  EXPECT_FLOAT_EQ(v[2].v, 50.0f / 64);
}

TEST_F(Context, FrameNumbersOutsideTheImageDrawNothing) {
  bb_graphics_Image* image = strip(64, 16, 2, 0);
  bb_graphics_DrawImage(image, 0, 0, 2);
  bb_graphics_DrawImage(image, 0, 0, -1);
  bb_graphics_DrawImage2(image, 0, 0, 45, 2, 2, 7);
  bb_graphics_DrawImage(nullptr, 0, 0, 0);
  EXPECT_TRUE(draws().empty());
  EXPECT_EQ(matrix(), (Matrix{1, 0, 0, 1, 0, 0}));
}

TEST_F(Context, TransformedImageDrawsThroughTheMatrixAndRestoresIt) {
  bb_graphics_Image* image = strip(10, 20, 1, bb_graphics_Image::CentreHandleFlag);
  bb_graphics_Scale(2, 2);
  Matrix before = matrix();
  bb_graphics_DrawImage(image, 100, 100, 0);
  EXPECT_EQ(matrix(), before);
  EXPECT_EQ(ctx->m_matrixDirty, 1);
  EXPECT_EQ(ctx->m_stackTop, 0);
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  EXPECT_FLOAT_EQ(v[0].x, 190);  // (100 - 5) * 2
  EXPECT_FLOAT_EQ(v[0].y, 180);
  EXPECT_FLOAT_EQ(v[2].x, 210);
  EXPECT_FLOAT_EQ(v[2].y, 220);
}

TEST_F(Context, DrawImage2RotatesCounterClockwiseAndScalesAboutTheHandle) {
  bb_graphics_Image* image = strip(10, 20, 1, bb_graphics_Image::CentreHandleFlag);
  bb_graphics_DrawImage2(image, 100, 100, 90, 2, 1, 0);
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  // Relative to the handle, the top-left corner is 5 left and 10 up; scaled
  // it is 10 left and 10 up, and a quarter turn counter-clockwise on screen
  // takes left to down and up to left.
  EXPECT_NEAR(v[0].x, 90, 1e-4);
  EXPECT_NEAR(v[0].y, 110, 1e-4);
  // The bottom-right corner, 10 right and 10 down, goes to 10 right and 10 up.
  EXPECT_NEAR(v[2].x, 110, 1e-4);
  EXPECT_NEAR(v[2].y, 90, 1e-4);
  EXPECT_EQ(matrix(), (Matrix{1, 0, 0, 1, 0, 0}));
}

// DrawImage2 works its matrix out on the side; the corners must be the very
// floats the context's own steps give: translate, rotate, scale, then the
// handle, under whatever matrix the context already holds.
TEST_F(Context, DrawImage2PutsCornersWhereTheContextsOwnStepsPutThem) {
  struct Case {
    float x, y, rotation, sx, sy;
  } cases[] = {{100, 50, 0, 1, 1}, {100.25f, 50.5f, 90, 2, 1}, {-3, 7, 33.3f, 0.5f, 1.75f},
               {320, 240, -45, -1, 1}, {12, 34, 180, 1.5f, 1.5f}, {0.1f, 0.2f, 1e-3f, 3, 0.25f}};
  bb_graphics_Image* image = strip(10, 20, 2, bb_graphics_Image::CentreHandleFlag);
  for (const Case& c : cases) {
    for (bool turned : {false, true}) {
      bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
      if (turned) {
        bb_graphics_Rotate(12.5f);
        bb_graphics_Scale(1.5f, 0.75f);
      }
      fakegl::state().draws.clear();
      bb_graphics_DrawImage2(image, c.x, c.y, c.rotation, c.sx, c.sy, 1);
      std::vector<fakegl::Vertex> fast = draws().at(0).vertices;
      fakegl::state().draws.clear();
      bb_graphics_PushMatrix();
      bb_graphics_Translate(c.x, c.y);
      bb_graphics_Rotate(c.rotation);
      bb_graphics_Scale(c.sx, c.sy);
      bb_graphics_Translate(-image->m_handleX, -image->m_handleY);
      bb_graphics_context->m_Validate();
      g->DrawSurface2(image->m_surface, 0, 0, image->m_frames[1]->m_x, 0, image->m_width, image->m_height);
      bb_graphics_PopMatrix();
      std::vector<fakegl::Vertex> steps = draws().at(0).vertices;
      ASSERT_EQ(fast.size(), steps.size());
      for (size_t i = 0; i < fast.size(); ++i) {
        EXPECT_EQ(fast[i].x, steps[i].x) << "corner " << i << " at rotation " << c.rotation << (turned ? ", turned" : "");
        EXPECT_EQ(fast[i].y, steps[i].y) << "corner " << i << " at rotation " << c.rotation << (turned ? ", turned" : "");
        EXPECT_EQ(fast[i].u, steps[i].u);
      }
    }
  }
}

// The image's matrix never becomes the renderer's: what is drawn next goes
// through the context's matrix again.
TEST_F(Context, DrawImage2LeavesTheRendererOnTheContextsMatrix) {
  bb_graphics_Image* image = strip(10, 20, 1, 0);
  bb_graphics_Translate(10, 0);
  bb_graphics_DrawRect(0, 0, 1, 1);
  bb_graphics_DrawImage2(image, 100, 100, 30, 2, 2, 0);
  bb_graphics_DrawRect(0, 0, 1, 1);
  std::vector<fakegl::Draw>& d = draws();
  ASSERT_EQ(d.size(), 3u);
  EXPECT_FLOAT_EQ(d[2].vertices[0].x, 10);
  EXPECT_FLOAT_EQ(d[2].vertices[0].y, 0);
  EXPECT_EQ(matrix(), (Matrix{1, 0, 0, 1, 10, 0}));
}

// ---------------------------------------------------------------------------
// The matrix

TEST_F(Context, RotateTurnsCounterClockwiseOnScreen) {
  bb_graphics_Rotate(90);
  bb_graphics_DrawLine(1, 0, 1, 0);
  const fakegl::Vertex& p = draws()[0].vertices[0];
  EXPECT_NEAR(p.x, 0, 1e-6);
  EXPECT_NEAR(p.y, -1, 1e-6);
}

TEST_F(Context, TransformAppliesTheNewStepToPointsFirst) {
  bb_graphics_Translate(10, 0);
  bb_graphics_Scale(2, 3);
  bb_graphics_DrawLine(1, 1, 0, 0);
  const std::vector<fakegl::Vertex>& v = draws()[0].vertices;
  EXPECT_FLOAT_EQ(v[0].x, 12);
  EXPECT_FLOAT_EQ(v[0].y, 3);
  EXPECT_FLOAT_EQ(v[1].x, 10);
  EXPECT_EQ(ctx->m_transformed, 1);
  bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
  EXPECT_EQ(ctx->m_transformed, 0);
}

TEST_F(Context, MatrixReachesTheRendererOnlyAtTheNextDraw) {
  bb_graphics_DrawRect(0, 0, 1, 1);
  size_t sent = g->matrices.size();
  bb_graphics_Translate(5, 5);
  bb_graphics_Rotate(30);
  EXPECT_EQ(g->matrices.size(), sent);
  bb_graphics_DrawRect(0, 0, 1, 1);
  ASSERT_EQ(g->matrices.size(), sent + 1);
  EXPECT_EQ(g->matrices.back(), matrix());
  bb_graphics_DrawRect(0, 0, 1, 1);
  EXPECT_EQ(g->matrices.size(), sent + 1);
}

TEST_F(Context, PushAndPopRestoreTheMatrixExactly) {
  bb_graphics_Rotate(33);
  bb_graphics_Translate(0.1f, 7.3f);
  Matrix saved = matrix();
  bb_graphics_PushMatrix();
  bb_graphics_Scale(3.7f, 0.2f);
  bb_graphics_Rotate(-71);
  bb_graphics_DrawRect(0, 0, 1, 1);
  bb_graphics_PopMatrix();
  EXPECT_EQ(matrix(), saved);  // bit for bit, no recomputation
  bb_graphics_DrawRect(0, 0, 1, 1);
  EXPECT_EQ(g->matrices.back(), saved);
}

TEST_F(Context, StackIgnoresPushesBeyond32AndPopsOfAnEmptyStack) {
  for (int i = 0; i < 33; ++i) {
    bb_graphics_SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
    bb_graphics_PushMatrix();
  }
  EXPECT_EQ(ctx->m_stackTop, 192);
  bb_graphics_SetMatrix(1, 0, 0, 1, 99, 0);
  bb_graphics_PopMatrix();
  EXPECT_FLOAT_EQ(ctx->m_matrix[4], 31);  // the 33rd push was not kept
  for (int i = 0; i < 31; ++i) bb_graphics_PopMatrix();
  EXPECT_FLOAT_EQ(ctx->m_matrix[4], 0);
  bb_graphics_PopMatrix();
  EXPECT_EQ(ctx->m_stackTop, 0);
  EXPECT_FLOAT_EQ(ctx->m_matrix[4], 0);
}

TEST_F(Context, ImagesDrawTheSameWithAFullStack) {
  bb_graphics_Image* image = strip(10, 10, 1, 0);
  for (int i = 0; i < 32; ++i) bb_graphics_PushMatrix();
  bb_graphics_Translate(50, 0);
  bb_graphics_DrawImage2(image, 5, 0, 0, 1, 1, 0);
  EXPECT_EQ(matrix(), (Matrix{1, 0, 0, 1, 50, 0}));
  EXPECT_FLOAT_EQ(draws()[0].vertices[0].x, 55);
  EXPECT_EQ(ctx->m_stackTop, 192);
}

// ---------------------------------------------------------------------------
// State, the frame reset and the font

TEST_F(Context, ScissorIsStoredAndTruncatedForTheRenderer) {
  bb_graphics_SetScissor(10.9f, 20.5f, 100.2f, 50.7f);
  EXPECT_EQ(g->scissors.back(), (std::array<int, 4>{10, 20, 100, 50}));
  EXPECT_FLOAT_EQ(ctx->m_scissor[0], 10.9f);
  EXPECT_EQ(fakegl::state().scissor_box, (std::array<GLint, 4>{10, 410, 100, 50}));
  bb_graphics_SetScissor(-0.5f, 1e30f, 0, 0);
  EXPECT_EQ(g->scissors.back(), (std::array<int, 4>{0, 2147483647, 0, 0}));
}

TEST_F(Context, BeginRenderResetsEverythingButTheFont) {
  bb_graphics_Image* font = strip(96, 8, 12, 0);
  bb_graphics_SetFont(font, 48);
  bb_graphics_SetColor(1, 2, 3);
  bb_graphics_SetAlpha(0.25f);
  bb_graphics_SetBlend(1);
  bb_graphics_SetScissor(1, 2, 3, 4);
  bb_graphics_Translate(4, 4);
  bb_graphics_PushMatrix();
  bb_graphics_BeginRender();
  EXPECT_EQ(ctx->m_stackTop, 0);
  EXPECT_EQ(matrix(), (Matrix{1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(ctx->m_matrixDirty, 1);
  EXPECT_FLOAT_EQ(ctx->m_red, 255);
  EXPECT_FLOAT_EQ(ctx->m_alpha, 1);
  EXPECT_EQ(g->packedColor, 0xffffffffu);
  EXPECT_EQ(fakegl::state().blend_dst, static_cast<GLenum>(GL_ONE_MINUS_SRC_ALPHA));
  EXPECT_FALSE(fakegl::state().enabled.count(GL_SCISSOR_TEST));
  EXPECT_FLOAT_EQ(ctx->m_scissor[2], 640);
  EXPECT_EQ(ctx->m_font, font);
  EXPECT_EQ(ctx->m_firstChar, 48);
}

TEST_F(Context, OutsideAFrameNothingReachesTheRenderer) {
  bb_graphics_EndRender();
  EXPECT_EQ(bb_graphics_renderDevice, nullptr);
  bb_graphics_SetColor(10, 20, 30);
  bb_graphics_DrawRect(0, 0, 5, 5);
  bb_graphics_DrawEllipse(0, 0, 5, 5);
  bb_graphics_DrawImage(strip(8, 8, 1, 0), 0, 0, 0);
  EXPECT_FLOAT_EQ(ctx->m_red, 10);
  EXPECT_NE(g->red, 10);
  EXPECT_TRUE(draws().empty());
  EXPECT_EQ(bb_graphics_DeviceWidth(), 640);
}

TEST_F(Context, EllipseIsGivenByCentreAndRadii) {
  bb_graphics_DrawEllipse(100, 50, 30, 20);
  ASSERT_EQ(draws().size(), 1u);
  EXPECT_EQ(draws()[0].count, 48);
  EXPECT_FLOAT_EQ(draws()[0].vertices[0].x, 130);
  EXPECT_FLOAT_EQ(draws()[0].vertices[0].y, 50);
}

TEST_F(Context, NullFontSelectsTheBuiltInFontWithFirstCharacter32) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  std::string font = png("data/velk_font.png", "576x8");
  ASSERT_EQ(chdir(dir_.c_str()), 0);
  bb_graphics_SetFont(nullptr, 65);
  ASSERT_EQ(chdir(cwd), 0);
  ASSERT_NE(ctx->m_font, nullptr);
  EXPECT_EQ(ctx->m_font, ctx->m_defaultFont);
  EXPECT_EQ(ctx->m_firstChar, 32);
  EXPECT_EQ(ctx->m_font->m_frames.Length(), 96);
  EXPECT_EQ(ctx->m_font->m_width, 4);  // 6-pixel cells less the spacer columns
  EXPECT_EQ(frames(ctx->m_font)[1], (std::array<int, 2>{7, 0}));
}

TEST_F(Context, MissingBuiltInFontLeavesNoFont) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  png("empty/none.png", "1x1");
  ASSERT_EQ(chdir((dir_ + "/empty").c_str()), 0);
  bb_graphics_SetFont(strip(8, 8, 1, 0), 40);
  bb_graphics_SetFont(nullptr, 65);
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(ctx->m_font, nullptr);
  EXPECT_EQ(ctx->m_firstChar, 32);
}

TEST_F(Context, ShippedBuiltInFontLoadsAsNinetySixPaddedGlyphs) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(VW_SOURCE_DIR), 0);
  bb_graphics_SetFont(nullptr, 32);
  ASSERT_EQ(chdir(cwd), 0);
  ASSERT_NE(ctx->m_font, nullptr);
  bb_graphics_Image* font = ctx->m_font;
  EXPECT_EQ(font->m_frames.Length(), 96);
  EXPECT_EQ(font->m_width, font->m_surface->Width() / 96 - 2);
  EXPECT_EQ(font->m_height, font->m_surface->Height());
}

}  // namespace
