// The spike field each frame: the bullet of play mode 7, every visible
// column's upper object and lower spike, the character's collisions, the pass
// of a spike with its latch, and what a hit costs.
#include <cmath>
#include <cstdlib>

#include "game/shell/degrees.h"
#include "game/vaultwick.h"
#include "graphics/context.h"

namespace {

const int kVisibleColumns = 40;  // indices 0..40
const int kRingSlots = 64;
const int kRecord = 10;
const int kNow = 20 * 10;       // trail record of the character now
const int kBefore = 19 * 10;    // and of the frame before
const int kCharacterX = 128;
const int kPassX = 64;          // a spike within 30 of here has been passed
const int kRearmX = 160;        // the next spike within 30 of here re-arms the latch
const int kSfxRoundOver = 5, kSfxMarker = 7, kSfxSmash = 8, kSfxComboLost = 10, kSfxShieldsLost = 22;

}  // namespace

bool bb_Vaultwick_MyApp::Running() const { return m_Paused == 0 && m_RoundOver == 0; }

int bb_Vaultwick_MyApp::ColumnX(int i) const {
  return static_cast<int>(static_cast<float>(i * m_ColumnWidth) - m_ColumnOffset);
}

// Screen y of something standing `level` steps of 24 above the ground line.
int bb_Vaultwick_MyApp::LevelY(int level) const {
  return static_cast<int>(bb_Vaultwick_jscrh - (m_Ground + 8) - 24.0f * static_cast<float>(level));
}

// Once a frame from m_Game: in variant 2 before the character moves, in
// every other variant after it.
int bb_Vaultwick_MyApp::m_DoSpikes() {
  m_ResetDraw();
  if (m_Mode == kVariantGun) FlyBullet();
  m_ResetDraw();
  for (int i = 0; i <= kVisibleColumns; ++i) {
    // Columns left of the first one placed show nothing.
    int slot = (i - 2 + m_Columns) % kRingSlots;
    if (slot < 0) continue;
    if (m_Upper[slot * kRecord] > 0) UpperObject(i, slot);
    if (m_Lower[slot * kRecord] > 0) LowerSpike(i, slot);
  }
  return 0;
}

void bb_Vaultwick_MyApp::FlyBullet() {
  if (m_BulletX <= 0) return;
  if (Running()) m_BulletX += 6;
  if (m_BulletX > bb_Vaultwick_jscrw + 32) m_BulletX = 0;
  // A bullet that has just left the screen is not drawn at the left edge.
  if (m_BulletX > 0) DrawBullet();
}

// The bullet with two balls orbiting it.
void bb_Vaultwick_MyApp::DrawBullet() {
  float bx = m_BulletX, by = m_BulletY;
  m_SetCol(255, 125, 0, 0.8f);
  m_Oval(bx, by, 8, 8);
  m_SetCol(255, 255, 0, 0.8f);
  m_Oval(bx + 16 * SinDeg(4 * bx), by - 16 * CosDeg(4 * bx), 5, 5);
  m_SetCol(0, 125, 255, 0.8f);
  m_Oval(bx + 16 * SinDeg(4 * bx + 180), by - 16 * CosDeg(4 * bx + 180), 5, 5);
}

void bb_Vaultwick_MyApp::LowerSpike(int i, int slot) {
  int* rec = &m_Lower[slot * kRecord];
  int k = rec[0];
  int x = ColumnX(i);
  int y = LevelY(k);
  int tier = rec[1];
  if (tier >= 1 && tier <= 3) {
    y = static_cast<int>(static_cast<float>(y) + 40 * SinDeg(static_cast<float>(tier * rec[2])));
    if (Running()) rec[2] = (rec[2] + 2) % 360;
  }
  m_Alpha(1);
  m_SetSize(1, kAbsent);
  m_DrawImg(1, static_cast<float>(x), static_cast<float>(y), static_cast<float>(k % 10 + 9));
  // A shot spike still meets the character in this frame.
  if (m_Mode == kVariantGun) ShootSpike(slot, x, y, k);
  if (SpikeHitsCharacter(x, y, k)) ResolveHit(slot, x, y, k);
  // A hit needs x near 128 and a pass x near 64, so the two never coincide.
  if (std::abs(x - kPassX) <= 30 && m_Flags[2] == 0) PassSpike(slot, x, y, k);
  if (std::abs(x - kRearmX) <= 30 && m_Flags[2] == 1) m_Flags[2] = 0;
}

// The bullet destroys every spike it meets and flies on.
void bb_Vaultwick_MyApp::ShootSpike(int slot, int x, int y, int k) {
  if (m_BulletX <= 0) return;
  if (!(std::fabs(m_BulletX - static_cast<float>(x)) < 32 && std::fabs(m_BulletY - static_cast<float>(y)) < 32))
    return;
  m_Smash(static_cast<float>(x), static_cast<float>(y), k % 10, 8);
  m_Lower[slot * kRecord] = 0;
  ScoreShot(x, y);
  m_PlaySFX(kSfxSmash, 1, 1, 0);
}

