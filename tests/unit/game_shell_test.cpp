// The game object as the framework drives it: creation, the first render, the
// clear and the virtual-screen scale, the per-update input preamble, suspend
// and resume, the logical buttons and the iCade letters.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/audio.h"
#include "fake_al.h"
#include "fake_window.h"
#include "game_harness.h"
#include "graphics/context.h"
#include "input/input.h"

namespace {

using gameharness::Game;

TEST(GameShell, CreationSetsTheShellDefaults) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  EXPECT_EQ(app.m_Screen, 1);
  EXPECT_EQ(app.m_Mode, 1);
  EXPECT_EQ(app.m_WorldMode, 1);
  EXPECT_EQ(bb_Vaultwick_MaxGames, 5);
  EXPECT_EQ(bb_Vaultwick_MaxBadges, 19);
  EXPECT_EQ(bb_app_device->m_updateRate, 60);
  EXPECT_EQ(app.m_DevWidth, 640);
  EXPECT_EQ(app.m_DevHeight, 480);
  EXPECT_EQ(app.m_MenuIntro, -32);
  EXPECT_EQ(app.m_PauseOpened, -1);
  EXPECT_EQ(app.m_PauseY, -64);
  EXPECT_EQ(app.m_Settings[5], 1);
  for (int i = 0; i <= 32; ++i) EXPECT_EQ(app.m_SfxChannels[i], i);
  EXPECT_EQ(app.m_Iter, 33);
  EXPECT_FLOAT_EQ(app.m_MenuScroll, 480 * 0.65f - static_cast<float>(app.m_MenuMode - 1) * 82);
  // Arrays exist at their full sizes from the start.
  EXPECT_EQ(app.m_DrawList.Length(), 37500);
  EXPECT_EQ(app.m_Scores.Length(), 200);
  EXPECT_EQ(app.m_Img.Length(), 100);
  EXPECT_EQ(app.m_Sfx.Length(), 100);
  EXPECT_EQ(app.m_Particles.Length(), 1024);
}

TEST(GameShell, EveryArrayFieldSurvivesFullCollections) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  const gc_object* arrays[] = {
      app.m_Img.object(),         app.m_ImgInfo.object(),     app.m_NoteBadge.object(), app.m_NoteBusy.object(),
      app.m_Badges.object(),      app.m_BadgesThisGame.object(), app.m_Pad.object(),    app.m_Settings.object(),
      app.m_Scores.object(),      app.m_SfxChannels.object(), app.m_DrawList.object(),  app.m_TouchDown.object(),
      app.m_TouchX.object(),      app.m_TouchY.object(),      app.m_Sfx.object(),       app.m_Upper.object(),
      app.m_Trail.object(),       app.m_NoteRepeat.object(),  app.m_Particles.object(), app.m_Lower.object(),
      app.m_PassHistory.object(), app.m_Flags.object(),       app.m_RoundCounts.object(),
  };
  for (int round = 0; round < 3; ++round) {
    while (gc_queued_list.next != &gc_queued_list) gc_collect();
    gc_force_sweep = true;
    gc_collect();
    gc_mark();
  }
  // A collected object leaves the live lists; a marked one stays on them.
  auto live = [](const gc_object* p) {
    for (gc_header* list : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list})
      for (gc_header* h = list->next; h != list; h = h->next)
        if (h == p->gc_head()) return true;
    return false;
  };
  for (size_t i = 0; i < sizeof(arrays) / sizeof(arrays[0]); ++i) EXPECT_TRUE(live(arrays[i])) << "array " << i;
}

