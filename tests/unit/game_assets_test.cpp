// The asset loader over the real files of data/: the art resolution for the
// window, one step per update behind the loading screen, the restart on a new
// window size; and the sound player's channel rotation over the recording AL.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "audio/audio.h"
#include "fake_al.h"
#include "fake_window.h"
#include "game_harness.h"
#include "graphics/context.h"

namespace {

using gameharness::Game;

struct Sheet {
  int slot, width, height, frames;  // frame size at scale 1
};
const Sheet kSheets[] = {
    {1, 32, 32, 50},   {2, 320, 16, 10},  {3, 32, 32, 1},    {10, 80, 32, 20},  {80, 64, 64, 64},
    {92, 64, 64, 2},   {93, 256, 256, 1}, {94, 32, 32, 16},  {96, 8, 8, 16},    {97, 32, 32, 16},
    {98, 256, 128, 1}, {99, 256, 256, 4},
};

TEST(GameAssets, TheArtResolutionFollowsTheWindowSize) {
  struct Case {
    int width, height, scale;
  };
  const Case cases[] = {{630, 630, 1}, {631, 480, 2}, {640, 480, 2}, {480, 631, 2}, {1230, 1230, 2},
                        {1231, 480, 4}, {640, 1231, 4}};
  for (const Case& c : cases) {
    Game game(c.width, c.height);
    bb_Vaultwick_MyApp& app = game.app();
    EXPECT_EQ(app.m_AssetScale, c.scale) << c.width << "x" << c.height;
    EXPECT_FLOAT_EQ(app.m_AssetInvScale, 1.0f / static_cast<float>(c.scale)) << c.width << "x" << c.height;
    // The logo is loaded at creation from the file of that resolution.
    ASSERT_NE(app.m_Img[93], nullptr) << c.width << "x" << c.height;
    EXPECT_EQ(app.m_Img[93]->m_width, 256 * c.scale) << c.width << "x" << c.height;
    EXPECT_EQ(app.m_LoadStep, 1);
  }
}

TEST(GameAssets, TheLoaderFillsEverySlotInThirtyNineUpdates) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  // One file per update: step 2 loads nothing but still takes its update.
  game.Update();
  EXPECT_NE(app.m_Img[97], nullptr);
  EXPECT_EQ(app.m_LoadStep, 2);
  game.Update();
  EXPECT_EQ(app.m_Img[94], nullptr);
  game.Update();
  EXPECT_NE(app.m_Img[94], nullptr);

  EXPECT_EQ(3 + game.FinishLoading(), 39);
  EXPECT_EQ(app.m_LoadStep, 0);

  for (const Sheet& s : kSheets) {
    ASSERT_NE(app.m_Img[s.slot], nullptr) << "slot " << s.slot;
    // A 640 x 480 window takes the double-resolution files.
    EXPECT_EQ(app.m_ImgInfo[3 * s.slot], 2 * s.width) << "slot " << s.slot;
    EXPECT_EQ(app.m_ImgInfo[3 * s.slot + 1], 2 * s.height) << "slot " << s.slot;
    EXPECT_EQ(app.m_ImgInfo[3 * s.slot + 2], s.frames) << "slot " << s.slot;
    EXPECT_EQ(app.m_Img[s.slot]->m_width, 2 * s.width) << "slot " << s.slot;
    EXPECT_EQ(app.m_Img[s.slot]->m_frames.Length(), s.frames) << "slot " << s.slot;
  }
  // The font keeps its metrics in virtual units and becomes the current one.
  ASSERT_NE(app.m_Img[90], nullptr);
  EXPECT_EQ(app.m_Img[90]->m_width, 32);
  EXPECT_EQ(app.m_ImgInfo[270], 7);
  EXPECT_EQ(app.m_ImgInfo[271], 10);
  EXPECT_EQ(app.m_ImgInfo[272], 128);
  EXPECT_EQ(app.m_FontImg, 90);