bool bb_Vaultwick_MyApp::SpikeHitsCharacter(int x, int y, int k) {
  float charY = m_Trail[kNow + 2];
  // The flyer's window is narrower.
  int reach = m_Mode == kVariantFlying ? 28 : 30;
  bool hit = std::abs(x - kCharacterX) <= reach && std::fabs(static_cast<float>(y) - charY) < 31;
  if (m_Mode == kVariantRunner && SolidColumnHits(x, k)) hit = true;
  if (m_Mode == kVariantLake) DrawSpikeReflection(x, y, k);
  return hit;
}

// Variant 3's spike is a solid column: every level under its tip is drawn and
// collides as well.
bool bb_Vaultwick_MyApp::SolidColumnHits(int x, int k) {
  float charY = m_Trail[kNow + 2];
  bool hit = false;
  for (int j = 1; j <= k - 1; ++j) {
    int yj = LevelY(j);
    m_DrawImg(1, static_cast<float>(x), static_cast<float>(yj), 18);
    if (std::abs(x - kCharacterX) <= 30 && std::fabs(static_cast<float>(yj) - charY) < 31) hit = true;
  }
  return hit;
}

// The spike mirrored in the lake under the ground line.
void bb_Vaultwick_MyApp::DrawSpikeReflection(int x, int y, int k) {
  m_Alpha(0.75f);
  m_SetSize(1, 0.6f);
  m_DrawImg(1, static_cast<float>(x), ReflectionY(static_cast<float>(y)), static_cast<float>(k % 10 + 9));
}

// A hit spends a life (or variant 8's shields) and smashes the spike; on the
// last life the round ends and the spike stays. Variant 9's hits are its
// successes and always smash.
void bb_Vaultwick_MyApp::ResolveHit(int slot, int x, int y, int k) {
  for (int i = 0; i < 10; ++i) m_PassHistory[i] = 0;
  HitBadges();
  if (m_Lives > 0) {
    if (m_Mode == kVariantShields) LoseShields();
    SmashSpike(slot, x, y, k);
    return;
  }
  bool shielded = m_Mode == kVariantShields && m_Charge > 0;
  if (m_RoundOver == 0 && !shielded) {
    m_RoundOver = 1;
    m_PlaySFX(kSfxRoundOver, 1, 1, 0);
  }
  if (shielded) {
    LoseShields();
    SmashSpike(slot, x, y, k);
  } else if (m_Mode == kVariantSmash) {
    SmashSpike(slot, x, y, k);
  } else {
    m_Combo /= 2;
    m_Chain = 1;
  }
}

void bb_Vaultwick_MyApp::LoseShields() {
  m_Charge = 0;
  m_PlaySFX(kSfxShieldsLost, 1, 1, 0);
  m_Combo = 0;
  m_Chain = 1;
}

void bb_Vaultwick_MyApp::SmashSpike(int slot, int x, int y, int k) {
  m_Smash(static_cast<float>(x), static_cast<float>(y), k % 10, 8);
  // Shields pay for a hit on the last life; that costs no life below none.
  if (m_Lives > 0) m_Lives -= 1;
  m_Lower[slot * kRecord] = -1;
  m_PlaySFX(kSfxSmash, 1, 1, 0);
  if (m_Combo > 0) m_PlaySFX(kSfxComboLost, 1, 1, 0);
  if (m_ComboTimer < 120) m_ComboTimer = 120;
  if (m_Mode == kVariantRunner) {
    // The runner stumbles and slowly regains speed.
    m_Speed = 0;
    m_Accel = 0.025f;
    m_Combo = 0;
    m_Chain = 1;
  } else if (m_Mode == kVariantSmash) {
    ScoreSmash(x, y, k);
  } else {
    m_Combo /= 2;
    m_Chain = 1;
  }
}

// Over or under is judged against where the character was in the frame
// before: over when the spike lies lower on the screen than it was.
void bb_Vaultwick_MyApp::PassSpike(int slot, int x, int y, int k) {
  float before = m_Trail[kBefore + 2];
  bool over = static_cast<float>(y) > before;
  bool under = static_cast<float>(y) < before;
  if (m_Mode == kVariantBeams) MarkerBonus(slot, over, under);
  for (int j = 0; j < 9; ++j) m_PassHistory[j] = m_PassHistory[j + 1];
  m_PassHistory[9] = k % 10 + (over ? 10 : 0);
  PassBadges(k % 10, over, under);
  m_Boost = std::fmin(m_Boost + 0.05f, 10.0f);
  m_Flags[2] = 1;
  // In variant 9 m_Passed counts smashes; a spike weaved past is a miss.
  if (m_Mode != kVariantSmash) m_Passed += 1;
  m_Combo += 1;
  ScorePass(x, y, k);
}

// Passing on the side the beam marks adds three to the combo.
void bb_Vaultwick_MyApp::MarkerBonus(int slot, bool over, bool under) {
  int& marker = m_Upper[slot * kRecord];
  if (!((marker == 1 && over) || (marker == 2 && under))) return;
  m_Combo += 3;
  m_PlaySFX(kSfxMarker, 1, 1, 0);
  marker = 0;
}