TEST(GameShell, TheFirstRenderComesBeforeAnyUpdateAndDrawsOnlyTheClear) {
  Game game;
  EXPECT_EQ(game.app().m_UpdateLastMs, 0);
  EXPECT_EQ(game.app().m_DrawCount, 0);
  std::vector<gameharness::Shape> shapes = game.Shapes();
  ASSERT_EQ(shapes.size(), 1u);
  // The clear covers the window, in the opaque black that the start of
  // loading sets: the renderer fills it with a glClear.
  EXPECT_TRUE(shapes[0].cleared);
  EXPECT_FLOAT_EQ(shapes[0].left, 0);
  EXPECT_FLOAT_EQ(shapes[0].top, 0);
  EXPECT_FLOAT_EQ(shapes[0].right, 640);
  EXPECT_FLOAT_EQ(shapes[0].bottom, 480);
  EXPECT_EQ(shapes[0].r, 0);
  EXPECT_EQ(shapes[0].a, 255);
  EXPECT_FALSE(shapes[0].textured);
}

TEST(GameShell, TheClearUsesTheClearColourAndAlpha) {
  Game game;
  game.app().m_CLS2D(40, 40, 80, 1);
  game.Render();
  std::vector<gameharness::Shape> shapes = game.Shapes();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_TRUE(shapes[0].cleared);
  EXPECT_EQ(shapes[0].r, 40);
  EXPECT_EQ(shapes[0].g, 40);
  EXPECT_EQ(shapes[0].b, 80);
  EXPECT_EQ(shapes[0].a, 255);

  // Below alpha 1 the clear blends the frame over the last one: it is drawn,
  // with a pixel to spare on every side, premultiplied.
  game.app().m_CLS2D(40, 40, 80, 0.5f);
  game.Render();
  shapes = game.Shapes();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_FALSE(shapes[0].cleared);
  EXPECT_FLOAT_EQ(shapes[0].left, -1);
  EXPECT_FLOAT_EQ(shapes[0].top, -1);
  EXPECT_FLOAT_EQ(shapes[0].right, 641);
  EXPECT_FLOAT_EQ(shapes[0].bottom, 481);
  EXPECT_EQ(shapes[0].b, 40);
  EXPECT_EQ(shapes[0].a, 127);
}

TEST(GameShell, TheVirtualScreenKeepsOneDesignSideAndTheWindowShape) {
  struct Case {
    int width, height;
    float scale, vw, vh;
    int mode, landscape;
  };
  const Case cases[] = {
      {640, 480, 1, 640, 480, 1, 1},
      {1280, 720, 2, 640, 360, 1, 1},
      {480, 800, 800.0f / 480, 288, 480, 2, 0},
      {320, 480, 1, 320, 480, 2, 0},
      {1280, 960, 2, 640, 480, 1, 1},
  };
  for (const Case& c : cases) {
    Game game(c.width, c.height);
    bb_Vaultwick_MyApp& app = game.app();
    EXPECT_FLOAT_EQ(app.m_ScaleX, c.scale) << c.width << "x" << c.height;
    EXPECT_FLOAT_EQ(app.m_ScaleY, c.scale) << c.width << "x" << c.height;
    EXPECT_NEAR(bb_Vaultwick_jscrw, c.vw, 1e-3) << c.width << "x" << c.height;
    EXPECT_NEAR(bb_Vaultwick_jscrh, c.vh, 1e-3) << c.width << "x" << c.height;
    EXPECT_EQ(app.m_ScaleMode, c.mode) << c.width << "x" << c.height;
    EXPECT_EQ(app.m_Landscape, c.landscape) << c.width << "x" << c.height;
  }
}

TEST(GameShell, AWindowSizeChangeStartsAReloadOnce) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  game.FinishLoading();
  game.Render();
  EXPECT_EQ(app.m_LoadStep, 0);
  fakewin::state().width = 800;
  fakewin::state().height = 600;
  game.Render();
  EXPECT_EQ(app.m_LoadStep, 1);
  EXPECT_EQ(app.m_DevWidth, 800);
  EXPECT_EQ(app.m_DevHeight, 600);
  app.m_LoadStep = 0;
  game.Render();
  EXPECT_EQ(app.m_LoadStep, 0);
}

