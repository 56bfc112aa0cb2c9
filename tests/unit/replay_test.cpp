// Replays of whole rounds: every round is recorded from its set-up to its
// hand-over, and its recording plays the same round again, in the game (on
// the same game object, later on the clock, after other rounds) and in the
// headless verifier, with a pause and a window change on the way. A
// recording that is made to go another way is caught at the first hash that
// differs, and files that are damaged, cut or foreign are refused. The
// options a round was played with (the button as a toggle, a slower game)
// need no setting to play it back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "child_process.h"
#include "replay_helpers.h"

namespace {

using gameharness::Game;
using replaytest::DecodeBytes;
using replaytest::Recording;
using replaytest::Script;

std::string Here() {
  char cwd[4096];
  return getcwd(cwd, sizeof cwd) ? std::string(cwd) : std::string(".");
}

ChildResult RunVerifier(const std::string& file) {
  return run_command(std::string(VW_BINARY_DIR) + "/vaultwick-replay verify '" + file + "'");
}

// The tables a round files and a replay must give back untouched.
std::vector<int> Tables(bb_Vaultwick_MyApp& app) {
  std::vector<int> t(app.m_Settings.begin(), app.m_Settings.end());
  t.insert(t.end(), app.m_Scores.begin(), app.m_Scores.end());
  for (int i = 0; i < app.m_Badges.Length(); ++i) t.push_back(app.m_Badges[i] ? 1 : 0);
  return t;
}

// Plays `recorded` back on `game` to its end (or its first difference).
ReplayPlayer::Outcome PlayBack(Game& game, const replay::Replay& recorded, uint32_t* mismatchAt = nullptr) {
  bb_Vaultwick_MyApp& app = game.app();
  app.StartReplay(recorded, ReplayPlayer::kVerify);
  for (uint32_t u = 0; u <= recorded.updates + 1 && app.m_Player.Driving(); ++u) game.Update();
  ReplayPlayer::Outcome outcome = app.m_Player.outcome;
  if (mismatchAt) *mismatchAt = app.m_Player.mismatchAt;
  app.StopReplay();
  return outcome;
}

// The recording holds the pauses from outside (focus and iconify), and the
// new screen with the reload that the window change started.
void ExpectEvents(const replay::Replay& recorded, int playMode) {
  int pauses = 0, screens = 0, reloads = 0;
  replay::EventReader reader;
  replay::Event e;
  while (reader.Next(recorded.events, &e)) {
    pauses += (e.what & replay::kPaused) != 0;
    screens += (e.what & replay::kScreenChanged) != 0 && e.update > 0;
    reloads += (e.what & replay::kReloaded) != 0;
  }
  EXPECT_GE(pauses, 2) << "play mode " << playMode;
  EXPECT_EQ(screens, 1) << "play mode " << playMode;
  EXPECT_EQ(reloads, 1) << "play mode " << playMode;
}

class RecordedRounds : public ::testing::TestWithParam<int> {};

// Play mode 8 takes its spikes from the clock at the set-up: its replay
// carries that seed, and plays the same spikes later on the clock.
TEST_P(RecordedRounds, PlayAlikeInTheGameAndInTheHeadlessVerifier) {
  int playMode = GetParam();
  Game game;
  game.FinishLoading();
  // Another round first, so that the recorded one starts from what a round
  // leaves behind (the column position, the score shown, the pop-up rows).
  Script earlier;
  earlier.limit = 600;
  replaytest::RecordRound(game, playMode == 1 ? 2 : 1, earlier);
  // Paused by its own key, by another window taking the focus and by an
  // iconified window, and played on in a window of another shape.
  Script script;
  script.pauseAt = 150;
  script.focusLostAt = 250;
  script.iconifyAt = 330;
  script.resizeAt = 400;
  script.quitAt = 9000;  // a player this good could go on for a long time
  int pausedUpdates = 0;
  script.afterUpdate = [&](int) { pausedUpdates += game.app().m_Paused; };
  Recording rec = replaytest::RecordRound(game, playMode, script);
  ASSERT_TRUE(rec.ended) << "the round did not end";
  EXPECT_GT(pausedUpdates, 0);
  replay::Replay recorded;
  ASSERT_EQ(DecodeBytes(rec.last, &recorded), replay::ReadError::kNone);
  ExpectEvents(recorded, playMode);
  EXPECT_EQ(recorded.header.playMode, playMode);
  EXPECT_EQ(recorded.score, rec.score);
  EXPECT_EQ(recorded.updates + 2, static_cast<uint32_t>(rec.updates));  // the hand-over is not the round's
  std::printf("[ replay   ] play mode %d: score %d, %u updates, %zu bytes\n", playMode, rec.score, recorded.updates,
              rec.last.size());

  std::vector<int> before = Tables(game.app());
  game.Update(97);  // later on the clock
  EXPECT_EQ(PlayBack(game, recorded), ReplayPlayer::kMatched);
  EXPECT_EQ(Tables(game.app()), before) << "a replay changed the player's tables";

  ChildResult verified = RunVerifier(Here() + "/replays/last.vwr");
  EXPECT_EQ(verified.exit_code, 0) << verified.out << verified.err;
  char expected[96];
  std::snprintf(expected, sizeof expected, "mode %d  score %d  updates %u", playMode, rec.score, recorded.updates);
  EXPECT_NE(verified.out.find(expected), std::string::npos) << verified.out;
}

INSTANTIATE_TEST_SUITE_P(EveryPlayMode, RecordedRounds, ::testing::Range(1, 11));

// A round that went differently from its recording: the same input one
// update later.
TEST(Replays, AReplayThatGoesAnotherWayNamesTheUpdate) {
  Game game;
  game.FinishLoading();
  Recording rec = replaytest::RecordRound(game, 2);
  ASSERT_TRUE(rec.ended);
  replay::Replay recorded;
  ASSERT_EQ(DecodeBytes(rec.last, &recorded), replay::ReadError::kNone);
  ASSERT_GT(recorded.updates, 130u);

  // Everything after update 60 comes an update late (what would then fall
  // after the round's end is left out).
  replay::Replay late = recorded;
  late.events.clear();
  replay::EventReader reader;
  replay::EventWriter writer;
  replay::Event e;
  while (reader.Next(recorded.events, &e)) {
    if (e.update > 60) e.update += 1;
    if (e.update <= recorded.updates) writer.Add(e, &late.events);
  }
  uint32_t at = 0;
  EXPECT_EQ(PlayBack(game, late, &at), ReplayPlayer::kMismatched);
  EXPECT_GE(at, 120u);
  EXPECT_EQ(at % 60, 0u);

  std::string file = Here() + "/late.vwr";
  replaytest::WriteBytes(file, replay::Encode(late));
  ChildResult verified = RunVerifier(file);
  EXPECT_EQ(verified.exit_code, 1) << verified.out;
  EXPECT_NE(verified.out.find("update " + std::to_string(at)), std::string::npos) << verified.out;
}

// Damaged, cut and newer files each get one line and exit 2.
TEST(Replays, TheVerifierRefusesWhatIsNotASoundReplay) {
  Game game;
  game.FinishLoading();
  Recording rec = replaytest::RecordRound(game, 2);
  ASSERT_TRUE(rec.ended);
  std::string flipped = rec.last, cut = rec.last.substr(0, rec.last.size() / 2), newer = rec.last;
  flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x10);
  newer[4] = static_cast<char>(replay::kFormatVersion + 1);
  const struct {
    const char* name;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"flipped.vwr", flipped, "damaged"},
      {"cut.vwr", cut, "truncated"},
      {"newer.vwr", newer, "newer version"},
      {"empty.vwr", "", "not a Vaultwick replay"},
  };
  for (const auto& c : cases) {
    std::string file = Here() + "/" + c.name;
    replaytest::WriteBytes(file, c.bytes);
    ChildResult verified = RunVerifier(file);
    EXPECT_EQ(verified.exit_code, 2) << c.name << ": " << verified.out;
    EXPECT_NE(verified.out.find(c.says), std::string::npos) << verified.out;
    EXPECT_EQ(std::count(verified.out.begin(), verified.out.end(), '\n'), 1) << verified.out;
  }
  ChildResult missing = RunVerifier(Here() + "/no-such.vwr");
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_EQ(run_command(std::string(VW_BINARY_DIR) + "/vaultwick-replay").exit_code, 2);
}