  std::vector<int> sounds = {1, 95, 98, 99};
  for (int slot = 2; slot <= 22; ++slot) sounds.push_back(slot);
  for (int slot : sounds) {
    ASSERT_NE(app.m_Sfx[slot], nullptr) << "sound " << slot;
    EXPECT_NE(app.m_Sfx[slot]->m_sample, nullptr) << "sound " << slot;
  }
  EXPECT_EQ(app.m_Sfx[0], nullptr);
  EXPECT_EQ(app.m_Sfx[23], nullptr);
  EXPECT_EQ(app.m_SfxSet, 0);
  EXPECT_FLOAT_EQ(app.m_MenuScroll, 480 * 0.65f - static_cast<float>(app.m_MenuMode - 1) * 82);
}

TEST(GameAssets, TheLoadingScreenIsDrawnAfterEveryStep) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  game.Update();
  EXPECT_EQ(app.m_Spin, 16);
  EXPECT_FLOAT_EQ(app.m_ClearR, 40);
  EXPECT_FLOAT_EQ(app.m_ClearB, 80);
  EXPECT_FLOAT_EQ(app.m_ClearA, 1);
  std::vector<gameharness::Record> list = game.DisplayList();
  ASSERT_EQ(list.size(), 25u);
  // The dot ring starts transparent half a turn past the spinner angle.
  EXPECT_TRUE(list[0].is_oval());
  EXPECT_FLOAT_EQ(list[0].alpha, 0);
  EXPECT_NEAR(list[0].x, 320 + 480 * std::sin(196 * D2R) / 4, 1e-3);
  EXPECT_NEAR(list[0].y, 240 - 480 * std::cos(196 * D2R) / 4, 1e-3);
  EXPECT_FLOAT_EQ(list[10].alpha, 1);
  EXPECT_FLOAT_EQ(list[11].w, 144);  // the sun, 0.3 of the short side
  EXPECT_TRUE(list[12].is_rect());
  EXPECT_FLOAT_EQ(list[12].y, 192);
  EXPECT_FLOAT_EQ(list[12].w, 640);
  EXPECT_FLOAT_EQ(list[12].h, 96);
  EXPECT_FLOAT_EQ(list[13].kind, 93);
  EXPECT_FLOAT_EQ(list[13].x, 320);
  EXPECT_NEAR(list[13].y, 230.4f, 1e-3);
  EXPECT_FLOAT_EQ(list[13].r, 255);
  EXPECT_FLOAT_EQ(list[24].r, 50);

  // Its last frame is drawn by the update that ends the load.
  game.FinishLoading();
  EXPECT_EQ(game.DisplayList().size(), 25u);
  game.Render();
  std::vector<gameharness::Shape> shapes = game.Shapes();
  ASSERT_FALSE(shapes.empty());
  EXPECT_EQ(shapes[0].b, 80);
}

TEST(GameAssets, ANewWindowSizeLoadsEverythingAgainAtItsResolution) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  game.FinishLoading();
  ASSERT_EQ(app.m_ImgInfo[3 * 99], 512);
  fakewin::state().width = 1280;
  fakewin::state().height = 960;
  game.Render();
  EXPECT_EQ(app.m_LoadStep, 1);
  EXPECT_EQ(game.FinishLoading(), 39);
  EXPECT_EQ(app.m_AssetScale, 4);
  for (const Sheet& s : kSheets) {
    ASSERT_NE(app.m_Img[s.slot], nullptr) << "slot " << s.slot;
    EXPECT_EQ(app.m_Img[s.slot]->m_width, 4 * s.width) << "slot " << s.slot;
  }
}

TEST(GameAssets, SoundFileNamesCarryTheSlotAndVariant) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  struct Case {
    int slot, variant;
    bool exists;
  };
  // The repository has variant sets 2, 3, 5 and 8 of sounds 2 to 4 only.
  const Case cases[] = {{7, 0, true}, {13, 0, true}, {95, 0, true}, {2, 3, true}, {4, 8, true},
                        {2, 4, false}, {5, 2, false}, {23, 0, false}};
  for (const Case& c : cases) {
    app.m_LoadSFX(c.slot, c.variant);
    EXPECT_EQ(app.m_Sfx[c.slot] != nullptr, c.exists) << c.slot << " variant " << c.variant;
  }
  // A negative variant loads nothing and leaves the slot as it was.
  app.m_LoadSFX(7, -1);
  EXPECT_NE(app.m_Sfx[7], nullptr);
  app.m_LoadSFX(23, -1);
  EXPECT_EQ(app.m_Sfx[23], nullptr);
}

