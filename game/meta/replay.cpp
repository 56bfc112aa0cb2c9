// Replays in the round: the round's clock, the recorder that writes down what
// each update of a round reads, the player that feeds a recorded round back
// in the player's place, and the hash of the round's state both compare.
//
// An update of a round reads the logical buttons and the pointer (sampled
// once at its start, as the round sees them), the virtual screen, and what
// happened between updates: a suspension or a lost focus pausing the round,
// a new window size starting a reload. The recorder writes those down when
// they change; the player sets them back at the start of the same update.
#include <cstring>
#include <string>

#include "app/app.h"
#include "game/vaultwick.h"

namespace {

const int kBadgeWords = 8;

// FNV-1a over 32-bit words.
class StateHash {
 public:
  void Word(uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      hash_ ^= (v >> (8 * i)) & 0xffu;
      hash_ *= 16777619u;
    }
  }
  void Int(int v) { Word(static_cast<uint32_t>(v)); }
  void Float(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Word(bits);
  }
  template <typename T>
  void Ints(const Array<T>& a) {
    for (int i = 0; i < a.Length(); ++i) Int(static_cast<int>(a[i]));
  }
  void Floats(const Array<float>& a) {
    for (int i = 0; i < a.Length(); ++i) Float(a[i]);
  }
  uint32_t value() const { return hash_; }

 private:
  uint32_t hash_ = 2166136261u;
};

}  // namespace

// ---------------------------------------------------------------------------
// The round's clock

// Set up with the round (m_LoadGame): a replay brings its own seed.
void bb_Vaultwick_MyApp::StartRoundClock() {
  m_RoundClock = m_Player.Driving() ? static_cast<int>(m_Player.replay.header.seed) : bb_app_Millisecs();
  m_RoundTicks = 0;
}

// 1000 / 60 ms an update, in whole milliseconds, wrapping like the clock.
int bb_Vaultwick_MyApp::RoundMillisecs() const {
  uint32_t elapsed = static_cast<uint32_t>(static_cast<long long>(m_RoundTicks) * 50 / 3);
  return static_cast<int>(static_cast<uint32_t>(m_RoundClock) + elapsed);
}

// ---------------------------------------------------------------------------
// The state both sides compare

uint32_t bb_Vaultwick_MyApp::RoundStateHash() const {
  StateHash h;
  // Not m_Held: the round sets it from the buttons each frame, and the iCade
  // reader, which may be on or off, uses it as scratch after the round.
  const int ints[] = {m_Screen,     m_Mode,        m_Score,       m_Combo,       m_Chain,       m_Passed,
                      m_Lives,      m_Charge,      m_Shots,       m_Columns,     m_Column,      m_ColumnWidth,
                      m_RoundOver,  m_Paused,      m_PauseOpened, m_PauseY,      m_PauseChoice, m_CreditsEarned,
                      m_NextCredit, m_ShownScore,  m_KeyLatch,    m_PointerLatch, m_UpperGap,   m_PieceSeed,
                      m_NextKind,   m_NextTier,    m_MaxPiece,    m_UpperPick,   m_PieceRoll,   m_PiecePhase,
                      m_GapCount,   m_PieceCount,  m_PopupCount,  m_LoadStep,    m_RoundTicks};
  for (int v : ints) h.Int(v);
  h.Word(bb_random_Seed);
  const float floats[] = {m_Angle,    m_Speed,  m_Accel,      m_Lift,       m_Boost,      m_RunSpeed,
                          m_ColumnPos, m_Distance, m_ColumnOffset, m_Scroll, m_ComboTimer, m_Clock,
                          m_BulletX,  m_BulletY, m_GameOverTime, m_Ground};
  for (float v : floats) h.Float(v);
  h.Ints(m_Lower);
  h.Ints(m_Upper);
  h.Floats(m_Trail);
  // A free effect record keeps what its last effect left; that is no state.
  for (int r = 0; r + 10 <= m_Particles.Length(); r += 10) {
    if (m_Particles[r] < 1) continue;
    for (int f = 0; f < 10; ++f) h.Float(m_Particles[r + f]);
  }
  h.Ints(m_PassHistory);
  h.Ints(m_Flags);
  h.Ints(m_RoundCounts);
  return h.value();
}

// ---------------------------------------------------------------------------
// Each update

