// The options box through the whole game: every row and value by keyboard,
// pointer and pad, what an open box blocks, the settings in the save string
// (clamped when a file holds nonsense, absent from a first start's string),
// and what the options do: the update rate of a slowed round, the top ten a
// slowed round stays out of, the one button as a toggle, and the volumes as
// the recording AL receives them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "audio/audio.h"
#include "fake_al.h"
#include "fake_window.h"
#include "game_harness.h"
#include "seam/window.h"

namespace {

using gameharness::Game;
using gameharness::Record;

// The box's geometry on the 640 x 480 virtual screen.
const float kPitch = 480 * 0.6f / 7;
float RowY(int row) { return 480 * 0.2f + kPitch * static_cast<float>(2 + row); }
const int kLeftArrowX = 384, kRightArrowX = 544;
const int kGearX = 48, kGearY = 128;

// Pad buttons in the presented layout.
const int kPadA = 0, kPadBack = 6, kPadStart = 7, kPadLeft = 8, kPadUp = 9, kPadRight = 10, kPadDown = 11;

std::string ReadState() {
  std::string bytes;
  FILE* f = std::fopen(".tovrinstate", "rb");
  if (!f) return bytes;
  for (int c; (c = std::fgetc(f)) != EOF;) bytes += static_cast<char>(c);
  std::fclose(f);
  return bytes;
}

void WriteState(const std::string& bytes) {
  FILE* f = std::fopen(".tovrinstate", "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::vector<int> StateNumbers() {
  std::vector<int> numbers;
  std::string piece;
  for (char c : ReadState()) {
    if (c != '|') {
      piece += c;
      continue;
    }
    numbers.push_back(std::stoi(piece));
    piece.clear();
  }
  return numbers;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// A settings section with its checksum, then no badges and empty lists.
std::string StateWithSettings(const std::vector<int>& settings) {
  std::string text;
  int sum = 0;
  for (size_t i = 0; i < settings.size(); ++i) {
    text += std::to_string(settings[i]) + "|";
    sum += static_cast<int>(i) * settings[i];
  }
  return text + std::to_string(sum) + "|" + Repeat("0|", 9) + Repeat("0|", 5 * 21);
}

// A first start's string: the defaults, no badges, five empty modes.
const std::string kFirstStartState =
    "0|1|3|0|0|1|0|0|0|0|64|64|10|0|0|0|0|0|0|0|0|0|0|0|0|1476|" + Repeat("0|", 9) + Repeat("0|", 5 * 21);

// Each row's values as the box shows them, in the order Right steps through.
std::vector<std::string> Percents(int from, int to) {
  std::vector<std::string> out;
  for (int p = from; p >= to; p -= 10) out.push_back(std::to_string(p) + "%");
  return out;
}

struct RowValues {
  const char* label;  // as drawn: glyphs only, blanks draw nothing
  std::vector<std::string> values;
  int slot;           // the settings slot, -1 for the window mode
};

const std::vector<RowValues>& Rows() {
  static const std::vector<RowValues> rows = {
      {"Effectsvolume", Percents(100, 0), 13},
      {"Musicvolume", Percents(100, 0), 14},
      {"Gamespeed", Percents(100, 50), 15},
      {"Button", {"Hold", "Toggle"}, 16},
      {"Fullscreen", {"Off", "On"}, -1},
  };
  return rows;
}

// Keys or pad buttons for each move in the box.
struct Controls {
  const char* name;
  std::function<void()> open, down, up, right, left, forward;
};

class Options : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  void SetUp() override {
    game_.FinishLoading();
    app_.m_MenuIntro = 0;  // past the slide-in
    game_.Update();
    game_.ClearSounds();
  }
  void TearDown() override {
    if (IsFullscreen()) ToggleFullscreen();  // the window mode outlives the game
  }

  void TapKey(int key) {
    game_.Press(key);
    game_.Update();
    game_.Release(key);
    game_.Update();
  }
  void TapAt(int x, int y) {
    game_.MoveMouse(x, y);
    game_.MouseDown();
    game_.Update();
    game_.MouseUp();
    game_.Update();
  }
  void TapPad(int button) {
    fakewin::state().joystick_present = true;
    fakewin::state().joystick.button_count = 15;
    fakewin::state().joystick.axis_count = 6;
    fakewin::state().joystick.buttons[button] = 1;
    game_.Update();
    fakewin::state().joystick.buttons[button] = 0;
    game_.Update();
  }
  // The chosen row as drawn, label then value; empty when the box is shut.
  std::string Chosen() const { return game_.TextDrawn(255, 255, 100); }
  int Setting(int slot) { return app_.m_Settings[slot]; }
  int RowValue(const RowValues& row) { return row.slot < 0 ? (IsFullscreen() ? 1 : 0) : Setting(row.slot); }
  void WalkEveryValue(const Controls& c);
};

// Every value of every row, forward with Right, round from the last to the
// first, back with Left, and forward again with the action button (Enter on
// the keyboard, A on a pad); Down and Up stop at the ends.
void Options::WalkEveryValue(const Controls& c) {
  c.open();
  ASSERT_EQ(app_.m_OptionsBoxOpen, 1) << c.name;
  for (size_t r = 0; r < Rows().size(); ++r) {
    const RowValues& row = Rows()[r];
    if (r > 0) c.down();
    std::string label = row.label;
    ASSERT_EQ(Chosen(), label + row.values[0]) << c.name << ", row " << r;
    for (size_t v = 1; v <= row.values.size(); ++v) {
      c.right();
      size_t i = v % row.values.size();
      EXPECT_EQ(Chosen(), label + row.values[i]) << c.name;
      EXPECT_EQ(RowValue(row), static_cast<int>(i)) << c.name << ", " << label;
    }
    c.left();
    EXPECT_EQ(Chosen(), label + row.values.back()) << c.name << ": Left goes round backwards";
    c.forward();
    EXPECT_EQ(Chosen(), label + row.values[0]) << c.name;
    c.left();
  }
  EXPECT_TRUE(fakewin::state().fullscreen) << c.name << ": the fullscreen row switches the window as F11 does";
  c.down();
  EXPECT_EQ(app_.m_OptionsRow, 4) << c.name << ": Down stops at the last row";
  for (int i = 0; i < 5; ++i) c.up();
  EXPECT_EQ(app_.m_OptionsRow, 0) << c.name << ": Up stops at the first row";
  EXPECT_EQ(app_.m_Screen, 1) << c.name << ": the action button stepped values, it did not start a round";
}

TEST_F(Options, KeysAndAPadChooseEveryRowAndStepThroughEveryValue) {
  const Controls keys = {"keys",
                         [&] { TapKey('O'); },
                         [&] { TapKey(WL_KEY_DOWN); },
                         [&] { TapKey(WL_KEY_UP); },
                         [&] { TapKey(WL_KEY_RIGHT); },
                         [&] { TapKey(WL_KEY_LEFT); },
                         [&] { TapKey(WL_KEY_ENTER); }};
  const Controls pad = {"pad",
                        [&] { TapPad(kPadBack); },
                        [&] { TapPad(kPadDown); },
                        [&] { TapPad(kPadUp); },
                        [&] { TapPad(kPadRight); },
                        [&] { TapPad(kPadLeft); },
                        [&] { TapPad(kPadA); }};
  for (const Controls* c : {&keys, &pad}) {
    WalkEveryValue(*c);
    TapKey(WL_KEY_ESC);
    ToggleFullscreen();  // the walk leaves it on
    for (int slot = 13; slot <= 16; ++slot) app_.m_Settings[slot] = 0;
  }
  TapKey('O');
  TapKey(WL_KEY_SPACE);
  EXPECT_EQ(Chosen(), "Effectsvolume90%") << "Space steps on as Enter does";
}

TEST_F(Options, TheSettingsAreSavedWhenTheBoxClosesAndNotBefore) {
  TapKey('O');
  for (int i = 0; i < 3; ++i) TapKey(WL_KEY_RIGHT);   // effects 70 %
  TapKey(WL_KEY_DOWN);
  TapKey(WL_KEY_RIGHT);                               // music 90 %
  TapKey(WL_KEY_DOWN);
  for (int i = 0; i < 4; ++i) TapKey(WL_KEY_RIGHT);   // speed 60 %
  TapKey(WL_KEY_DOWN);
  TapKey(WL_KEY_RIGHT);                               // toggle
  EXPECT_EQ(ReadState(), "") << "nothing is written while the box is open";
  TapKey(WL_KEY_ESC);
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0);
  std::vector<int> saved = StateNumbers();
  ASSERT_GE(saved.size(), 26u);
  EXPECT_EQ((std::vector<int>(saved.begin() + 13, saved.begin() + 17)), (std::vector<int>{3, 1, 4, 1}));

  // The same slots read back into a new start.
  for (int slot = 13; slot <= 16; ++slot) app_.m_Settings[slot] = 0;
  app_.m_Load();
  EXPECT_EQ(Setting(13), 3);
  EXPECT_EQ(Setting(14), 1);
  EXPECT_EQ(Setting(15), 4);
  EXPECT_EQ(Setting(16), 1);
}

TEST_F(Options, ThePointerUsesTheGearTheArrowsTheRowsAndATapOutside) {
  TapAt(kGearX, kGearY);
  ASSERT_EQ(app_.m_OptionsBoxOpen, 1) << "the gear beside the sound button opens the box";
  for (size_t r = 0; r < Rows().size(); ++r) {
    const RowValues& row = Rows()[r];
    int y = static_cast<int>(RowY(static_cast<int>(r)));
    for (size_t v = 1; v <= row.values.size(); ++v) {
      TapAt(kRightArrowX, y);
      EXPECT_EQ(app_.m_OptionsRow, static_cast<int>(r)) << "an arrow chooses its row";
      EXPECT_EQ(Chosen(), row.label + row.values[v % row.values.size()]);
    }
    TapAt(kLeftArrowX, y);
    EXPECT_EQ(Chosen(), row.label + row.values.back());
    TapAt(kLeftArrowX, y);
  }
  TapAt(200, static_cast<int>(RowY(2)));
  EXPECT_EQ(app_.m_OptionsRow, 2) << "a tap on a row's label chooses it";
  EXPECT_EQ(Setting(15), 4) << "without changing it";
  TapAt(320, static_cast<int>(480 * 0.2f + kPitch * 0.8f));
  EXPECT_EQ(app_.m_OptionsBoxOpen, 1) << "a tap on the title keeps the box open";
  EXPECT_EQ(ReadState(), "");

  int sound = Setting(5);
  TapAt(48, 192);  // the sound button, outside the panel
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0) << "a tap outside closes the box";
  EXPECT_EQ(Setting(5), sound) << "and does nothing else";
  EXPECT_EQ(StateNumbers().at(15), 4) << "closing saved";
}

