// Rounds of every play mode in a real window over Mesa GL: the game loads its
// real art, a scripted button plays a few hundred updates, and the frame is
// read back. With VW_ROUND_SHOTS naming a folder, each frame is kept there as
// round-N.png for a person to look at; VW_ROUND_UPDATES sets the updates
// played before it (240).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
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

struct Rgb {
  int r, g, b;
};

// The window's pixels, top row first.
std::vector<Rgb> ReadFrame(gxtkGraphics* g) {
  Array<int> pixels(640 * 480);
  g->ReadPixels(pixels, 0, 0, 640, 480, 0, 640);
  std::vector<Rgb> out;
  for (int i = 0; i < 640 * 480; ++i) {
    unsigned v = static_cast<unsigned>(pixels[i]);
    out.push_back({static_cast<int>(v >> 16 & 0xff), static_cast<int>(v >> 8 & 0xff), static_cast<int>(v & 0xff)});
  }
  return out;
}

void SavePng(const std::vector<Rgb>& frame, const std::string& path) {
  std::string ppm = path + ".ppm";
  FILE* f = std::fopen(ppm.c_str(), "wb");
  if (!f) return;
  std::fprintf(f, "P6 640 480 255\n");
  for (const Rgb& p : frame) {
    unsigned char rgb[3] = {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                            static_cast<unsigned char>(p.b)};
    std::fwrite(rgb, 1, 3, f);
  }
  std::fclose(f);
  std::system(("convert " + ppm + " " + path + " && rm -f " + ppm).c_str());
}

class RealRounds : public ::testing::Test {
 protected:
  ScratchFolder folder_{"vw_rounds", true};

  void SetUp() override { ASSERT_TRUE(folder_.ok()); }
};

TEST_F(RealRounds, EveryPlayModeDrawsItsRound) {
  ASSERT_TRUE(wlInit());
  wlOpenWindowHint(WL_WINDOW_NO_RESIZE, 1);
  ASSERT_TRUE(wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW));
  bb_std_main(0, nullptr);
  auto* game = static_cast<bb_Vaultwick_MyApp*>(bb_app_device->m_app);
  ::app->InvokeOnCreate();
  for (int i = 0; i < 100 && game->m_LoadStep > 0; ++i) ::app->InvokeOnUpdate();
  ASSERT_EQ(game->m_LoadStep, 0);

  const char* shots = std::getenv("VW_ROUND_SHOTS");
  // VW_ROUND_UPDATES plays longer (or shorter) rounds before the picture.
  const char* length = std::getenv("VW_ROUND_UPDATES");
  int updates = length ? std::atoi(length) : 240;
  for (int playMode = 1; playMode <= 10; ++playMode) {
    game->m_MenuMode = playMode;
    game->m_Screen = 11;
    ::app->InvokeOnUpdate();
    // Hold for 40 updates, let go for 20; a round that ends early is taken
    // as it ends, before game over hands it back to the menu.
    for (int n = 0; n < updates && game->m_RoundOver == 0; ++n) {
      if (n % 60 == 10) bb_input_device->OnKeyDown(32);
      if (n % 60 == 50) bb_input_device->OnKeyUp(32);
      ::app->InvokeOnUpdate();
    }
    bb_input_device->OnKeyUp(32);
    SCOPED_TRACE("play mode " + std::to_string(playMode));
    ASSERT_EQ(game->m_Screen, 10);

    gxtkGraphics* g = bb_graphics_device;
    g->BeginRender();
    bb_app_device->OnRender();
    bb_graphics_context->m_Validate();
    std::vector<Rgb> frame = ReadFrame(g);
    g->EndRender();
    if (shots) SavePng(frame, std::string(shots) + "/round-" + std::to_string(playMode) + ".png");

    // A picture, not a blank: the background strips alone bring dozens of
    // colours.
    std::set<int> colours;
    for (const Rgb& p : frame) colours.insert(p.r << 16 | p.g << 8 | p.b);
    EXPECT_GT(colours.size(), 40u);
    // The score, light green, is drawn in the middle of the top edge.
    bool score = false;
    for (int y = 44; y < 62; ++y)
      for (int x = 260; x < 380; ++x) {
        const Rgb& p = frame[y * 640 + x];
        if (p.g > 200 && p.r < 180 && p.b < 180) score = true;
      }
    EXPECT_TRUE(score);
  }
  wlCloseWindow();
  wlTerminate();
}

}  // namespace
