// The game's music through the whole-game harness and the recording AL: which
// channels each of the four sound states plays, the menu's theme giving way to
// the round's loop with a fade, the pause panel lowering it, suspension, the
// sound button switching it at once, the player's music volume, and missing or
// damaged music files. The tracks are made here, one per file the game's table
// names, each at its own sample rate so the fake's buffers tell them apart.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "fake_al.h"
#include "game_harness.h"
#include "play_helpers.h"

namespace {

namespace fs = std::filesystem;
using gameharness::Game;

const int kTracks = 10;  // the menu's theme and variants 1..9
const int kRates[kTracks] = {22050, 8000, 11025, 12000, 16000, 24000, 32000, 44100, 48000, 20000};
const int kMusicChannel = gxtkAudio::kMusicChannel;
const int kEffectChannels = 24;

class GameMusic : public ::testing::Test {
 protected:
  static std::string fixtures;
  std::unique_ptr<Game> game_;
  std::map<std::string, int> rateOf_;  // sample rate of each music file the game finds

  static void SetUpTestSuite() {
    char name[] = "/tmp/vw_game_music_XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    fixtures = name;
    for (int t = 0; t < kTracks; ++t) {
      std::string wav = fixtures + "/track" + std::to_string(t) + ".wav";
      run("sox -V1 -r " + std::to_string(kRates[t]) + " -c 1 -n -b 16 " + wav + " synth 0.5 sine 440");
      run("oggenc -Q -o " + fixtures + "/track" + std::to_string(t) + ".ogg " + wav);
    }
    // Two seconds of noise spread over several pages, one of them damaged.
    run("sox -V1 -r 22050 -c 1 -n -b 16 " + fixtures + "/noise.wav synth 2 pinknoise vol 0.5");
    run("oggenc -Q -o " + fixtures + "/noise.ogg " + fixtures + "/noise.wav");
    run("python3 -c \"import sys; b=bytearray(open(sys.argv[1],'rb').read()); b[len(b)*3//4]^=0x55; "
        "open(sys.argv[2],'wb').write(b)\" " + fixtures + "/noise.ogg " + fixtures + "/damaged.ogg");
  }
  static void TearDownTestSuite() { run("rm -rf " + fixtures); }
  static void run(const std::string& command) { ASSERT_EQ(0, std::system(command.c_str())) << command; }

  void TearDown() override { game_.reset(); }

  // A fresh game whose data/ is the repository's with the music made here in
  // place of whatever data/music/ holds (none at all without `music`), at the
  // sound setting `sound`, loaded and at the menu.
  void Start(int sound, bool music = true) {
    game_.reset();
    game_ = std::make_unique<Game>();
    UseMusic(music);
    app().m_Settings[5] = sound;
    game_->FinishLoading();
    app().m_MenuIntro = 0;  // past the slide-in, the buttons where they stay
    game_->Update(2);
  }

  // Runs in the game's own working folder: its data/ link becomes a folder.
  void UseMusic(bool music) {
    rateOf_.clear();
    ASSERT_EQ(0, unlink("data"));
    fs::create_directory("data");
    for (const fs::directory_entry& entry : fs::directory_iterator(VW_SOURCE_DIR "/data"))
      if (entry.path().filename() != "music") fs::create_symlink(entry.path(), fs::path("data") / entry.path().filename());
    if (!music) return;
    for (int t = 0; t < kTracks; ++t) {
      std::string file = bb_Vaultwick_MusicFile(t).ToUtf8();
      ASSERT_FALSE(file.empty()) << "track " << t;
      if (rateOf_.count(file)) continue;  // variants that share a loop
      fs::create_directories((fs::path("data") / file).parent_path());
      fs::create_symlink(fixtures + "/track" + std::to_string(t) + ".ogg", fs::path("data") / file);
      rateOf_[file] = kRates[t];
    }
  }
  // Puts `fixture` where the game looks for the menu's theme.
  void ReplaceMenuTheme(const std::string& fixture) {
    fs::path theme = fs::path("data") / bb_Vaultwick_MusicFile(0).ToUtf8();
    fs::remove(theme);
    fs::create_symlink(fixtures + "/" + fixture, theme);
  }

