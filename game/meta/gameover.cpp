// Game over: the overlay over a finished round and, fading, over the menu; the
// place the score reaches; and the hand-over that files the round in its
// mode's lists, adds the credits and saves.
#include <vector>

#include "game/vaultwick.h"

namespace {

const int kSfxGameOver = 6;
const int kListLength = 10;
const float kShownFor = 90;   // updates the overlay grows over the round
const float kFadeFrom = 73;   // where it starts fading over the menu

}  // namespace

int bb_Vaultwick_MyApp::m_GameOver() {
  if (m_GameOverTime > 0) DrawGameOver(m_GameOverTime);
  GameOverTimer();
  return 0;
}

// Two bars grow in from the sides while "GAME" and "OVER" move in from the
// top and bottom edges; a new place in the top ten rises with them.
void bb_Vaultwick_MyApp::DrawGameOver(float g) {
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  m_SetCol(0, 0, 0, g / 40 < 0.3f ? g / 40 : 0.3f);
  m_Rect(-1, -1, w + 2, h + 2);
  int travel = static_cast<int>(g * 12);
  int most = static_cast<int>(h * 0.45f);
  float b = static_cast<float>(travel < most ? travel : most);
  m_ResetDraw();
  m_SetCol(255, 255, 0, 0.5f);
  m_Rect(-1, h * 0.45f - 8, 2 * b, 16);
  m_SetCol(255, 128, 0, 0.5f);
  m_Rect(w - 2 * b, h * 0.55f - 8, 2 * b + 1, 16);
  m_ResetDraw();
  m_SetSize(4, kAbsent);
  m_SetCol(255, 180, 180, 1);
  m_Text(w * 0.35f, b, String("GAME"), 1, 1);
  m_Text(w * 0.65f, h - b, String("OVER"), 1, 1);
  String place = m_MyNth();
  if (m_Iter <= 0) return;
  m_SetSize(1, kAbsent);
  m_SetCol(0, 125, 255, 0.5f);
  m_Rect(w * 0.35f, h - b / 1.5f - 16, w * 0.3f, 32);
  m_SetSize(2, kAbsent);
  m_SetCol(100, 255, 100, 1);
  if (RoundSlowed())
    m_Text(w * 0.5f, h - b / 1.5f, String("Top 10 needs\\n 100 % speed"), 0.5f, 2);
  else
    m_Text(w * 0.5f, h - b / 1.5f, String("New Highscore\\n           ") + place, 0.5f, 2);
}

// Grows while the round is on screen, then hands over to the menu, over
// which it fades out.
void bb_Vaultwick_MyApp::GameOverTimer() {
  if (m_Screen == kScreenRound) {
    m_GameOverTime += 1;
    if (m_GameOverTime == 15) m_PlaySFX(kSfxGameOver, 1, 1, 0);
    if (m_GameOverTime >= kShownFor) {
      m_Screen = kScreenBackToMenu;
      m_GameOverTime = kFadeFrom;
    }
    return;
  }
  if (m_Screen >= kScreenRound) return;
  m_GameOverTime -= 2;
  if (m_GameOverTime < 0) m_GameOverTime = 0;
}

// The place is ranked in the lists of the mode that was played, whatever the
// menu has selected since; a tie reaches the place.
String bb_Vaultwick_MyApp::m_MyNth() {
  m_Iter = 0;
  if (!HasScoreLists(m_PlayedMode)) return String();
  for (int i = 0; i < kListLength; ++i) {
    if (m_Score >= TopScore(m_PlayedMode, i)) {
      m_Iter = i + 1;
      break;
    }
  }
  if (m_Iter == 0) return String();
  if (m_Iter == 1) return String("1st!");
  return m_Nth(m_Iter);
}

// Called once, when the dispatch returns to the menu after a round.
int bb_Vaultwick_MyApp::m_LoadMenu() {
  // A press still held from the round does not act on the menu.
  m_KeyLatch = 1;
  m_PointerLatch = 1;
  m_MenuScroll = bb_Vaultwick_jscrh * 0.65f - static_cast<float>((m_MenuMode - 1) * 82);
  AddRoundCredits();
  FileTopTen();
  if (HasScoreLists(m_PlayedMode)) m_GC_PostScore(m_PlayedMode, TopScore(m_PlayedMode, 0));
  m_GC_Badges();
  FileLastTen();
  m_Save();
  return 0;
}

void bb_Vaultwick_MyApp::AddRoundCredits() { m_Settings[kSettingCredits] += m_CreditsEarned; }

// Strictly better scores only: an equal score goes below the entry it ties.
// A slowed round is not ranked against rounds at full speed.
void bb_Vaultwick_MyApp::FileTopTen() {
  if (!HasScoreLists(m_PlayedMode) || RoundSlowed()) return;
  for (int i = 0; i < kListLength; ++i) {
    if (m_Score <= TopScore(m_PlayedMode, i)) continue;
    for (int k = kListLength - 1; k > i; --k) TopScore(m_PlayedMode, k) = TopScore(m_PlayedMode, k - 1);
    TopScore(m_PlayedMode, i) = m_Score;
    return;
  }
}

// Every finished round enters the last ten, newest first.
void bb_Vaultwick_MyApp::FileLastTen() {
  if (!HasScoreLists(m_PlayedMode)) return;
  for (int k = kListLength - 1; k > 0; --k) LastScore(m_PlayedMode, k) = LastScore(m_PlayedMode, k - 1);
  LastScore(m_PlayedMode, 0) = m_Score;
}

bool bb_Vaultwick_MyApp::HasScoreLists(int mode) const { return mode >= 1 && mode <= bb_Vaultwick_MaxGames; }

int& bb_Vaultwick_MyApp::TopScore(int mode, int i) { return m_Scores[(mode - 1) * kListLength + i]; }

int& bb_Vaultwick_MyApp::LastScore(int mode, int i) {
  return m_Scores[bb_Vaultwick_MaxGames * kListLength + (mode - 1) * kListLength + i];
}

// A round is open from its set-up until the hand-over has filed it (screen 2
// is the hand-over still to come).
bool bb_Vaultwick_MyApp::RoundUnfiled() const { return m_Screen == kScreenRound || m_Screen == kScreenBackToMenu; }

// The game saves whenever it is suspended, and a close of the window ends in
// one last suspension. A round still open then is written as quitting it
// would file it, so closing the window mid-round loses nothing; the tables in
// memory stay as they were, so a round that resumes is filed once, at its end.
void bb_Vaultwick_MyApp::SaveFilingOpenRound() {
  if (!RoundUnfiled()) {
    m_Save();
    return;
  }
  std::vector<int> settings(m_Settings.begin(), m_Settings.end());
  std::vector<int> scores(m_Scores.begin(), m_Scores.end());
  AddRoundCredits();
  FileTopTen();
  FileLastTen();
  m_Save();
  for (int i = 0; i < m_Settings.Length(); ++i) m_Settings[i] = settings[i];
  for (int i = 0; i < m_Scores.Length(); ++i) m_Scores[i] = scores[i];
}