// The logical buttons as the round asks for them (m_PlayKey), one bit each.
uint16_t bb_Vaultwick_MyApp::SampleButtons() {
  uint16_t mask = 0;
  for (int i = 0; i < replay::kButtonCount; ++i)
    if (m_PlayKey(replay::kButtons[i])) mask = static_cast<uint16_t>(mask | (1u << i));
  return mask;
}

// Before the input preamble: what a player would feed in, or what it did.
void bb_Vaultwick_MyApp::ReplayBeginUpdate() {
  if (m_Player.Driving()) {
    m_Player.began = true;
    ApplyReplayEvents();
    return;
  }
  ReplayUpdateStart& s = m_Recorder.start;
  s.buttons = SampleButtons();
  s.pause = replay::PauseState{m_Paused, m_PauseOpened, m_PauseY, m_PauseChoice};
  s.loadStep = m_LoadStep;
  s.width = bb_Vaultwick_jscrw;
  s.height = bb_Vaultwick_jscrh;
}

// At the end of every update.
void bb_Vaultwick_MyApp::ReplayEndUpdate() {
  if (m_Recorder.active) RecordUpdate();
  // A playback started in this update (from the menu) sets up in the next.
  if (m_Player.Driving() && m_Player.began) CheckReplayUpdate();
}

// ---------------------------------------------------------------------------
// Recording

replay::Carry bb_Vaultwick_MyApp::CurrentCarry() const {
  replay::Carry c;
  c.columnPos = m_ColumnPos;
  c.distance = m_Distance;
  c.scroll = m_Scroll;
  c.bulletY = m_BulletY;
  c.shownScore = m_ShownScore;
  c.popupCount = m_PopupCount;
  c.pauseChoice = m_PauseChoice;
  return c;
}

void bb_Vaultwick_MyApp::ApplyCarry(const replay::Carry& c) {
  m_ColumnPos = c.columnPos;
  m_Distance = c.distance;
  m_Scroll = c.scroll;
  m_BulletY = c.bulletY;
  m_ShownScore = c.shownScore;
  m_PopupCount = c.popupCount;
  m_PauseChoice = c.pauseChoice;
}

// Called by the screen dispatch just before a round's set-up (update 0).
void bb_Vaultwick_MyApp::BeginRecording() {
  ReplayUpdateStart start = m_Recorder.start;  // this update's, sampled before the dispatch
  m_Recorder = ReplayRecorder();
  m_Recorder.start = start;
  if (m_MenuMode < 1 || m_MenuMode > 10) return;  // not a play mode a replay can name
  m_Recorder.active = true;
  replay::Header& h = m_Recorder.replay.header;
  h.playMode = m_MenuMode;
  h.buttonMode = m_Settings[kSettingButtonMode] == 1 ? 1 : 0;
  h.badgeCounter = m_Settings[kSettingBadgeCounter];
  for (int k = 0; k < kBadgeWords; ++k)
    for (int j = 0; j < 32; ++j)
      if (m_Badges[32 * k + j]) h.badges[k] |= 1u << j;
  if (HasScoreLists(m_MenuMode))
    for (int i = 0; i < 10; ++i) h.topTen[i] = TopScore(m_MenuMode, i);
  h.carry = CurrentCarry();
}

void bb_Vaultwick_MyApp::RecordUpdate() {
  ReplayRecorder& r = m_Recorder;
  if (r.update == 0) r.replay.header.seed = static_cast<uint32_t>(m_RoundClock);
  RecordEvents();
  if (r.update > 0 && r.update % replay::kHashEvery == 0) r.replay.hashes.push_back(RoundStateHash());
  r.pauseAfter = replay::PauseState{m_Paused, m_PauseOpened, m_PauseY, m_PauseChoice};
  r.loadStepAfter = m_LoadStep;
  if (m_Screen != kScreenRound) {
    FinishRecording();
    return;
  }
  if (++r.update >= replay::kMaxUpdates) r = ReplayRecorder();  // longer than any file may be
}