  bb_Vaultwick_MyApp& app() { return game_->app(); }
  int RateOf(int track) { return rateOf_[bb_Vaultwick_MusicFile(track).ToUtf8()]; }
  fakeal::Source* Music() { return fakeal::source(bb_audio_device->channels[kMusicChannel].source); }
  bool MusicOn() { return Music() && Music()->state == AL_PLAYING && !Music()->queue.empty(); }
  // The rate of the music last queued: which track is playing.
  int MusicRate() { return MusicOn() ? fakeal::buffer(Music()->queue.back())->frequency : 0; }
  float MusicGain() { return Music() ? Music()->gain : -1; }

  bool EffectPlayed() {
    for (const fakeal::PlayEvent& play : fakeal::state().plays)
      for (int c = 0; c < kEffectChannels; ++c)
        if (play.source == bb_audio_device->channels[c].source) return true;
    return false;
  }
  void TapKey(int key) {
    game_->Press(key);
    game_->Update();
    game_->Release(key);
    game_->Update();
  }
  // A tap on the menu's sound button, the music heard right after it.
  void TapSoundButton() {
    game_->MoveMouse(48, 192);
    game_->MouseDown();
    game_->Update();
  }
  void LiftPointer() {
    game_->MouseUp();
    game_->Update();
  }
};

std::string GameMusic::fixtures;

// 0 silent, 1 effects and music, 2 effects only, 3 music only: at the menu and
// in a round, the music on channel 32 and the effects on channels 0..23.
TEST_F(GameMusic, EachSoundStatePlaysItsOwnChannels) {
  struct Case {
    int sound;
    bool effects, music;
  } cases[] = {{0, false, false}, {1, true, true}, {2, true, false}, {3, false, true}};
  for (const Case& c : cases) {
    Start(c.sound);
    EXPECT_EQ(1, bb_Vaultwick_HasMusic);
    EXPECT_EQ(c.music, MusicOn()) << "menu, state " << c.sound;
    if (c.music) {
      EXPECT_EQ(RateOf(0), MusicRate()) << "the menu's theme";
    }
    game_->ClearSounds();
    TapKey(WL_KEY_DOWN);  // the menu's selection moves, with a click
    EXPECT_EQ(c.effects, EffectPlayed()) << "state " << c.sound;
    playtest::StartRound(*game_, 1);
    game_->Update(60);
    EXPECT_EQ(c.music, MusicOn()) << "round, state " << c.sound;
    if (c.music) {
      EXPECT_EQ(RateOf(app().m_Mode), MusicRate()) << "the variant's loop";
    }
  }
}

// The menu's theme fades out over a few updates of the round before the
// round's loop starts and fades in; the round's end brings the theme back the
// same way.
TEST_F(GameMusic, TracksChangeWithAFadeNotACut) {
  Start(1);
  ASSERT_TRUE(MusicOn());
  EXPECT_FLOAT_EQ(1.0f, MusicGain());
  playtest::StartRound(*game_, 2);
  std::vector<float> gains;
  for (int n = 0; n < 100 && MusicRate() == RateOf(0); ++n) {
    gains.push_back(MusicGain());
    game_->Update();
  }
  ASSERT_GE(gains.size(), 10u) << "a fade, not a cut";
  EXPECT_LE(gains.size(), 40u) << "a short one";
  for (size_t i = 1; i < gains.size(); ++i) EXPECT_LT(gains[i], gains[i - 1]) << "update " << i;
  EXPECT_LT(gains.back(), 0.1f);
  EXPECT_EQ(RateOf(app().m_Mode), MusicRate());
  EXPECT_LT(MusicGain(), 0.2f) << "the loop fades in";
  game_->Update(40);
  EXPECT_FLOAT_EQ(1.0f, MusicGain());

  app().m_RoundOver = 1;
  for (int n = 0; n < 300 && app().m_Screen != 1; ++n) game_->Update();
  ASSERT_EQ(1, app().m_Screen);
  game_->Update(60);
  EXPECT_EQ(RateOf(0), MusicRate()) << "back to the menu's theme";
  EXPECT_FLOAT_EQ(1.0f, MusicGain());
}

TEST_F(GameMusic, ThePausePanelLowersTheMusic) {
  Start(1);
  playtest::StartRound(*game_, 1);
  game_->Update(60);
  ASSERT_FLOAT_EQ(1.0f, MusicGain());
  TapKey(WL_KEY_ESC);
  ASSERT_EQ(1, app().m_Paused);
  game_->Update(30);
  EXPECT_NEAR(0.35f, MusicGain(), 1e-4f);
  EXPECT_TRUE(MusicOn()) << "lowered, not stopped";
  TapKey(WL_KEY_ESC);
  game_->Update(30);
  EXPECT_EQ(0, app().m_Paused);
  EXPECT_FLOAT_EQ(1.0f, MusicGain());
}

// Iconifying (or hiding the page) pauses the music where it is; restoring
// plays it on. A round comes back under the pause panel, so lowered.
TEST_F(GameMusic, SuspensionSilencesTheMusicAndResumingBringsItBack) {
  Start(1);
  ASSERT_TRUE(MusicOn());
  ::app->InvokeOnSuspend();
  EXPECT_EQ(AL_PAUSED, Music()->state);
  size_t queued = Music()->queue.size();
  ::app->InvokeOnResume();
  EXPECT_EQ(AL_PLAYING, Music()->state);
  EXPECT_TRUE(fakeal::state().plays.back().resumed) << "played on, not restarted";
  EXPECT_EQ(queued, Music()->queue.size());

  playtest::StartRound(*game_, 1);
  game_->Update(60);
  ::app->InvokeOnSuspend();
  EXPECT_EQ(AL_PAUSED, Music()->state);
  ::app->InvokeOnResume();
  game_->Update(30);
  EXPECT_EQ(AL_PLAYING, Music()->state);
  EXPECT_NEAR(0.35f, MusicGain(), 1e-4f);
}

// Each tap on the menu's sound button moves the setting on, and the music
// follows in the same update.
TEST_F(GameMusic, TheSoundButtonSwitchesTheMusicAtOnce) {
  Start(1);
  ASSERT_TRUE(MusicOn());
  struct Step {
    int sound;
    bool music;
  } steps[] = {{2, false}, {3, true}, {0, false}, {1, true}};
  for (const Step& s : steps) {
    TapSoundButton();
    EXPECT_EQ(s.sound, app().m_Settings[5]);
    EXPECT_EQ(s.music, MusicOn()) << "state " << s.sound;
    if (s.music) {
      EXPECT_FLOAT_EQ(1.0f, MusicGain()) << "state " << s.sound;
    }
    LiftPointer();
  }
}

// Slot 14 holds the player's music volume in steps of 10 % down from full;
// every save made so far has 0 there.
TEST_F(GameMusic, TheMusicVolumeSettingScalesTheGain) {
  struct Case {
    int steps;
    float gain;
  } cases[] = {{0, 1.0f}, {3, 0.7f}, {10, 0.0f}, {15, 0.0f}, {-2, 1.0f}};
  Start(1);
  for (const Case& c : cases) {
    app().m_Settings[14] = c.steps;
    EXPECT_FLOAT_EQ(c.gain, app().m_MusicVolume()) << c.steps;
    game_->Update();
    EXPECT_FLOAT_EQ(c.gain, MusicGain()) << c.steps;
  }
  EXPECT_EQ(AL_NO_ERROR, fakeal::state().error);
}

// Without music files the game plays on in silence; a theme damaged halfway
// plays up to the damage, stops, and is not started again until the track
// changes; the round's loop then plays.
TEST_F(GameMusic, MissingOrDamagedMusicLeavesTheGameRunning) {
  Start(1, false);
  EXPECT_FALSE(MusicOn());
  playtest::StartRound(*game_, 1);
  game_->Update(100);
  EXPECT_EQ(10, app().m_Screen);
  EXPECT_EQ(0, bb_audio_device->MusicState());

  game_.reset();
  game_ = std::make_unique<Game>();
  UseMusic(true);
  ReplaceMenuTheme("damaged.ogg");
  game_->FinishLoading();
  game_->Update(2);
  ASSERT_TRUE(MusicOn());
  unsigned source = bb_audio_device->channels[kMusicChannel].source;
  int n = 0;
  for (; n < 1000 && bb_audio_device->MusicState() == 1; ++n) {
    fakeal::play_queued(source, 1);
    game_->Update();
  }
  EXPECT_LT(n, 1000) << "the damage stops the theme";
  size_t heard = Music()->heard.size();
  EXPECT_GT(heard, 0u);
  game_->Update(30);
  EXPECT_EQ(0, bb_audio_device->MusicState()) << "not started again";
  EXPECT_EQ(1, app().m_Screen);
  playtest::StartRound(*game_, 1);
  game_->Update(5);
  EXPECT_EQ(RateOf(app().m_Mode), MusicRate());
  EXPECT_EQ(AL_NO_ERROR, fakeal::state().error);
}

}  // namespace
