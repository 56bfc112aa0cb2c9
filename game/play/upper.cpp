// The upper lane of the spike field by variant: variant 2's floating objects
// with their reflections, the pickups of variants 3 and 7, variant 8's shield
// pickups, and variant 5's marker beams.
#include <cmath>
#include <cstdlib>

#include "game/shell/degrees.h"
#include "game/vaultwick.h"
#include "graphics/context.h"

namespace {

const int kRecord = 10;
const int kNow = 20 * 10;  // trail record of the character now
const int kCharacterX = 128;
const int kSfxComboLost = 10, kSfxPickup = 12, kSfxSpinner = 20, kSfxShield = 21;

}  // namespace

void bb_Vaultwick_MyApp::UpperObject(int i, int slot) {
  switch (m_Mode) {
    case kVariantLake:
      FloatingObject(i, slot);
      break;
    case kVariantRunner:
    case kVariantPickups:
    case kVariantShields:
      Pickup(i, slot);
      break;
    case kVariantBeams:
      MarkerBeam(i, slot);
      break;
    default:
      break;
  }
}

// A large object drawn as four quarter frames, half a column before its
// column, with its reflection in the lake.
void bb_Vaultwick_MyApp::FloatingObject(int i, int slot) {
  int* up = &m_Upper[slot * kRecord];
  float cw = static_cast<float>(m_ColumnWidth);
  int x = static_cast<int>(static_cast<float>(i) * cw - m_ColumnOffset - cw * 0.5f);
  int y = LevelY(up[0]);
  bool touched = up[1] != 0;
  float fx = static_cast<float>(x), fy = static_cast<float>(y);
  m_Alpha(touched ? 0.3f : 1);
  m_SetRot(0);
  m_SetSize(1.5f, kAbsent);
  m_SetCol(255, 255, 255, kAbsent);
  m_DrawImg(1, fx - 24, fy - 24, 40);
  m_DrawImg(1, fx + 24, fy - 24, 41);
  m_DrawImg(1, fx - 24, fy + 24, 42);
  m_DrawImg(1, fx + 24, fy + 24, 43);
  // Turned half round, each quarter lands where the opposite one was.
  float yr = ReflectionY(fy);
  m_Alpha(touched ? 0.15f : 0.6f);
  m_SetRot(180);
  m_SetSize(1.5f, 0.4f);
  m_DrawImg(1, fx - 24, yr - 6, 43);
  m_DrawImg(1, fx + 24, yr - 6, 42);
  m_DrawImg(1, fx - 24, yr + 6, 41);
  m_DrawImg(1, fx + 24, yr + 6, 40);
  if (touched) return;
  if (std::abs(x - kCharacterX) <= 41 && std::fabs(fy - m_Trail[kNow + 2]) < 16) {
    up[1] = 1;
    TouchFloatingObject(x, y);
  }
}

// Coming down on the object scores; rising into it is a bad touch.
void bb_Vaultwick_MyApp::TouchFloatingObject(int x, int y) {
  if (!(m_Angle > 90)) {
    m_PlaySFX(kSfxComboLost, 1, 1, 0);
    m_Combo /= 2;
    m_Chain = 1;
    return;
  }
  m_Combo += 1;
  AddScore(static_cast<long long>(m_Combo) * 5);
  if (m_ComboTimer < 120) m_ComboTimer = 120;
  m_PlaySFX(kSfxPickup, 0.8f + 0.4f * bb_random_Rnd(), 1, 0);
  float fx = static_cast<float>(x), fy = static_cast<float>(y);
  m_Gets(fx, fy, 35, SaturatingProduct(m_Combo, 5), 1);
  m_Smash(fx, fy, 9, 8);
  m_Smash(fx, fy, 1, 8);
  m_Smash(fx, fy, 9, 8);
  m_Smash(fx, fy, 1, 8);
}

void bb_Vaultwick_MyApp::Pickup(int i, int slot) {
  int* up = &m_Upper[slot * kRecord];
  const int* lower = &m_Lower[slot * kRecord];
  int x = ColumnX(i);
  int y = LevelY(up[0]);
  // A shield rides up and down with its bobbing spike.
  if (m_Mode == kVariantShields && lower[1] >= 1 && lower[1] <= 3)
    y = static_cast<int>(40 * SinDeg(static_cast<float>(lower[1] * lower[2])) + static_cast<float>(y));
  m_Alpha(0.75f);
  if (Running()) {
    SpinPickup(up);
    if (m_Mode == kVariantPickups) SpinPickup(up);  // spinning pickups turn twice as fast
  }
  m_SetRot(static_cast<float>(up[5]));
  m_SetSize(1.5f, kAbsent);
  if (m_Mode != kVariantShields) {
    m_DrawImg(1, static_cast<float>(x), static_cast<float>(y), 40);
  } else {
    // A shield is a small companion, faded while no more can be taken.
    m_SetSize(0.5f, kAbsent);
    m_Alpha(m_Charge == 5 ? 0.4f : 1);
    m_SetRot(0);
    m_DrawImg(1, static_cast<float>(x), static_cast<float>(y), 0);
  }
  m_ResetDraw();
  int radius = m_Mode == kVariantPickups || m_Mode == kVariantShields ? 32 : 48;
  if (std::abs(x - kCharacterX) < radius && std::fabs(static_cast<float>(y) - m_Trail[kNow + 2]) < radius)
    CollectPickup(slot, x, y);
}

void bb_Vaultwick_MyApp::SpinPickup(int* up) {
  up[5] = static_cast<int>(std::fmod(static_cast<float>(up[5]) + 3 + 2 * bb_random_Rnd(), 360.0f));
}

void bb_Vaultwick_MyApp::CollectPickup(int slot, int x, int y) {
  int* up = &m_Upper[slot * kRecord];
  if (m_Mode == kVariantShields) {
    // A full set of five shields leaves further pickups in place.
    if (m_Charge >= 5) return;
    m_Charge += 1;
    up[0] = 0;
    m_PlaySFX(kSfxShield, 1, 1, 0);
    return;
  }
  if (m_Mode == kVariantRunner)
    m_PlaySFX(kSfxPickup, 0.8f + 0.4f * bb_random_Rnd(), 1, 0);
  else
    m_PlaySFX(kSfxSpinner, 0.7f + 0.7f * bb_random_Rnd(), 1, 0);
  m_Combo += 1;
  AddScore(static_cast<long long>(m_Combo) * 2);
  up[0] = 0;
  m_Gets(static_cast<float>(x), static_cast<float>(y), 31, SaturatingProduct(m_Combo, 2), 1);
}

// A beam above the spike asks to be passed over, one below it to be passed
// under; a beam that cannot be obeyed (a spike too low to go under, or too
// high to go over) turns to the other side.
void bb_Vaultwick_MyApp::MarkerBeam(int i, int slot) {
  int& marker = m_Upper[slot * kRecord];
  int lowerKind = m_Lower[slot * kRecord];
  float h = bb_Vaultwick_jscrh;
  m_SetCol(100, 255, 100, 0.5f);
  float x = static_cast<float>(ColumnX(i));
  float y = static_cast<float>(LevelY(lowerKind));
  if (lowerKind <= 3 && marker == 2) marker = 1;
  if (lowerKind >= 7 && marker == 1) marker = 2;
  if (marker == 1) {
    m_Rect(x - 8, 0, 16, y - 16);
  } else if (marker == 2) {
    if (y < h)
      m_Rect(x - 8, y + 16, 16, h - y);
    else
      m_Rect(x - 8, 15, 16, h + 1);
  }
  m_ResetDraw();
}