// A pad's Back opens and closes the box, and Start (the pad's back key)
// closes it. With the iCade on, the O key is an iCade letter, but the pad's
// Back still opens the box.
TEST_F(Options, APadsBackOpensAndClosesTheBoxWithTheICadeOnOrOff) {
  TapPad(kPadBack);
  ASSERT_EQ(app_.m_OptionsBoxOpen, 1);
  TapPad(kPadBack);
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0);
  TapPad(kPadBack);
  ASSERT_EQ(app_.m_OptionsBoxOpen, 1);
  TapPad(kPadStart);
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0) << "Start closes it as Escape does";

  app_.m_iCade(1);
  TapKey('O');
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0) << "O is the iCade's letter now";
  TapPad(kPadBack);
  EXPECT_EQ(app_.m_OptionsBoxOpen, 1);
  app_.m_iCade(0);
}

// The open box blocks what the credits box blocks and takes the taps outside
// it; Escape closes it, and each close is spent on closing.
TEST_F(Options, AnOpenBoxBlocksTheMenuUnderIt) {
  int mode = app_.m_MenuMode;
  TapKey('O');
  TapKey(WL_KEY_DOWN);
  EXPECT_EQ(app_.m_MenuMode, mode) << "Down moved the box's row, not the menu";
  TapKey(WL_KEY_SPACE);
  EXPECT_EQ(app_.m_Screen, 1);
  TapAt(570, 432);  // the play button
  EXPECT_EQ(app_.m_Screen, 1);
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0);
  TapAt(32, 32);  // the badges button opens its box again now
  EXPECT_EQ(app_.m_BadgesBoxOpen, 1);
  TapKey('O');
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0) << "one box at a time";
  TapKey(WL_KEY_ESC);
  TapKey('O');
  ASSERT_EQ(app_.m_OptionsBoxOpen, 1);
  TapKey(WL_KEY_ESC);
  EXPECT_EQ(app_.m_OptionsBoxOpen, 0);
  EXPECT_EQ(app_.m_Screen, 1);
}

