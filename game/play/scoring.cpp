// What a round scores: the points of a pass, a shot and a smash, the combo
// timer, the credits earned every 250 points, and the badges that passes,
// hits, pop-ups, shots and the end of each frame award.
#include <algorithm>
#include <climits>

#include "app/app.h"
#include "game/vaultwick.h"

namespace {

const int kSfxPass = 2, kSfxSuper = 4, kSfxComboLost = 10, kSfxCredit = 11, kSfxChargeFull = 15;
const int kCreditStep = 250;

// Badge thresholds, each tested only when the one before it holds.
const int kPassedBadges[] = {24, 49, 99, 249, 499, 999, 2499};  // ids 0..6
const int kPopupBadges[] = {9, 19, 49, 74, 99, 199, 499, 999};  // ids 7..14
const int kChainBadges[] = {3, 5, 8, 10};                       // ids 15..18

}  // namespace

int bb_Vaultwick_MyApp::SaturatingProduct(int a, int b) {
  long long p = static_cast<long long>(a) * b;
  return static_cast<int>(std::min<long long>(std::max<long long>(p, INT_MIN), INT_MAX));
}

// The score saturates rather than wrapping after a very long chain.
void bb_Vaultwick_MyApp::AddScore(long long points) {
  long long sum = static_cast<long long>(m_Score) + points;
  m_Score = static_cast<int>(std::min<long long>(std::max<long long>(sum, INT_MIN), INT_MAX));
}

// Called by the pass after the combo has grown by one.
void bb_Vaultwick_MyApp::ScorePass(int x, int y, int k) {
  if (m_Mode == kVariantSmash) {
    // Play mode 10 wants spikes hit: passing one is a miss.
    m_Combo = 0;
    m_Chain = 2;
    return;
  }
  if (m_Mode == kVariantShields) {
    ScoreShieldPass(x, y, k);
    return;
  }
  int points = SaturatingProduct(m_Combo, m_Chain);
  AddScore(points);
  float rate = std::min(2.0f, std::max(0.7f, static_cast<float>(m_Combo) / 40 + 0.7f));
  int type = m_Combo < 2 ? 1 : 2;
  if (m_Chain >= 2) type = 3;
  m_PlaySFX(type == 3 ? kSfxSuper : kSfxPass, rate, 1, 0);
  m_Gets(static_cast<float>(x), static_cast<float>(y), k % 10, points, type);
  m_Chain += 1;
  if (m_Mode == kVariantGun && m_Chain > 2) {
    m_Charge += 1;
    if (m_Charge == 5) m_PlaySFX(kSfxChargeFull, 1, 1, 0);
  }
  m_ComboTimer = std::max(m_ComboTimer, 160.0f);
}

// Variant 8 scores only while shields are held, by the number of shields.
void bb_Vaultwick_MyApp::ScoreShieldPass(int x, int y, int k) {
  if (m_Charge == 0) {
    m_Combo = 0;
    m_Chain = 1;
  } else {
    m_Chain = 1;
    int points = SaturatingProduct(m_Charge, m_Combo);
    AddScore(points);
    float rate = std::min(2.0f, std::max(0.7f, static_cast<float>(m_Combo) / 40 + 0.7f));
    int type = m_Combo < 2 ? 1 : 2;
    m_PlaySFX(kSfxPass, rate, 1, 0);
    m_Gets(static_cast<float>(x), static_cast<float>(y), k % 10, points, type);
  }
  m_Chain += 1;
  m_ComboTimer = std::max(m_ComboTimer, 160.0f);
}

void bb_Vaultwick_MyApp::ScoreShot(int x, int y) {
  m_Chain += 1;
  m_Combo += 10;
  m_ComboTimer = 240;
  int points = SaturatingProduct(m_Combo, m_Chain);
  AddScore(points);
  m_Gets(static_cast<float>(x), static_cast<float>(y), 9, points, 2);
}

// Play mode 10's success: a smash refills the timer and scores.
void bb_Vaultwick_MyApp::ScoreSmash(int x, int y, int k) {
  m_Passed += 1;
  m_ComboTimer = 200;
  m_Lives = 1;
  m_Combo += 1;
  m_Chain += 1;
  int type = m_Chain > 2 ? 3 : 2;
  int points = SaturatingProduct(m_Combo, m_Chain);
  m_Gets(static_cast<float>(x), static_cast<float>(y), k % 10, points, type);
  AddScore(points);
  m_Combo /= 2;
  m_Chain = 1;
}