// The best run of a mode is kept with its first place, and only then.
TEST(Replays, TheBestRunIsKeptWithItsFirstPlace) {
  Game game;
  game.FinishLoading();
  Recording first = replaytest::RecordRound(game, 1);
  ASSERT_TRUE(first.ended);
  ASSERT_GT(first.score, 0);
  EXPECT_EQ(replaytest::ReadBytes("replays/best-1.vwr"), first.last);
  // A round that does not beat the first place leaves the best run alone.
  game.app().m_Scores[0] = first.score * 100;
  Recording worse = replaytest::RecordRound(game, 1);
  ASSERT_TRUE(worse.ended);
  EXPECT_NE(worse.last, first.last);
  EXPECT_EQ(replaytest::ReadBytes("replays/best-1.vwr"), first.last);
}

// The iCade reader runs after the round and scribbles on the round's button
// field; a round played with it on plays the same without it.
TEST(Replays, ARoundPlayedWithTheICadeOnVerifiesWithoutIt) {
  Game game;
  game.FinishLoading();
  game.app().m_iCade(1);
  Recording rec = replaytest::RecordRound(game, 2);
  ASSERT_TRUE(rec.ended);
  ASSERT_EQ(bb_Vaultwick_iCadeControls, 1);
  ChildResult verified = RunVerifier(Here() + "/replays/last.vwr");
  EXPECT_EQ(verified.exit_code, 0) << verified.out;
}

