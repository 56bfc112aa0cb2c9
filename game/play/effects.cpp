// The effect pool of 100 records: smash particles that fly and fade, and
// score pop-ups that drift to a stack of rows on the right and then leave.
#include <algorithm>
#include <climits>
#include <cmath>

#include "game/vaultwick.h"

namespace {

const int kEffectRecords = 100;
const int kEffectStride = 10;
// Floats of an effect record.
enum { kLife = 0, kX = 1, kY = 2, kVX = 3, kVY = 4, kTargetX = 3, kTargetY = 4, kRot = 5 };
enum { kFrame = 6, kPoints = 6, kColour = 7, kType = 8 };
const int kParticleSheet = 96;
const float kParticleLife = 120, kPopupLife = 240;

float Snap16(float v) { return std::floor(v / 16) * 16; }

}  // namespace

// The free record with the highest index, or -1 when all are busy.
int bb_Vaultwick_MyApp::FreeEffectRecord() const {
  int found = -1;
  for (int r = 0; r < kEffectRecords; ++r)
    if (m_Particles[r * kEffectStride + kLife] < 1) found = r;
  return found;
}

int bb_Vaultwick_MyApp::m_Smash(float x, float y, int kind, int count) {
  for (int n = 0; n < count; ++n) {
    int r = FreeEffectRecord();
    // A full pool drops the particle before it draws any random numbers.
    if (r < 0) continue;
    float* e = &m_Particles[r * kEffectStride];
    e[kLife] = kParticleLife;
    // Particles live half in the world: they drift back at half the scroll.
    e[kX] = x + m_Scroll * 0.5f;
    e[kY] = y;
    e[kVX] = 16 * bb_random_Rnd() - 8;
    e[kVY] = 16 * bb_random_Rnd() - 8;
    e[kRot] = 360 * bb_random_Rnd();
    e[kFrame] = std::floor(3 * bb_random_Rnd() + 1);
    e[kColour] = static_cast<float>(kind);
    e[kType] = 0;
  }
  return 0;
}

int bb_Vaultwick_MyApp::m_Gets(float x, float y, int kind, int points, int type) {
  PopupBadges(points);
  int r = FreeEffectRecord();
  if (r < 0) return 0;
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  // Pop-ups gather in five rows at the right edge, taking turns.
  int row = (m_PopupCount % 5 + 5) % 5;
  m_PopupCount += 1;
  float* e = &m_Particles[r * kEffectStride];
  e[kLife] = kPopupLife;
  e[kX] = x;
  e[kY] = y;
  e[kTargetX] = 0.85f * w;
  e[kTargetY] = 0.5f * h + h * (static_cast<float>(row) - 2.5f) * 0.15f;
  e[kRot] = 0;
  e[kPoints] = static_cast<float>(points);
  e[kColour] = static_cast<float>(kind);
  e[kType] = static_cast<float>(type);
  return 0;
}

// Frame step 14, after the pen is reset to size 2.
void bb_Vaultwick_MyApp::UpdateEffects() {
  for (int r = 0; r < kEffectRecords; ++r) {
    float* e = &m_Particles[r * kEffectStride];
    if (!(e[kLife] > 0)) continue;
    float type = e[kType];
    if (type == 0)
      UpdateParticle(e);
    else if (type > 0 && type < 4)
      UpdatePopup(e);
  }
}

// Effects move only while the round runs: a paused or finished round shows
// them where they stood.
void bb_Vaultwick_MyApp::UpdateParticle(float* e) {
  if (Running()) {
    e[kLife] -= 1;
    e[kX] += e[kVX];
    e[kY] += e[kVY];
    e[kVY] += 0.25f;  // gravity
    e[kRot] += 3 + 3 * bb_random_Rnd();
  }
  m_SetRot(m_Mode == kVariantBeams ? 0 : e[kRot]);
  m_Ink(static_cast<int>(e[kColour]), 1);
  m_SetSize(2, kAbsent);
  m_Alpha(e[kLife] / kParticleLife);
  float x = e[kX] - m_Scroll * 0.5f, y = e[kY];
  // The grid world draws everything on a grid.
  if (m_Mode == kVariantBeams) {
    x = Snap16(x);
    y = Snap16(y);
  }
  m_DrawImg(kParticleSheet, x, y, e[kFrame]);
}

// Drifts toward its row, then leaves to the left; it spins while young, ever
// slower.
void bb_Vaultwick_MyApp::MovePopup(float* e) {
  e[kLife] -= 1;
  e[kX] -= (e[kX] - e[kTargetX]) / 32;
  e[kY] -= (e[kY] - e[kTargetY]) / 32;
  if (e[kLife] < 100) e[kTargetX] = -128;
  int s = std::max(0, static_cast<int>((e[kLife] - 100) / 10));
  int s2 = std::max(0, s - 2);
  e[kRot] += static_cast<float>(s2) + static_cast<float>(s - s2) * bb_random_Rnd();
}

// The kind's icon, the points, and "COMBO" above and "SUPER" below by type.
void bb_Vaultwick_MyApp::UpdatePopup(float* e) {
  if (Running()) MovePopup(e);
  float x = e[kX], y = e[kY];
  if (m_Mode == kVariantBeams) {
    x = Snap16(x);
    y = Snap16(y);
  }
  int kind = static_cast<int>(e[kColour]);
  m_Ink(kind, 1);
  m_Alpha(0.5f);
  m_SetSize(1, kAbsent);
  m_SetRot(m_Mode == kVariantBeams ? 0 : e[kRot]);
  m_DrawImg(1, x - 8, y, static_cast<float>(kind + 9));
  m_Alpha(0.75f);
  m_Ink(kind, 2);
  m_SetRot(0);
  m_SetSize(2, kAbsent);
  // A saturated score's points round up past the int range as a float.
  float points = std::floor(e[kPoints]);
  m_Text(x, y, String(points >= 2147483648.0f ? INT_MAX : static_cast<int>(points)), 1, 1);
  m_Alpha(0.6f);
  m_SetSize(1, kAbsent);
  static const String kCombo("COMBO"), kSuper("SUPER");  // made once: pop-ups are many
  if (e[kType] >= 2) m_Text(x, y - 24, kCombo, 1, 1);
  if (e[kType] >= 3) m_Text(x, y + 24, kSuper, 1, 1);
}