// Frame step 11: at most one credit per frame, so a jump pays out over the
// following frames.
void bb_Vaultwick_MyApp::CheckCredit() {
  if (m_Score <= m_NextCredit) return;
  m_NextCredit = m_NextCredit > INT_MAX - kCreditStep ? INT_MAX : m_NextCredit + kCreditStep;
  m_CreditsEarned += 1;
  m_PlaySFX(kSfxCredit, 1, 1, 0);
}

// Frame step 12, after the field update.
void bb_Vaultwick_MyApp::DrainComboTimer() {
  if (m_Mode == kVariantSmash && m_Passed < 1)
    m_ComboTimer = 200;  // play mode 10's timer waits for the first smash
  else if (m_ComboTimer > 0 && Running())
    m_ComboTimer -= 2.1f;
  if (m_ComboTimer < 1) {
    if (m_Combo > 0) m_PlaySFX(kSfxComboLost, 1, 1, 0);
    m_Combo = 0;
    m_Chain = 1;
    if (m_Mode == kVariantSmash && m_Passed > 0) m_RoundOver = 1;
  }
  if (m_Mode == kVariantRunner) m_ComboTimer = 100;  // the runner's combo never times out
}

void bb_Vaultwick_MyApp::GiveBadgeOnce(int id) {
  if (!m_BadgesThisGame[id]) m_GiveBadge(id);
}

// At a pass, after the history has taken the spike: the wave badges, then
// the colour badges with their per-round counters.
void bb_Vaultwick_MyApp::PassBadges(int k, bool over, bool under) {
  if (m_Chain > 1 && m_Mode != kVariantFlying && m_Mode != kVariantSmash) WaveBadges();
  if (k == 4 && under) {
    GiveBadgeOnce(19);
    if (++m_RoundCounts[20] > 4) GiveBadgeOnce(20);
  }
  if (k == 6 && over) {
    GiveBadgeOnce(21);
    if (++m_RoundCounts[22] > 4) GiveBadgeOnce(22);
  }
  if (k == 7 && over) {
    GiveBadgeOnce(23);
    if (++m_RoundCounts[24] > 4) GiveBadgeOnce(24);
  }
}

// Patterns at the end of the pass history (codes are kind, +10 when over).
void bb_Vaultwick_MyApp::WaveBadges() {
  const Array<int>& h = m_PassHistory;
  if (h[8] == 14 && h[9] == 14) m_GiveBadge(27);
  if (h[8] == 15 && h[9] == 5) m_GiveBadge(28);
  if (h[8] == 17 && h[9] == 7) m_GiveBadge(29);
  if (h[6] == 11 && h[7] == 12 && h[8] == 13 && h[9] == 14 && m_Chain > 3) m_GiveBadge(30);
}

void bb_Vaultwick_MyApp::PopupBadges(int points) {
  for (int i = 0; i < 8 && points > kPopupBadges[i]; ++i) GiveBadgeOnce(7 + i);
}

// Frame step 15.
void bb_Vaultwick_MyApp::FrameBadges() {
  for (int i = 0; i < 7 && m_Passed > kPassedBadges[i]; ++i) GiveBadgeOnce(i);
  for (int i = 0; i < 4 && m_Chain > kChainBadges[i]; ++i) GiveBadgeOnce(15 + i);
}

// A hit on the first spike of a round, counted across games.
void bb_Vaultwick_MyApp::HitBadges() {
  if (!(m_Passed == 0 && m_RoundOver == 0 && m_Paused == 0 && m_Mode != kVariantSmash)) return;
  m_GiveBadge(25);
  // The count comes from the save data, so it may already be at the top.
  int& count = m_Settings[kSettingBadgeCounter];
  if (count < INT_MAX) count += 1;
  DebugLog(String(m_Settings[kSettingBadgeCounter]));
  if (m_Settings[kSettingBadgeCounter] > 24) m_GiveBadge(26);
}

void bb_Vaultwick_MyApp::BulletBadges() {
  GiveBadgeOnce(31);
  if (m_Shots > 4) GiveBadgeOnce(32);
}
