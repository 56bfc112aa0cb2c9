// The renderer's fill shortcuts on the real Mesa GL: the glClear for an opaque
// rectangle over the window and the frames of opaque art drawn with blending
// off must leave exactly the pixels that blending everything leaves. The game
// loads its real art in a real window; every screen it shows (the loading
// screen, the menu with its boxes, rounds of every play mode at many scroll
// positions) is drawn both ways over the same picture and read back.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "game/program.h"
#include "game/vaultwick.h"
#include "graphics/context.h"
#include "input/input.h"
#include "scratch_folder.h"
#include "seam/window.h"

namespace {

const int kWidth = 640, kHeight = 480;
// Frames compared in each round, and the updates between them.
const int kRoundFrames = 12;
const int kUpdatesBetween = 9;
const int kScreenMenu = 1, kScreenRoundSetUp = 11, kKeySpace = 32;

class FillPixels : public ::testing::Test {
 protected:
  ScratchFolder folder_{"vw_fill", true};
  bb_Vaultwick_MyApp* game_ = nullptr;
  gxtkGraphics* g_ = nullptr;
  int compared_ = 0;

  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    ASSERT_TRUE(wlInit());
    wlOpenWindowHint(WL_WINDOW_NO_RESIZE, 1);
    ASSERT_TRUE(wlOpenWindow(kWidth, kHeight, 0, 0, 0, 0, 0, 0, WL_WINDOW));
    bb_std_main(0, nullptr);
    game_ = static_cast<bb_Vaultwick_MyApp*>(bb_app_device->m_app);
    g_ = bb_graphics_device;
    ::app->InvokeOnCreate();
  }

  void TearDown() override {
    g_->SetFillShortcuts(true);
    wlCloseWindow();
    wlTerminate();
  }

  // The game's render over a fixed picture (a few rectangles on a colour,
  // which the design's translucent clears let show), read back.
  std::vector<uint32_t> Draw(bool shortcuts) {
    return DrawWith(shortcuts, [] { bb_app_device->OnRender(); });
  }

  std::vector<uint32_t> DrawWith(bool shortcuts, const std::function<void()>& draw) {
    g_->Validate();
    g_->BeginRender();
    g_->SetFillShortcuts(false);
    g_->SetAlpha(1);
    g_->SetColor(90, 30, 160);
    g_->DrawRect(-1, -1, kWidth + 2, kHeight + 2);
    g_->SetColor(20, 200, 120);
    for (int i = 0; i < 8; ++i) g_->DrawRect(static_cast<float>(i * 83), static_cast<float>(i * 57), 70, 40);
    g_->SetFillShortcuts(shortcuts);
    draw();
    bb_graphics_context->m_Validate();
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    g_->Flush();
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    g_->EndRender();
    return pixels;
  }

  // Draws the current screen both ways; the pixels that differ.
  int Differing(const std::string& what) {
    std::vector<uint32_t> blended = Draw(false), shortcuts = Draw(true);
    int differ = 0;
    for (size_t i = 0; i < blended.size(); ++i) differ += blended[i] != shortcuts[i];
    EXPECT_EQ(differ, 0) << what;
    ++compared_;
    return differ;
  }

  void Update(int count) {
    for (int i = 0; i < count; ++i) ::app->InvokeOnUpdate();
  }
};