// Slots 13 to 16 are 0 by default, so a first start writes the string it
// wrote before the options existed, and a file from then loads unchanged.
TEST_F(Options, AFirstStartWritesTheSameStringAndOldFilesLoadUnchanged) {
  app_.m_Save();
  EXPECT_EQ(ReadState(), kFirstStartState);
  TapKey('O');
  TapKey(WL_KEY_ESC);
  EXPECT_EQ(ReadState(), kFirstStartState) << "opening and closing the box changes nothing";

  std::vector<int> older = {0, 2, 7, 12, 0, 1, 3, 0, 0, 0, 64, 64, 10, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0};
  WriteState(StateWithSettings(older));
  app_.m_Load();
  for (int i = 0; i < 25; ++i) EXPECT_EQ(Setting(i), older[i]) << "slot " << i;
  app_.m_Save();
  EXPECT_EQ(ReadState(), StateWithSettings(older));
}

TEST_F(Options, OutOfRangeOptionsFromAFileAreClamped) {
  std::vector<int> settings = {0, 1, 3, 0, 0, 1, 0, 0, 0, 0, 64, 64, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const struct {
    int effects, music, speed, button;
    int want[4];
  } cases[] = {
      {99, -3, 9, 7, {10, 0, 5, 1}},
      {-1, 11, -6, -2, {0, 10, 0, 0}},
      {3, 4, 2, 1, {3, 4, 2, 1}},
  };
  for (const auto& c : cases) {
    settings[13] = c.effects;
    settings[14] = c.music;
    settings[15] = c.speed;
    settings[16] = c.button;
    WriteState(StateWithSettings(settings));
    app_.m_Load();
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Setting(13 + k), c.want[k]) << "slot " << 13 + k << " from " << c.effects;
  }
}