TEST(GameShell, TheRenderLeavesTheContextHalfTransparentWhite) {
  Game game;
  game.app().m_CLS2D(10, 20, 30, 1);
  game.app().m_SetCol(1, 2, 3, 0.25f);
  game.app().m_Rect(0, 0, 1, 1);
  game.Render();
  EXPECT_FLOAT_EQ(bb_graphics_context->m_alpha, 0.5f);
  EXPECT_FLOAT_EQ(bb_graphics_context->m_red, 255);
  EXPECT_FLOAT_EQ(bb_graphics_context->m_blue, 255);
}

TEST(GameShell, UpdatesMeasureTheirRateOnTheVirtualClock) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  game.Update();  // 16 ms after start
  EXPECT_EQ(app.m_UpdateLastMs, 16);
  EXPECT_EQ(app.m_UpdateFps, 62);
  EXPECT_EQ(app.m_UpdateFpsAvg, 6);
  game.Update();  // 33 ms
  EXPECT_EQ(app.m_UpdateFps, 58);
  EXPECT_EQ(app.m_UpdateFpsAvg, (58 + 9 * 6) / 10);
}

TEST(GameShell, TheRateMetersMeasureAcrossTheClocksWrap) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  fakewin::advance(2147483.648 - 0.030 - game.now());  // 30 ms before 2^31 ms
  game.Update();
  ASSERT_GT(app.m_UpdateLastMs, 2147483600);
  // The next update 50 ms later, past the wrap: the readings turn negative
  // and the interval between them is still 50 ms.
  fakewin::advance(0.050 - Game::kTick);
  game.Update();
  ASSERT_LT(app.m_UpdateLastMs, 0);
  EXPECT_EQ(app.m_UpdateFps, 20);
  game.Update();
  EXPECT_GE(app.m_UpdateFps, 58);
}

TEST(GameShell, ThePointerIsScannedInVirtualUnits) {
  Game game(1280, 960);
  bb_Vaultwick_MyApp& app = game.app();
  game.MoveMouse(200, 100);
  game.Update();
  EXPECT_EQ(app.m_PointerX, 100);
  EXPECT_EQ(app.m_PointerY, 50);
  EXPECT_EQ(app.m_PointerDown, 0);
  EXPECT_EQ(app.m_TouchDown[0], 0);
  EXPECT_EQ(app.m_TouchX[0], -3717);

  // A press shows no jump from the position before it.
  game.MoveMouse(401, 301);
  game.MouseDown();
  game.Update();
  EXPECT_EQ(app.m_PointerX, 200);
  EXPECT_EQ(app.m_PrevPointerX, 200);
  EXPECT_EQ(app.m_PrevPointerY, 150);
  EXPECT_EQ(app.m_PointerDown, 1);
  EXPECT_EQ(app.m_PointerHits, 1);
  EXPECT_EQ(app.m_TouchDown[0], 1);
  EXPECT_EQ(app.m_TouchX[0], 200);
  EXPECT_EQ(app.m_TouchY[0], 150);
  for (int i = 1; i < 10; ++i) EXPECT_EQ(app.m_TouchX[i], -3717);

  // While held, the previous position trails and the press is not counted again.
  game.MoveMouse(420, 300);
  game.Update();
  EXPECT_EQ(app.m_PrevPointerX, 200);
  EXPECT_EQ(app.m_PointerX, 210);
  EXPECT_EQ(app.m_PointerHits, 0);

  // A button first drawn under a pointer held since earlier is hit at once.
  app.m_ImgInfo[30] = 80;
  app.m_ImgInfo[31] = 32;
  app.m_AssetInvScale = 1;
  app.m_ResetDraw();
  EXPECT_EQ(app.m_Button(10, 210, 150, 0), 1);
}

TEST(GameShell, LatchesClearOnlyWhenNothingIsHeld) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  app.m_PointerLatch = 1;
  app.m_KeyLatch = 1;
  game.MouseDown();
  game.Press(WL_KEY_SPACE);
  game.Update();
  EXPECT_EQ(app.m_PointerLatch, 1);
  EXPECT_EQ(app.m_KeyLatch, 1);
  game.MouseUp();
  game.Update();
  EXPECT_EQ(app.m_PointerLatch, 0);
  EXPECT_EQ(app.m_KeyLatch, 1);
  game.Release(WL_KEY_SPACE);
  game.Update();
  EXPECT_EQ(app.m_KeyLatch, 0);
}

