// The game window's modes and icon over the scripted window layer: the centred
// window it opens, F11 and Alt+Enter switching to fullscreen and back, those
// keys kept from the game, and the icon read from data/icons.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/bb_app.h"
#include "fake_window.h"
#include "game/program.h"
#include "input/input.h"
#include "scratch_folder.h"

namespace {

const int kF11 = WL_KEY_F1 + 10;
const int kFrameworkEnter = 13;
const int kFrameworkF11 = 122;

class WindowMode : public ::testing::Test {
 protected:
  gxtkInput* input_ = nullptr;

  void SetUp() override {
    fakewin::reset();
    wlInit();
    ASSERT_TRUE(OpenGameWindow());
    bb_std_main(0, nullptr);
    wlSetKeyCallback(gxtkApp::OnKey);
    input_ = ::app->input;
  }

  // Delivers one key event now, as the loop's poll would.
  void Key(int key, int action) {
    fakewin::key(fakewin::state().now, key, action);
    wlPollEvents();
  }
  void Tap(int key) {
    Key(key, WL_PRESS);
    Key(key, WL_RELEASE);
  }

  void ExpectCentredWindow(const std::string& when) {
    const fakewin::State& s = fakewin::state();
    EXPECT_FALSE(s.fullscreen) << when;
    EXPECT_EQ(s.width, 640) << when;
    EXPECT_EQ(s.height, 480) << when;
    EXPECT_EQ(s.x, 320) << when;
    EXPECT_EQ(s.y, 272) << when;
  }
  void ExpectFullscreen(const std::string& when) {
    const fakewin::State& s = fakewin::state();
    EXPECT_TRUE(s.fullscreen) << when;
    EXPECT_EQ(s.width, 1280) << when;
    EXPECT_EQ(s.height, 1024) << when;
  }
};

TEST_F(WindowMode, TheGameWindowOpensCentredAndFixed) {
  const fakewin::State& s = fakewin::state();
  EXPECT_TRUE(s.no_resize_hint);
  EXPECT_EQ(s.open_mode, WL_WINDOW);
  ExpectCentredWindow("at the start");
  EXPECT_FALSE(IsFullscreen());
}

// Each way in switches to fullscreen and the same way switches back.
TEST_F(WindowMode, EachSwitchingKeyGoesFullscreenAndBackToTheCentredWindow) {
  struct Way {
    const char* name;
    int modifier;  // 0: none
    int key;
  };
  const Way ways[] = {
      {"F11", 0, kF11},
      {"left Alt+Enter", WL_KEY_LALT, WL_KEY_ENTER},
      {"right Alt+Enter", WL_KEY_RALT, WL_KEY_ENTER},
      {"Alt+keypad Enter", WL_KEY_LALT, WL_KEY_KP_ENTER},
  };
  for (const Way& way : ways) {
    SetUp();
    for (int round = 0; round < 2; ++round) {
      if (way.modifier) Key(way.modifier, WL_PRESS);
      Tap(way.key);
      if (way.modifier) Key(way.modifier, WL_RELEASE);
      if (round == 0) ExpectFullscreen(way.name);
      if (round == 1) ExpectCentredWindow(way.name);
    }
    EXPECT_EQ(fakewin::state().mode_switches, 2) << way.name;
  }
}

TEST_F(WindowMode, SwitchingKeysNeverReachTheGame) {
  Key(kF11, WL_PRESS);
  EXPECT_EQ(input_->KeyDown(kFrameworkF11), 0);
  Key(kF11, WL_RELEASE);
  EXPECT_EQ(input_->KeyHit(kFrameworkF11), 0);

  Key(WL_KEY_LALT, WL_PRESS);
  Key(WL_KEY_ENTER, WL_PRESS);
  EXPECT_EQ(input_->KeyDown(kFrameworkEnter), 0);
  EXPECT_EQ(input_->KeyHit(kFrameworkEnter), 0);
  EXPECT_EQ(input_->GetChar(), 0);  // Enter queues no character either
  Key(WL_KEY_ENTER, WL_RELEASE);
  Key(WL_KEY_LALT, WL_RELEASE);
  EXPECT_EQ(fakewin::state().mode_switches, 2);

  // Enter on its own is the game's.
  Key(WL_KEY_ENTER, WL_PRESS);
  EXPECT_EQ(input_->KeyDown(kFrameworkEnter), 1);
  EXPECT_EQ(input_->KeyHit(kFrameworkEnter), 1);
  EXPECT_EQ(input_->GetChar(), kFrameworkEnter);
  Key(WL_KEY_ENTER, WL_RELEASE);
  EXPECT_EQ(fakewin::state().mode_switches, 2);
}

TEST_F(WindowMode, AHeldSwitchingKeySwitchesOnce) {
  Key(kF11, WL_PRESS);
  Key(kF11, WL_PRESS);  // key repeat arrives as further presses
  Key(kF11, WL_PRESS);
  Key(kF11, WL_RELEASE);
  EXPECT_EQ(fakewin::state().mode_switches, 1);
  ExpectFullscreen("after a held F11");
}

TEST_F(WindowMode, EnterLetGoAfterAltIsStillKeptFromTheGame) {
  Key(WL_KEY_LALT, WL_PRESS);
  Key(WL_KEY_ENTER, WL_PRESS);
  Key(WL_KEY_LALT, WL_RELEASE);
  Key(WL_KEY_ENTER, WL_RELEASE);
  EXPECT_EQ(input_->KeyDown(kFrameworkEnter), 0);
  // Alt is up now, so the next Enter is an ordinary one.
  Tap(WL_KEY_ENTER);
  EXPECT_EQ(input_->KeyHit(kFrameworkEnter), 1);
  EXPECT_EQ(fakewin::state().mode_switches, 1);
}

// The icon pictures come from data/icons under the working folder.
class WindowIcon : public ::testing::Test {
 protected:
  ScratchFolder folder_{"vaultwick-icon"};