// A running round updates at 60 x its speed; the menu, the boxes, the pause
// panel and game over at 60.
TEST_F(Options, ARoundRunsAtItsSpeedAndEverythingElseAt60) {
  const int rates[] = {60, 54, 48, 42, 36, 30};
  for (int speed = 0; speed < 6; ++speed) {
    app_.m_Settings[15] = speed;
    app_.m_MenuMode = 1;
    app_.m_Screen = 11;
    game_.Update(2);
    EXPECT_EQ(bb_app_device->m_updateRate, rates[speed]) << "speed " << speed;
    EXPECT_EQ(app_.m_RoundSpeed, speed);
    TapKey(WL_KEY_ESC);
    EXPECT_EQ(app_.m_Paused, 1);
    EXPECT_EQ(bb_app_device->m_updateRate, 60) << "the pause panel";
    app_.m_RoundOver = 1;
    app_.m_Paused = 0;
    game_.Update();
    EXPECT_EQ(bb_app_device->m_updateRate, 60) << "game over";
    while (app_.m_Screen != 1) game_.Update();
    EXPECT_EQ(bb_app_device->m_updateRate, 60) << "the menu";
  }
}

TEST_F(Options, TheHudShowsASpeedBelowFullOnly) {
  const struct {
    int speed;
    bool shown;
  } cases[] = {{0, false}, {1, true}, {5, true}};
  for (const auto& c : cases) {
    app_.m_Settings[15] = c.speed;
    app_.m_MenuMode = 1;
    app_.m_Screen = 11;
    game_.Update(2);
    std::string hud = game_.TextDrawn(255, 255, 100);
    std::string mark = "Speed" + std::to_string(100 - 10 * c.speed) + "%";
    EXPECT_EQ(hud.find(mark) != std::string::npos, c.shown) << hud;
    EXPECT_EQ(hud.find("Speed") != std::string::npos, c.shown) << hud;
    app_.m_Screen = 1;
  }
}