TEST(GameShell, BackClosesAnOpenBoxAndSpendsThePress) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  app.m_CreditBoxOpen = 1;
  app.m_BadgesBoxOpen = 1;
  game.Press(WL_KEY_ESC);
  game.Update();
  EXPECT_EQ(app.m_CreditBoxOpen, 0);
  EXPECT_EQ(app.m_BadgesBoxOpen, 0);
  EXPECT_EQ(app.m_KeyLatch, 1);
  EXPECT_EQ(app.m_PointerLatch, 1);

  // The same press, still held, does not close a box opened meanwhile.
  app.m_CreditBoxOpen = 1;
  game.Update();
  EXPECT_EQ(app.m_CreditBoxOpen, 1);

  // Nor does back close anything away from the menu.
  game.Release(WL_KEY_ESC);
  game.Update();
  app.m_Screen = 10;
  game.Press(WL_KEY_ESC);
  game.Update();
  EXPECT_EQ(app.m_CreditBoxOpen, 1);
}

TEST(GameShell, SuspendPausesARoundAndResumeKeepsItPaused) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  app.m_Screen = 10;
  bb_Vaultwick_iCadeControls = 1;
  app.m_Pad[3] = 2;
  app.m_OnSuspend();
  EXPECT_EQ(app.m_Paused, 1);
  EXPECT_EQ(app.m_PauseOpened, 1);
  EXPECT_EQ(app.m_PauseY, 240);
  EXPECT_EQ(bb_app_device->m_updateRate, 5);
  EXPECT_EQ(bb_Vaultwick_iCadeControls, 0);
  EXPECT_EQ(app.m_Pad[3], 0);
  app.m_OnResume();
  EXPECT_EQ(app.m_Paused, 1);
  EXPECT_EQ(app.m_PauseY, 240);
  EXPECT_EQ(bb_app_device->m_updateRate, 60);

  // In the menu nothing is paused.
  app.m_Screen = 1;
  app.m_OnSuspend();
  EXPECT_EQ(app.m_Paused, 0);
  EXPECT_EQ(app.m_PauseOpened, 0);
  EXPECT_EQ(app.m_PauseY, 0);
  app.m_OnResume();
  EXPECT_EQ(app.m_Paused, 0);
}

// The host tells the game through the device's hook when another window takes
// the focus; only a running round pauses, as if the pause key were pressed.
TEST(GameShell, LosingTheFocusOpensThePausePanelOnlyInARunningRound) {
  struct Case {
    const char* name;
    int screen, paused, roundOver;
    bool opens;
  };
  const Case cases[] = {
      {"round in play", 10, 0, 0, true},
      {"main menu", 1, 0, 0, false},
      {"back to the menu", 2, 0, 0, false},
      {"round being set up", 11, 0, 0, false},
      {"round already paused", 10, 1, 0, false},
      {"round over", 10, 0, 1, false},
  };
  Game game;
  game.FinishLoading();
  bb_Vaultwick_MyApp& app = game.app();
  ASSERT_NE(app.m_Sfx[98], nullptr);
  for (const Case& c : cases) {
    app.m_Screen = c.screen;
    app.m_Paused = c.paused;
    app.m_RoundOver = c.roundOver;
    app.m_PauseOpened = -1;
    app.m_PauseChoice = -1;
    app.m_PauseY = -64;
    fakeal::state().plays.clear();
    bb_app_device->OnFocusLost();
    EXPECT_EQ(app.m_Screen, c.screen) << c.name;
    EXPECT_EQ(app.m_Paused, c.opens ? 1 : c.paused) << c.name;
    EXPECT_EQ(app.m_PauseOpened, c.opens ? 1 : -1) << c.name;
    EXPECT_EQ(app.m_PauseChoice, c.opens ? 0 : -1) << c.name;
    EXPECT_EQ(app.m_PauseY, -64) << c.name;  // the panel slides in from off screen
    const std::vector<fakeal::PlayEvent>& plays = fakeal::state().plays;
    ASSERT_EQ(plays.size(), c.opens ? 1u : 0u) << c.name;
    if (!c.opens) continue;
    EXPECT_EQ(plays[0].buffer, app.m_Sfx[98]->m_sample->buffer);
    EXPECT_FLOAT_EQ(plays[0].pitch, 1);
    EXPECT_FLOAT_EQ(plays[0].gain, 0.5f);
    EXPECT_FLOAT_EQ(plays[0].pan, 0);
  }
}