TEST_F(FillPixels, EveryScreenDrawsTheSamePixelsWithAndWithoutTheShortcuts) {
  Update(8);
  Differing("the loading screen");
  for (int i = 0; i < 100 && game_->m_LoadStep > 0; ++i) ::app->InvokeOnUpdate();
  ASSERT_EQ(game_->m_LoadStep, 0);
  ASSERT_EQ(game_->m_Screen, kScreenMenu);
  Differing("the menu as it slides in");
  Update(90);
  Differing("the menu");
  game_->m_BadgesBoxOpen = 1;
  Update(30);
  Differing("the badges box");
  game_->m_BadgesBoxOpen = 0;
  game_->m_CreditBoxOpen = 1;
  Update(30);
  Differing("the credits box");
  game_->m_CreditBoxOpen = 0;

  for (int playMode = 1; playMode <= 10; ++playMode) {
    game_->m_MenuMode = playMode;
    game_->m_Screen = kScreenRoundSetUp;
    Update(1);
    for (int frame = 0; frame < kRoundFrames && game_->m_RoundOver == 0; ++frame) {
      // Hold for a while, let go for a while: the track scrolls and the
      // character moves about.
      if (frame % 4 == 0) bb_input_device->OnKeyDown(kKeySpace);
      if (frame % 4 == 2) bb_input_device->OnKeyUp(kKeySpace);
      Update(kUpdatesBetween);
      Differing("play mode " + std::to_string(playMode) + ", frame " + std::to_string(frame));
    }
    bb_input_device->OnKeyUp(kKeySpace);
  }
  RecordProperty("frames_compared", compared_);
  EXPECT_GT(compared_, 5 + 10 * kRoundFrames / 2);
}

// Large images are drawn cell by cell, under the scissor: at odd scales and
// positions, mirrored, under the caller's scissor, translucent and added,
// each pixel must come out as the whole image blended leaves it.
TEST_F(FillPixels, LargeImagesDrawnByCellsLeaveThePixelsOfTheWholeImageBlended) {
  const int w = 200, h = 150;
  unsigned char* p = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(w) * h, 4));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // An opaque band below a hill line, translucent stripes, and texels
      // alone in the clear.
      unsigned char a = y > 100 + (x % 37) / 4 ? 255 : (x / 9 + y / 7) % 11 == 0 ? 150 : 0;
      if ((x * 7 + y * 13) % 997 == 0) a = 255;
      unsigned char* t = &p[(static_cast<size_t>(y) * w + x) * 4];
      t[0] = static_cast<unsigned char>(x);
      t[1] = static_cast<unsigned char>(y * 3);
      t[2] = static_cast<unsigned char>(x ^ y);
      t[3] = a;
    }
  }
  gxtkSurface* surface = new gxtkSurface(p, w, h, 4);
  ASSERT_TRUE(surface->OnUnsafeLoadComplete());
  struct Case {
    const char* what;
    float m[6];
    float alpha;
    int blend;
    bool scissor;
  } cases[] = {
      {"scaled 3, past the edges", {3, 0, 0, 3, -30, -20}, 1, 0, false},
      {"odd scale and position", {1.37f, 0, 0, 2.2f, 100.3f, 40.7f}, 1, 0, false},
      {"mirrored", {-2.5f, 0, 0, 2.5f, 600.5f, 20}, 1, 0, false},
      {"flipped", {2.5f, 0, 0, -2.5f, 10, 470.25f}, 1, 0, false},
      {"under a scissor", {3.3f, 0, 0, 3.1f, -41.6f, -33.3f}, 1, 0, true},
      {"at half alpha", {3, 0, 0, 3, -30, -20}, 0.5f, 0, false},
      {"added", {3, 0, 0, 3, -30, -20}, 1, 1, false},
  };
  for (const Case& c : cases) {
    auto draw = [&] {
      if (c.scissor) g_->SetScissor(50, 60, 400, 300);
      g_->SetColor(255, 255, 255);
      g_->SetAlpha(c.alpha);
      g_->SetBlend(c.blend);
      g_->DrawSurface2Through(c.m, false, surface, 0, 0, 0, 0, w, h);
      g_->SetBlend(0);
      g_->SetScissor(0, 0, kWidth, kHeight);
    };
    std::vector<uint32_t> blended = DrawWith(false, draw), cells = DrawWith(true, draw);
    int differ = 0;
    for (size_t i = 0; i < blended.size(); ++i) differ += blended[i] != cells[i];
    EXPECT_EQ(differ, 0) << c.what;
  }
  surface->Discard();
}

}  // namespace