// What is new since the last update. A pause or a reload can only come from
// outside between updates: they are what the start of this update shows
// against the end of the last.
void bb_Vaultwick_MyApp::RecordEvents() {
  ReplayRecorder& r = m_Recorder;
  const ReplayUpdateStart& s = r.start;
  replay::Event e;
  e.update = r.update;
  if (r.update == 0 || s.width != r.written.width || s.height != r.written.height) {
    e.what |= replay::kScreenChanged;
    e.width = r.written.width = s.width;
    e.height = r.written.height = s.height;
  }
  if (s.buttons != r.written.buttons) {
    e.what |= replay::kButtonsChanged;
    e.buttons = r.written.buttons = s.buttons;
  }
  replay::Pointer pointer{m_PointerDown != 0, m_PointerX, m_PointerY};
  if (!(pointer == r.pointer)) {
    e.what |= replay::kPointerChanged;
    e.pointer = r.pointer = pointer;
  }
  if (r.update > 0 && !(s.pause == r.pauseAfter)) {
    e.what |= replay::kPaused;
    e.pause = s.pause;
  }
  if (r.update > 0 && s.loadStep != r.loadStepAfter) {
    e.what |= replay::kReloaded;
    e.loadStep = s.loadStep;
  }
  if (e.what != 0) r.writer.Add(e, &r.replay.events);
}

// The round has ended in the update just recorded: the last round's file,
// and the play mode's best run when this round takes the first place of its
// top ten. A failed write loses the replay, never the round: the round is
// filed at the hand-over that follows, whatever happens here.
void bb_Vaultwick_MyApp::FinishRecording() {
  ReplayRecorder& r = m_Recorder;
  r.active = false;
  r.replay.updates = r.update;
  r.replay.score = m_Score;
  r.replay.hashes.push_back(RoundStateHash());
  std::string bytes = replay::Encode(r.replay);
  SaveStateAreaFile(LastRunFile(), bytes);
  int mode = r.replay.header.playMode;
  if (HasScoreLists(mode) && m_Score > r.replay.header.topTen[0]) SaveStateAreaFile(BestRunFile(mode), bytes);
  r = ReplayRecorder();
}

std::string bb_Vaultwick_MyApp::LastRunFile() { return "replays/last.vwr"; }

std::string bb_Vaultwick_MyApp::BestRunFile(int mode) { return "replays/best-" + std::to_string(mode) + ".vwr"; }

// ---------------------------------------------------------------------------
// Playing back

// The recorded set-up over the game's own tables, which are kept to be
// given back; the round is set up in the next update.
void bb_Vaultwick_MyApp::StartReplay(const replay::Replay& recorded, ReplayPlayer::Purpose purpose) {
  m_Recorder = ReplayRecorder();
  m_Player = ReplayPlayer();
  ReplayPlayer& p = m_Player;
  p.active = true;
  p.purpose = purpose;
  p.replay = recorded;
  p.hasNext = p.reader.Next(p.replay.events, &p.next);
  p.settings.assign(m_Settings.begin(), m_Settings.end());
  p.scores.assign(m_Scores.begin(), m_Scores.end());
  p.badges.assign(m_Badges.begin(), m_Badges.end());
  p.carry = CurrentCarry();
  p.menuMode = m_MenuMode;
  p.menuScroll = m_MenuScroll;
  ApplyRecordedHeader(p.replay.header);
  m_CreditBoxOpen = 0;
  m_BadgesBoxOpen = 0;
  m_Screen = kScreenRoundSetUp;
}

void bb_Vaultwick_MyApp::ApplyRecordedHeader(const replay::Header& h) {
  m_MenuMode = h.playMode;
  m_Settings[kSettingButtonMode] = h.buttonMode;
  m_Settings[kSettingBadgeCounter] = h.badgeCounter;
  for (int k = 0; k < kBadgeWords; ++k)
    for (int j = 0; j < 32; ++j) m_Badges[32 * k + j] = (h.badges[k] >> j) & 1u;
  if (HasScoreLists(h.playMode))
    for (int i = 0; i < 10; ++i) TopScore(h.playMode, i) = h.topTen[i];
  ApplyCarry(h.carry);
}