// The framework does not suspend on a focus loss: the paused round keeps
// being updated, so the pause panel can run.
TEST(GameShell, AFocusLossInARoundKeepsTheGameUpdating) {
  Game game;
  game.FinishLoading();
  bb_Vaultwick_MyApp& app = game.app();
  app.m_Screen = 11;  // a round asked for by the menu
  game.Update();
  ASSERT_EQ(app.m_Screen, 10);
  bb_app_device->OnFocusLost();
  int before = app.m_UpdateLastMs;
  game.Update(3);
  EXPECT_EQ(app.m_Paused, 1);
  EXPECT_GT(app.m_UpdateLastMs, before);
  EXPECT_EQ(bb_app_device->m_updateRate, 60);
}

class Controls : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();
  gxtkInput* input_ = bb_input_device;

  void TearDown() override {
    bb_Vaultwick_iCadeControls = 0;
    bb_Vaultwick_OnScreenControls = 0;
    bb_Vaultwick_AccelerometerControls = 0;
  }

  // The stick's image records of the last update, in drawing order.
  std::vector<gameharness::Record> StickImages() const {
    std::vector<gameharness::Record> out;
    for (const gameharness::Record& r : game_.DisplayList())
      if (r.kind == 94) out.push_back(r);
    return out;
  }

  // Button `button` with only framework key `key` down.
  int WithKey(int button, int key) {
    input_->OnKeyDown(key);
    int held = app_.m_PlayKey(button);
    input_->OnKeyUp(key);
    return held;
  }
  int WithStick(int button, float x, float y) {
    input_->stickAxes[0] = x;
    input_->stickAxes[1] = y;
    int held = app_.m_PlayKey(button);
    input_->stickAxes[0] = input_->stickAxes[1] = 0;
    return held;
  }
  // Paused as the pause key leaves a round: the panel is down and stays.
  void PauseWithPanelUp() {
    app_.m_Paused = 1;
    app_.m_PauseOpened = 1;
    app_.m_PauseY = 248;
  }
  int WithPad(int button, int entry) {
    app_.m_Pad[entry] = 2;
    int held = app_.m_PlayKey(button);
    app_.m_Pad[entry] = 0;
    return held;
  }
};

TEST_F(Controls, EveryButtonAnswersToEachOfItsKeys) {
  struct Case {
    int button;
    std::vector<int> always, withoutICade;
  };
  const Case cases[] = {
      {0, {38, 256 + 9}, {'W'}},
      {3, {37, 256 + 8}, {'A'}},
      {5, {39, 256 + 10}, {'D'}},
      {8, {40, 256 + 11}, {'S'}},
      {10, {32, 13, 256}, {'Z', 'J'}},
      {11, {17, 257}, {'X', 'K', 2}},
      {12, {16, 258}, {'C', 'L'}},
      {13, {259}, {'V', 'I'}},
      {99, {27, 46, 8, 256 + 7}, {}},
  };
  for (int icade = 0; icade <= 1; ++icade) {
    bb_Vaultwick_iCadeControls = icade;
    for (const Case& c : cases) {
      EXPECT_EQ(app_.m_PlayKey(c.button), 0) << "button " << c.button;
      for (int key : c.always) EXPECT_EQ(WithKey(c.button, key), 1) << "button " << c.button << " key " << key;
      for (int key : c.withoutICade)
        EXPECT_EQ(WithKey(c.button, key), 1 - icade) << "button " << c.button << " key " << key << " icade " << icade;
    }
  }
  bb_Vaultwick_iCadeControls = 0;
  // A key of one button is not another's.
  EXPECT_EQ(WithKey(0, 'S'), 0);
  EXPECT_EQ(WithKey(10, 'W'), 0);
  EXPECT_EQ(WithKey(14, 'W'), 0);
  EXPECT_EQ(WithKey(7, 'W'), 0);
}