// The same scripted round of `playMode` on a game just started, with the
// settings slots in `settings` (slot, value) set first.
struct OptionRound {
  Recording rec;
  replay::Replay recorded;
  int toggledOn = 0, toggledOff = 0;  // running updates with the toggled hold on and off
  int slowest = 60;                   // the lowest update rate the round asked for
};

OptionRound RecordWithSettings(Game& game, int playMode, const std::vector<std::pair<int, int>>& settings) {
  bb_Vaultwick_MyApp& app = game.app();
  game.FinishLoading();
  for (const auto& slot : settings) app.m_Settings[slot.first] = slot.second;
  OptionRound round;
  Script script;
  script.pauseAt = 200;
  script.quitAt = 9000;
  script.afterUpdate = [&](int) {
    if (app.m_Screen != kScreenRound || app.m_Paused != 0 || app.m_RoundOver != 0) return;
    (app.m_ToggleHeld == 1 ? round.toggledOn : round.toggledOff) += 1;
    round.slowest = std::min(round.slowest, bb_app_device->m_updateRate);
  };
  round.rec = replaytest::RecordRound(game, playMode, script);
  EXPECT_TRUE(round.rec.ended);
  EXPECT_EQ(DecodeBytes(round.rec.last, &round.recorded), replay::ReadError::kNone);
  return round;
}

// In toggle mode the round reads the hold the presses flip, not the button:
// the recording carries the mode, so it plays the same where the setting is
// hold (the verifier, or a player who changed it since), and goes another
// way when the mode is taken out of it.
TEST(Replays, AToggleModeRoundVerifiesWhereverTheSettingIsHold) {
  Game game;
  OptionRound round = RecordWithSettings(game, 1, {{kSettingButtonMode, 1}});
  bb_Vaultwick_MyApp& app = game.app();
  ASSERT_GT(round.toggledOn, 0);
  ASSERT_GT(round.toggledOff, 0);
  EXPECT_EQ(round.recorded.header.buttonMode, 1);

  app.m_Settings[kSettingButtonMode] = 0;
  EXPECT_EQ(PlayBack(game, round.recorded), ReplayPlayer::kMatched);
  EXPECT_EQ(app.m_Settings[kSettingButtonMode], 0) << "the replay left its mode in the settings";
  ChildResult verified = RunVerifier(Here() + "/replays/last.vwr");
  EXPECT_EQ(verified.exit_code, 0) << verified.out << verified.err;
  EXPECT_NE(verified.out.find("score " + std::to_string(round.rec.score) + " "), std::string::npos) << verified.out;

  replay::Replay asHold = round.recorded;
  asHold.header.buttonMode = 0;
  EXPECT_EQ(PlayBack(game, asHold), ReplayPlayer::kMismatched);
}

// A slower game is fewer updates a second, each the same step: the round
// recorded at 80 % is the round recorded at full speed, update for update,
// and verifies at full speed.
TEST(Replays, ASlowedRoundIsTheSameRoundAndVerifiesAtFullSpeed) {
  const int kEightyPercent = 2;
  OptionRound slowed;
  {
    Game slowedGame;  // one game at a time: the harness's window is the process's
    slowed = RecordWithSettings(slowedGame, 8, {{kSettingGameSpeed, kEightyPercent}});
  }
  ASSERT_EQ(slowed.slowest, 48) << "the round did not run slowed";

  Game fullGame;  // its scratch folder, where the slowed round's file goes
  std::string slowedFile = Here() + "/slowed.vwr";
  replaytest::WriteBytes(slowedFile, slowed.rec.last);
  OptionRound full = RecordWithSettings(fullGame, 8, {});
  EXPECT_EQ(full.slowest, 60);
  EXPECT_EQ(slowed.recorded.header.seed, full.recorded.header.seed);
  EXPECT_EQ(slowed.recorded.events, full.recorded.events);
  EXPECT_EQ(slowed.recorded.hashes, full.recorded.hashes);
  EXPECT_EQ(slowed.rec.score, full.rec.score);

  EXPECT_EQ(PlayBack(fullGame, slowed.recorded), ReplayPlayer::kMatched);
  ChildResult verified = RunVerifier(slowedFile);
  EXPECT_EQ(verified.exit_code, 0) << verified.out << verified.err;
}

// With nowhere to write the replays, the round is still filed and saved.
TEST(Replays, AReplayThatCannotBeWrittenCostsTheRoundNothing) {
  Game game;
  game.FinishLoading();
  replaytest::WriteBytes("replays", "a file where the folder would go");
  Recording rec = replaytest::RecordRound(game, 1);
  ASSERT_TRUE(rec.ended);
  EXPECT_TRUE(rec.last.empty());
  ASSERT_GT(rec.score, 0);
  EXPECT_EQ(game.app().m_Scores[0], rec.score);
  EXPECT_EQ(game.app().m_Scores[50], rec.score);  // the last ten, after five top tens
  std::string saved = replaytest::ReadBytes(".tovrinstate");
  EXPECT_NE(saved.find("|" + std::to_string(rec.score) + "|"), std::string::npos);
}

}  // namespace