class SlowedRound : public Options {
 protected:
  int& Top(int i) { return app_.m_Scores[i]; }
  int& Last(int i) { return app_.m_Scores[bb_Vaultwick_MaxGames * 10 + i]; }
  // The finished round's notice, once game over has grown (full-alpha green).
  std::string Notice() {
    std::string out;
    for (const Record& r : game_.DisplayList())
      if (r.kind == 90 && r.r == 100 && r.g == 255 && r.b == 100 && r.alpha == 1) out += static_cast<char>(r.frame + 32);
    return out;
  }
  void PlayAndEnd(int speed, int score) {
    app_.m_Settings[15] = speed;
    app_.m_MenuMode = 1;
    app_.m_Screen = 11;
    game_.Update(2);
    app_.m_Score = score;
    app_.m_RoundOver = 1;
    game_.Update(30);
  }
};

// Below 100 % a round is filed in the last ten and pays its credits, but stays
// out of the top ten, and game over says so where "New Highscore" would be.
TEST_F(SlowedRound, IsFiledInTheLastTenButNotTheTopTen) {
  for (int i = 0; i < 10; ++i) Top(i) = 100 - 10 * i;
  int credits = Setting(3);
  PlayAndEnd(2, 500);
  EXPECT_EQ(Notice(), "Top10needs100%speed");
  while (app_.m_Screen != 1) game_.Update();
  EXPECT_EQ(Top(0), 100) << "not in the top ten";
  EXPECT_EQ(Last(0), 500);
  EXPECT_GT(app_.m_CreditsEarned, 0);
  EXPECT_EQ(Setting(3), credits + app_.m_CreditsEarned) << "the credits are paid";
  std::vector<int> saved = StateNumbers();
  EXPECT_EQ(saved.at(35), 100);
  EXPECT_EQ(saved.at(36), 500);

  PlayAndEnd(0, 500);
  EXPECT_EQ(Notice(), "NewHighscore1st!");
  while (app_.m_Screen != 1) game_.Update();
  EXPECT_EQ(Top(0), 500) << "the same score at full speed enters";
}

// A close in the middle of a slowed round files it as its end would.
TEST_F(SlowedRound, AndSoWhenTheWindowClosesMidRound) {
  for (int i = 0; i < 10; ++i) Top(i) = 100 - 10 * i;
  app_.m_Settings[15] = 1;
  app_.m_MenuMode = 1;
  app_.m_Screen = 11;
  game_.Update(2);
  app_.m_Score = 700;
  app_.m_OnSuspend();
  std::vector<int> saved = StateNumbers();
  EXPECT_EQ(saved.at(35), 100);
  EXPECT_EQ(saved.at(36), 700);
}

class ButtonMode : public Options {
 protected:
  // Plays the same presses of Space (1 = down) in a round of play mode 1 and
  // returns the held state the round read at each frame.
  std::vector<int> Play(int mode, const std::vector<int>& presses) {
    app_.m_Settings[16] = mode;
    app_.m_MenuMode = 1;
    app_.m_Screen = 11;
    game_.Update(2);  // set-up latches the keys; a frame with nothing held frees them
    std::vector<int> held;
    int down = 0;
    for (int p : presses) {
      if (p != down) (p ? game_.Press(WL_KEY_SPACE) : game_.Release(WL_KEY_SPACE));
      down = p;
      game_.Update();
      held.push_back(app_.m_Held);
    }
    if (down) game_.Release(WL_KEY_SPACE);
    game_.Update();
    return held;
  }
  bool MarkShown() const {
    for (const Record& r : game_.DisplayList())
      if (r.is_oval() && r.x == 12 && r.y == 60 && r.r == 100 && r.g == 255 && r.b == 100) return true;
    return false;
  }
};