TEST_F(Controls, TheStickCountsOnlyBeyondFourTenths) {
  EXPECT_EQ(WithStick(0, 0, -0.41f), 1);
  EXPECT_EQ(WithStick(0, 0, -0.4f), 0);
  EXPECT_EQ(WithStick(8, 0, 0.41f), 1);
  EXPECT_EQ(WithStick(8, 0, 0.4f), 0);
  EXPECT_EQ(WithStick(3, -0.41f, 0), 1);
  EXPECT_EQ(WithStick(3, -0.4f, 0), 0);
  EXPECT_EQ(WithStick(5, 0.41f, 0), 1);
  EXPECT_EQ(WithStick(5, 0.4f, 0), 0);
  EXPECT_EQ(WithStick(5, -0.9f, 0), 0);
  EXPECT_EQ(WithStick(10, 0.9f, 0.9f), 0);
}

TEST_F(Controls, PadEntriesHoldTheirButtonsAndBothBackHalvesReadAsBack) {
  for (int button : {0, 3, 5, 8, 10, 11, 12, 13}) EXPECT_EQ(WithPad(button, button), 1) << button;
  EXPECT_EQ(WithPad(99, 16), 1);
  EXPECT_EQ(WithPad(99, 17), 1);
  EXPECT_EQ(WithPad(0, 1), 0);
  // Any iCade setting but off and on silences every button.
  bb_Vaultwick_iCadeControls = 2;
  EXPECT_EQ(WithKey(10, 32), 0);
  EXPECT_EQ(WithPad(0, 0), 0);
}

TEST_F(Controls, ICadeLettersPressAndReleaseWithinOneUpdate) {
  app_.m_iCade(1);
  game_.Type("w");
  game_.Update();
  EXPECT_EQ(app_.m_Pad[0], 2);
  EXPECT_EQ(app_.m_PlayKey(0), 1);
  game_.Update();
  EXPECT_EQ(app_.m_Pad[0], 2);  // held until its release letter
  game_.Type("E");
  game_.Update();
  EXPECT_EQ(app_.m_Pad[0], 0);

  // Press and release in one update cancel out; other buttons are untouched.
  game_.Type("Hwe?");
  game_.Update();
  EXPECT_EQ(app_.m_Pad[0], 0);
  EXPECT_EQ(app_.m_Pad[10], 2);

  // Every letter pair reaches its button.
  const char* releases = "EZQCTFMGRNPV";
  const int buttons[] = {0, 8, 3, 5, 13, 14, 15, 16, 10, 11, 12, 17};
  const char press[] = {'W', 'X', 'A', 'D', 'Y', 'U', 'I', 'O', 'H', 'J', 'K', 'L'};
  for (int i = 0; i < 12; ++i) {
    game_.Type(std::string(1, static_cast<char>(press[i] + 32)));
    game_.Update();
    EXPECT_EQ(app_.m_Pad[buttons[i]], 2) << press[i];
    game_.Type(std::string(1, releases[i]));
    game_.Update();
    EXPECT_EQ(app_.m_Pad[buttons[i]], 0) << releases[i];
  }
}