// Gives back what the playback borrowed; the menu comes next. A round that
// played to its end leaves its game-over overlay to fade over the menu.
void bb_Vaultwick_MyApp::StopReplay() {
  ReplayPlayer& p = m_Player;
  if (!p.active) return;
  for (int i = 0; i < m_Settings.Length(); ++i) m_Settings[i] = p.settings[i];
  for (int i = 0; i < m_Scores.Length(); ++i) m_Scores[i] = p.scores[i];
  for (int i = 0; i < m_Badges.Length(); ++i) m_Badges[i] = p.badges[i];
  ApplyCarry(p.carry);
  m_MenuMode = p.menuMode;
  m_MenuScroll = p.menuScroll;
  if (m_Screen != kScreenBackToMenu) m_GameOverTime = 0;
  m_Screen = kScreenMenu;
  m_Paused = 0;
  m_PauseOpened = -1;
  m_PauseY = -64;
  m_KeyLatch = 1;
  m_PointerLatch = 1;
  m_MouseWasDown = 0;
  // Only the verdict stays; what the playback held is let go.
  ReplayPlayer ended;
  ended.purpose = p.purpose;
  ended.outcome = p.outcome;
  ended.update = p.update;
  ended.mismatchAt = p.mismatchAt;
  m_Player = ended;
}

// The recorded changes due at this update, and the screen they leave.
void bb_Vaultwick_MyApp::ApplyReplayEvents() {
  ReplayPlayer& p = m_Player;
  while (p.hasNext && p.next.update <= p.update) {
    const replay::Event& e = p.next;
    if (e.what & replay::kButtonsChanged) p.buttons = e.buttons;
    if (e.what & replay::kPointerChanged) p.pointer = e.pointer;
    if (e.what & replay::kScreenChanged) {
      p.width = e.width;
      p.height = e.height;
    }
    if (e.what & replay::kPaused) {
      m_Paused = e.pause.paused;
      m_PauseOpened = e.pause.opened;
      m_PauseY = e.pause.y;
      m_PauseChoice = e.pause.choice;
    }
    if (e.what & replay::kReloaded) m_LoadStep = e.loadStep;
    p.hasNext = p.reader.Next(p.replay.events, &p.next);
  }
  bb_Vaultwick_jscrw = p.width;
  bb_Vaultwick_jscrh = p.height;
  m_Landscape = p.height > p.width ? 0 : 1;
}

// m_PlayKey while a replay drives the round.
int bb_Vaultwick_MyApp::ReplayButton(int button) const {
  for (int i = 0; i < replay::kButtonCount; ++i)
    if (replay::kButtons[i] == button) return (m_Player.buttons >> i) & 1u;
  return 0;
}

// The preamble's pointer scan while a replay drives the round: the
// recorded pointer is the mouse, and touch contact 0 with it.
void bb_Vaultwick_MyApp::ScanReplayPointer() {
  const replay::Pointer& in = m_Player.pointer;
  m_PrevPointerX = m_PointerX;
  m_PrevPointerY = m_PointerY;
  if (in.down) {
    m_PointerX = in.x;
    m_PointerY = in.y;
    if (m_MouseWasDown == 0) {
      m_PrevPointerX = m_PointerX;
      m_PrevPointerY = m_PointerY;
    }
  }
  m_PointerDown = in.down ? 1 : 0;
  m_PointerHits = 0;
  for (int i = 0; i < m_TouchDown.Length(); ++i) {
    m_TouchDown[i] = 0;
    m_TouchX[i] = static_cast<int>(kAbsent);
    m_TouchY[i] = static_cast<int>(kAbsent);
  }
  if (in.down) {
    m_TouchDown[0] = 1;
    m_TouchX[0] = in.x;
    m_TouchY[0] = in.y;
  }
  m_MouseWasDown = m_PointerDown;
  if (m_PointerDown == 0) m_PointerLatch = 0;
}

// After each update of a playback: the hash every 60 updates, and at the
// last update the final hash and score. The first difference ends it.
void bb_Vaultwick_MyApp::CheckReplayUpdate() {
  ReplayPlayer& p = m_Player;
  const replay::Replay& r = p.replay;
  uint32_t k = p.update;
  bool same = true;
  if (k > 0 && k % replay::kHashEvery == 0 && k / replay::kHashEvery <= r.hashes.size())
    same = RoundStateHash() == r.hashes[k / replay::kHashEvery - 1];
  bool last = k == r.updates;
  if (last) same = same && RoundStateHash() == r.hashes.back() && m_Score == r.score;
  // The round must end at its last update, and not before.
  if ((m_Screen != kScreenRound) != last) same = false;
  if (!same) {
    p.outcome = ReplayPlayer::kMismatched;
    p.mismatchAt = k;
    ReplayOutOfStep();
    return;
  }
  if (last) p.outcome = ReplayPlayer::kMatched;
  ++p.update;
}