TEST_F(ButtonMode, ToggleFlipsTheHoldAtEachPressWhereHoldFollowsTheButton) {
  const std::vector<int> presses = {1, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0};
  EXPECT_EQ(Play(0, presses), presses);
  app_.m_Screen = 1;
  const std::vector<int> toggled = {1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1};
  EXPECT_EQ(Play(1, presses), toggled);
  EXPECT_TRUE(MarkShown()) << "a mark shows while the toggled hold is on";
  EXPECT_GT(app_.m_Speed, 0) << "the toggled hold moves the character with nothing pressed";
  EXPECT_NE(game_.TextDrawn(100, 255, 100).find("HOLD"), std::string::npos);
}

// The pause and its panel keep press and release: choosing Resume with Space
// and a tap on the pause button leave the toggled hold as it was.
TEST_F(ButtonMode, ThePauseLeavesTheToggledHoldAlone) {
  Play(1, {1, 0});
  ASSERT_EQ(app_.m_ToggleHeld, 1);
  TapKey(WL_KEY_ESC);
  ASSERT_EQ(app_.m_Paused, 1);
  game_.Update(12);  // the panel comes to rest
  TapKey(WL_KEY_SPACE);
  while (app_.m_Paused == 1) game_.Update();
  EXPECT_EQ(app_.m_ToggleHeld, 1);
  TapAt(16, 16);
  EXPECT_EQ(app_.m_Paused, 1);
  EXPECT_EQ(app_.m_ToggleHeld, 1);
  app_.m_Paused = 0;
  game_.Update();
  EXPECT_EQ(app_.m_Held, 1);
  EXPECT_TRUE(MarkShown());
}

// Effects play at their volume times the effects setting; the music channel
// (32) gets the music setting; neither touches the other.
TEST_F(Options, TheVolumesReachTheirChannelsApart) {
  TapKey('O');
  game_.ClearSounds();
  for (int i = 0; i < 3; ++i) TapKey(WL_KEY_RIGHT);
  ASSERT_FALSE(fakeal::state().plays.empty());
  EXPECT_FLOAT_EQ(fakeal::state().plays.back().gain, 0.7f) << "the sample plays at the new volume";
  TapKey(WL_KEY_DOWN);
  EXPECT_FLOAT_EQ(fakeal::state().plays.back().gain, 0.5f * 0.7f) << "the row's click, at half volume";

  for (int i = 0; i < 4; ++i) TapKey(WL_KEY_RIGHT);
  unsigned music = bb_audio_device->channels[gxtkAudio::kMusicChannel].source;
  ASSERT_NE(music, 0u);
  EXPECT_FLOAT_EQ(fakeal::source(music)->gain, 0.6f);
  EXPECT_FLOAT_EQ(app_.m_MusicVolume(), 0.6f);
  EXPECT_FLOAT_EQ(fakeal::state().plays.back().gain, 0.5f * 0.7f) << "the music row left the effects alone";

  TapKey(WL_KEY_UP);
  TapKey(WL_KEY_RIGHT);
  EXPECT_FLOAT_EQ(fakeal::state().plays.back().gain, 0.6f);
  EXPECT_FLOAT_EQ(fakeal::source(music)->gain, 0.6f) << "the effects row left the music alone";
  for (int i = 0; i < 6; ++i) TapKey(WL_KEY_RIGHT);
  EXPECT_EQ(Setting(13), 10);
  EXPECT_FLOAT_EQ(fakeal::state().plays.back().gain, 0.0f) << "0 % is silent";
}

}  // namespace