  void SetUp() override {
    ASSERT_TRUE(folder_.ok());
    fakewin::reset();
    wlInit();
    ASSERT_TRUE(OpenGameWindow());
    bb_std_main(0, nullptr);
  }
};

TEST_F(WindowIcon, TheWindowGetsEveryIconSizeFromTheData) {
  ASSERT_EQ(symlink(VW_SOURCE_DIR "/data", "data"), 0);
  SetGameWindowIcon();
  const std::vector<fakewin::State::Picture>& icon = fakewin::state().icon;
  ASSERT_EQ(icon.size(), 5u);
  const int sizes[] = {16, 32, 48, 64, 128};
  for (size_t i = 0; i < icon.size(); ++i) {
    EXPECT_EQ(icon[i].width, sizes[i]);
    EXPECT_EQ(icon[i].height, sizes[i]);
    // A drawn picture: the corner outside the rounded tile is clear, the
    // middle is opaque.
    const std::vector<unsigned char>& px = icon[i].rgba;
    int mid = (sizes[i] / 2 * sizes[i] + sizes[i] / 2) * 4;
    EXPECT_EQ(px[3], 0) << sizes[i];
    EXPECT_EQ(px[mid + 3], 255) << sizes[i];
  }
}

TEST_F(WindowIcon, WithoutTheDataTheWindowKeepsItsOwnIcon) {
  SetGameWindowIcon();
  EXPECT_TRUE(fakewin::state().icon.empty());
  // A damaged picture is left out, the others still make the icon.
  std::filesystem::create_directories("data/icons");
  for (int size : {16, 32})
    std::filesystem::copy_file(VW_SOURCE_DIR "/data/icons/vaultwick-" + std::to_string(size) + ".png",
                               "data/icons/vaultwick-" + std::to_string(size) + ".png");
  FILE* f = std::fopen("data/icons/vaultwick-48.png", "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("not a picture", f);
  std::fclose(f);
  SetGameWindowIcon();
  ASSERT_EQ(fakewin::state().icon.size(), 2u);
  EXPECT_EQ(fakewin::state().icon[1].width, 32);
}

}  // namespace