TEST_F(Controls, SwitchingTheICadeDropsTypedLettersAndClearsThePads) {
  input_->PutChar('w');
  app_.m_iCade(1);
  EXPECT_EQ(bb_Vaultwick_iCadeControls, 1);
  EXPECT_EQ(input_->GetChar(), 0);
  EXPECT_EQ(app_.m_Held, 0);
  game_.Update();
  EXPECT_EQ(app_.m_Pad[0], 0);

  app_.m_Pad[5] = 2;
  app_.m_Pad[19] = 1;
  app_.m_iCade(7);  // not a switch position: nothing changes
  EXPECT_EQ(bb_Vaultwick_iCadeControls, 1);
  EXPECT_EQ(app_.m_Pad[5], 2);
  app_.m_iCade(0);
  EXPECT_EQ(bb_Vaultwick_iCadeControls, 0);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(app_.m_Pad[i], 0) << i;
  EXPECT_EQ(app_.m_Iter, 20);

  // With the iCade off, typed letters are not read as iCade presses.
  game_.Type("w");
  game_.Update();
  EXPECT_EQ(app_.m_Pad[0], 0);
}

TEST_F(Controls, KeysPressedThroughTheWindowReachTheButtons) {
  game_.Press('W');
  game_.Update();
  EXPECT_EQ(app_.m_PlayKey(0), 1);
  game_.Release('W');
  game_.Press(WL_KEY_LEFT);
  game_.Update();
  EXPECT_EQ(app_.m_PlayKey(0), 0);
  EXPECT_EQ(app_.m_PlayKey(3), 1);
}

TEST_F(Controls, OnScreenPadEntriesLastOneUpdate) {
  app_.m_Pad[10] = 1;
  app_.m_Pad[11] = 2;
  game_.Update();
  EXPECT_EQ(app_.m_Pad[10], 0);
  EXPECT_EQ(app_.m_Pad[11], 2);
}

TEST_F(Controls, TheOnScreenStickIsPulledOnScreenAndDrawnAroundItsCentre) {
  game_.FinishLoading();
  bb_Vaultwick_OnScreenControls = 1;
  app_.m_Screen = 10;
  app_.m_Settings[10] = 1000;
  app_.m_Settings[11] = 0;
  app_.m_Settings[12] = 99;
  game_.Update();
  EXPECT_EQ(app_.m_Settings[10], 608);
  EXPECT_EQ(app_.m_Settings[11], 32);
  EXPECT_EQ(app_.m_Settings[12], 25);
  EXPECT_EQ(app_.m_StickX, 608);
  EXPECT_EQ(app_.m_StickY, 448);
  EXPECT_FLOAT_EQ(app_.m_StickScale, 2.5f);

  app_.m_Settings[10] = 100;
  app_.m_Settings[11] = 100;
  app_.m_Settings[12] = 10;
  app_.m_CLS2D(bb_Vaultwick_MyApp::kAbsent, 0, 0, 0);  // no screen clears the list yet
  game_.Update();
  std::vector<gameharness::Record> images = StickImages();
  ASSERT_EQ(images.size(), 7u);
  struct Expected {
    float x, y, frame, size;
  };
  // Left, up, down, right, the centre, then the two action buttons mirrored
  // to the other side of the screen.
  const Expected expected[] = {{68, 380, 4, 1},  {100, 348, 1, 1},   {100, 412, 9, 1},  {132, 380, 6, 1},
                               {100, 380, 5, 1}, {564, 356, 0, 1.5f}, {516, 404, 0, 1.5f}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_FLOAT_EQ(images[i].x, expected[i].x) << i;
    EXPECT_FLOAT_EQ(images[i].y, expected[i].y) << i;
    EXPECT_FLOAT_EQ(images[i].frame, expected[i].frame) << i;
    EXPECT_FLOAT_EQ(images[i].w, expected[i].size) << i;
    EXPECT_FLOAT_EQ(images[i].alpha, 0.6f) << i;
  }

  // Away from a round the stick is neither drawn nor read.
  app_.m_Screen = 1;
  app_.m_CLS2D(bb_Vaultwick_MyApp::kAbsent, 0, 0, 0);
  game_.Update();
  EXPECT_TRUE(StickImages().empty());
}