TEST(GameAssets, OnlySomeVariantsHaveTheirOwnSounds) {
  Game game;
  bb_Vaultwick_MyApp& app = game.app();
  for (int mode = -1; mode <= 11; ++mode) {
    app.m_Mode = mode;
    bool own = mode == 2 || mode == 3 || mode == 5 || mode == 8;
    EXPECT_EQ(app.m_GetSFX(), own ? 1 : 0) << "variant " << mode;
  }
}

class SoundPlayer : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  void SetUp() override { game_.FinishLoading(); }

  unsigned int SourceOf(int channel) const { return bb_audio_device->channels[channel].source; }
};

TEST_F(SoundPlayer, SoundOffTouchesNoChannel) {
  for (int setting : {0, 3, -1}) {
    app_.m_Settings[5] = setting;
    size_t before = fakeal::state().log.size();
    app_.m_PlaySFX(1, 1, 1, 0);
    EXPECT_EQ(app_.m_SfxCursor, 0) << setting;
    EXPECT_EQ(fakeal::state().log.size(), before) << setting;
  }
  app_.m_Settings[5] = 2;
  app_.m_PlaySFX(1, 1, 1, 0);
  EXPECT_EQ(app_.m_SfxCursor, 1);
}

TEST_F(SoundPlayer, SoundsRotateThroughTwentyFourChannelsSetUpBeforeTheyPlay) {
  fakeal::state().plays.clear();
  for (int i = 0; i < 25; ++i) app_.m_PlaySFX(5, 0.5f + 0.01f * static_cast<float>(i), 0.25f, -0.5f);
  const std::vector<fakeal::PlayEvent>& plays = fakeal::state().plays;
  ASSERT_EQ(plays.size(), 25u);
  std::set<unsigned int> sources;
  for (int i = 0; i < 24; ++i) {
    // The cursor moves before each sound: channel 1 first, channel 0 last.
    EXPECT_EQ(plays[i].source, SourceOf((i + 1) % 24)) << i;
    EXPECT_FLOAT_EQ(plays[i].pitch, 0.5f + 0.01f * static_cast<float>(i)) << i;
    EXPECT_FLOAT_EQ(plays[i].gain, 0.25f) << i;
    EXPECT_FLOAT_EQ(plays[i].pan, -0.5f) << i;
    EXPECT_FALSE(plays[i].looping);
    sources.insert(plays[i].source);
  }
  EXPECT_EQ(sources.size(), 24u);
  EXPECT_EQ(SourceOf(24), 0u);  // never used
  // The 25th sound takes the first one's channel, stopping it.
  EXPECT_EQ(plays[24].source, plays[0].source);
  EXPECT_EQ(app_.m_SfxCursor, 1);
}

TEST_F(SoundPlayer, AnEmptySlotStillStopsAndSetsUpItsChannel) {
  app_.m_PlaySFX(1, 1, 1, 0);
  unsigned int source = SourceOf(1);
  ASSERT_NE(source, 0u);
  ASSERT_EQ(fakeal::state().sources[source].state, AL_PLAYING);
  app_.m_SfxCursor = 0;
  fakeal::state().plays.clear();
  app_.m_PlaySFX(50, 2, 0.5f, 1);
  EXPECT_TRUE(fakeal::state().plays.empty());
  EXPECT_EQ(fakeal::state().sources[source].state, AL_STOPPED);
  EXPECT_FLOAT_EQ(fakeal::state().sources[source].pitch, 2);
  EXPECT_FLOAT_EQ(fakeal::state().sources[source].gain, 0.5f);
  EXPECT_FLOAT_EQ(fakeal::state().sources[source].position[0], 1);
}

TEST_F(SoundPlayer, SlotsOutsideTheTablePlayAndChangeNothing) {
  for (int slot : {-1, 100, 12345}) {
    size_t before = fakeal::state().log.size();
    app_.m_PlaySFX(slot, 1, 1, 0);
    EXPECT_EQ(app_.m_SfxCursor, 0) << slot;
    EXPECT_EQ(fakeal::state().log.size(), before) << slot;
  }
  app_.m_PlaySFX(99, 1, 1, 0);
  EXPECT_EQ(app_.m_SfxCursor, 1);
}

}  // namespace