TEST_F(Controls, OnScreenButtonsHoldForOneUpdateAndArrowsRestWhilePaused) {
  game_.FinishLoading();
  bb_Vaultwick_OnScreenControls = 1;
  app_.m_Screen = 10;
  app_.m_Settings[10] = 100;
  app_.m_Settings[11] = 100;
  app_.m_Settings[12] = 10;
  game_.MoveMouse(68, 380);  // on the left arrow
  game_.MouseDown();
  game_.Update();
  EXPECT_EQ(app_.m_Pad[3], 1);
  EXPECT_EQ(app_.m_PlayKey(3), 1);
  game_.MouseUp();
  game_.Update();
  EXPECT_EQ(app_.m_Pad[3], 0);

  PauseWithPanelUp();
  game_.MoveMouse(564, 356);  // the first action button
  game_.MouseDown();
  game_.Update();
  EXPECT_EQ(app_.m_Pad[10], 1);
  game_.MoveMouse(68, 380);
  game_.Update();
  EXPECT_EQ(app_.m_Pad[10], 0);
  EXPECT_EQ(app_.m_Pad[3], 0);
}

TEST_F(Controls, WhilePausedTheStickFollowsAContactOnItsCentre) {
  game_.FinishLoading();
  bb_Vaultwick_OnScreenControls = 1;
  app_.m_Screen = 10;
  PauseWithPanelUp();
  app_.m_Settings[10] = 100;
  app_.m_Settings[11] = 100;
  app_.m_Settings[12] = 10;
  game_.MoveMouse(120, 390);  // inside the centre drawn three times as large
  game_.MouseDown();
  game_.Update();
  EXPECT_EQ(app_.m_Settings[10], 120);
  EXPECT_EQ(app_.m_Settings[11], 90);
  game_.Update();
  EXPECT_EQ(app_.m_StickX, 120);
  EXPECT_EQ(app_.m_StickY, 390);
}

TEST_F(Controls, TheTiltDotEasesTowardTheTiltAndCalibrationZeroesIt) {
  game_.FinishLoading();
  bb_Vaultwick_AccelerometerControls = 1;
  // The desktop reads no tilt, so a neutral point off zero shows as tilt.
  app_.m_AccelBaseX = 0.4f;
  app_.m_AccelBaseY = 0.004f;
  game_.Update();
  EXPECT_FLOAT_EQ(app_.m_TiltX, -0.4f);
  EXPECT_FLOAT_EQ(app_.m_TiltSmoothX, -0.1f);
  EXPECT_FLOAT_EQ(app_.m_TiltSmoothY, -0.004f);  // close enough to snap
  std::vector<gameharness::Record> list = game_.DisplayList();
  ASSERT_FALSE(list.empty());
  EXPECT_TRUE(list.back().is_oval());
  EXPECT_FLOAT_EQ(list.back().x, 22);
  EXPECT_FLOAT_EQ(list.back().g, 255);
  game_.Update();
  EXPECT_NEAR(app_.m_TiltSmoothX, -0.175f, 1e-6);

  game_.MoveMouse(24, 456);  // the calibration button
  game_.MouseDown();
  game_.Update();
  EXPECT_FLOAT_EQ(app_.m_AccelBaseX, 0);
  EXPECT_FLOAT_EQ(app_.m_AccelBaseY, 0);

  // With the iCade on, tilt is neither read nor shown.
  app_.m_iCade(1);
  game_.Update();
  EXPECT_FLOAT_EQ(app_.m_TiltX, 0);
  EXPECT_FLOAT_EQ(app_.m_TiltSmoothX, 0);
}

// Every update ends with the badge notifications, whatever the screen, so a
// badge earned anywhere is announced there.
TEST(GameShellBadges, EveryUpdateDrawsTheNotificationsOverItsScreen) {
  Game game;
  game.app().m_GiveBadge(3);
  game.Update();  // still loading: the loading screen carries it too
  bool shown = false;
  for (const gameharness::Record& r : game.DisplayList())
    if (r.is_rect() && r.r == 0 && r.g == 0 && r.b == 140 && r.y == 480 - 34) shown = true;
  EXPECT_TRUE(shown);
  EXPECT_EQ(game.app().m_NoteBusy[0], 2);
}

}  // namespace
