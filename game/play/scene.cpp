// What a round shows around the spike field: the background rows with their
// parallax, the character with its trail and reflection, the tutorial
// captions, the head-up display, the life icons and play mode 7's gauge.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/shell/degrees.h"
#include "game/vaultwick.h"
#include "graphics/context.h"

namespace {

const int kNow = 20 * 10;     // trail record of the character now
const int kBefore = 19 * 10;  // and of the frame before
const int kCharacterX = 128;

struct Caption {
  int playMode, fromColumn, toColumn;
  const char* text;
  float y;  // share of the screen height
};

// Play mode 1's captions line up with its opening: four empty columns, then
// low, high and middle spikes.
const Caption kCaptions[] = {
    {4, 0, 19, "Hold to Leap _/\\ ", 0.5f},
    {1, 0, 4, "Hold to Move -->", 0.5f},
    {1, 5, 8, "Bounce over low spikes", 0.4f},
    {1, 9, 12, "Bounce under high spikes", 0.6f},
    {1, 13, 16, "Bounce around middle spikes", 0.5f},
    {1, 21, 29, "You earn one credit every 250 points", 0.3f},
    {1, 31, 39, "Use them to unlock extra play modes.", 0.3f},
};

}  // namespace

// Rows of the background strip, 32 high, from above the top edge down to
// below the bottom; row 0 is the ground.
void bb_Vaultwick_MyApp::DrawBackground() {
  float top = bb_Vaultwick_jscrh - m_Ground;
  int first = static_cast<int>(-1 - top / 32);
  int last = static_cast<int>(m_Ground / 32 + 1);
  m_SetSize(2, kAbsent);
  for (int j = first; j <= last; ++j) DrawBackgroundRow(j, first);
}

void bb_Vaultwick_MyApp::DrawBackgroundRow(int j, int first) {
  float alpha = 1 - static_cast<float>(std::abs(j)) / 24;
  if (m_Mode == kVariantRunner) alpha -= 0.75f;
  alpha = j >= 0 ? std::min(alpha + 0.25f, 1.0f) : std::max(alpha, 0.0f);
  m_Alpha(alpha);
  float f = ParallaxFactor(j, first);
  float offset = -std::fmod(f * m_Scroll, 640.0f);
  float y = static_cast<float>(j * 32) + (bb_Vaultwick_jscrh - m_Ground);
  int odd = j % 2;  // -1 or 0 above the ground
  int frame = 7;
  if (j == 0) {
    frame = 6;
  } else if (j < 0) {
    frame = m_Mode == kVariantFlying && j < -7 ? 7 + odd : 5 + odd;
  } else if (m_Mode == kVariantFlying) {
    frame = 6 + odd;
  }
  if (m_Mode == kVariantFlying && j <= -7) y += 16;
  for (int k = 0; k < 3; ++k) m_DrawImg(2, offset + 640.0f * static_cast<float>(k), y, static_cast<float>(frame));
}

// How fast a row scrolls against the track: the top row stands still and the
// rows speed up toward the ground and beyond. The sky world has its own
// bands of cloud; the lake keeps its sky at half speed.
float bb_Vaultwick_MyApp::ParallaxFactor(int j, int first) {
  if (m_Mode == kVariantLake) return j < 0 ? 0.5f : 1.0f;
  // A window shorter than the ground leaves no rows above it to spread over.
  auto spread = [first](int row) {
    return first == 0 ? 1.0f : 2 - static_cast<float>(first + row) / static_cast<float>(first);
  };
  float f = spread(j);
  if (m_Mode != kVariantFlying) return f;
  m_Alpha(1);
  if (j < -7) {
    f = spread(-7 - j);
  } else if (j <= -1) {
    f = std::fabs(SinDeg(static_cast<float>(-3 * j - 12))) + 0.4f;
    m_Alpha(0.5f);
  }
  return f;
}

// Play mode 7's five charge lamps, flashing when full, and the fire button.
void bb_Vaultwick_MyApp::BulletGauge() {
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  if (m_Charge > 5) m_Charge = 5;
  bool full = m_Charge == 5;
  bool yellow = (RoundMillisecs() % 1200 + 1200) % 1200 < 600;
  for (int i = 1; i <= 5; ++i) {
    m_SetCol(0, 255, 0, kAbsent);
    m_Alpha(i <= m_Charge ? 0.75f : 0.3f);
    if (full) m_SetCol(255, yellow ? 255 : 100, 0, 0.75f);
    m_Rect(w - 32, (h - m_Ground - 32) - static_cast<float>(i * 20), 24, 12);
  }
  m_SetCol(255, 255, 255, kAbsent);
  m_Alpha(full ? 0.75f : 0.3f);
  m_SetSize(2, kAbsent);
  m_DrawImg(94, 64, h - 64, 0);
  if (full && (m_PlayKey(11) || m_MouseIn(0, h - 128, 128, 128))) FireBullet();
}

// Frame step 7: the trail ages, the character's record is worked out, and
// both are drawn.
void bb_Vaultwick_MyApp::UpdateCharacter() {
  if (Running()) AgeTrail();
  float* now = &m_Trail[kNow];
  now[1] = m_Scroll + kCharacterX;
  now[2] = CharacterY();
  now[3] = CharacterFrame();
  now[5] = Atan2Deg(now[2] - m_Trail[kBefore + 2], m_Trail[kBefore + 1] - now[1]);
  if (HasTrail()) DrawTrail();
  DrawCharacter();
  if (Running()) m_Clock = std::fmod(m_Clock + 1, 360.0f);
}

// The runner, the beams, the pickups and the smash go without a trail.
bool bb_Vaultwick_MyApp::HasTrail() const {
  switch (m_Mode) {
    case kVariantClassic:
    case kVariantLake:
    case kVariantFlying:
    case kVariantGun:
    case kVariantShields:
      return true;
    default:
      return false;
  }
}

// Screen y of the character now, by variant.
float bb_Vaultwick_MyApp::CharacterY() const {
  float base = bb_Vaultwick_jscrh - (m_Ground + 32);
  float bounce = std::fabs(SinDeg(m_Angle)) * 180;
  switch (m_Mode) {
    case kVariantFlying:
      return base - 2 * m_Angle;
    case kVariantBeams:
      return base - std::floor(bounce / 24) * 24;
    case kVariantSmash:
      // Play mode 10 weaves up and down by itself.
      return base - 90 + SinDeg(4 * m_Clock) * 90;
    default:
      return base - bounce;
  }
}

float bb_Vaultwick_MyApp::CharacterFrame() const {
  if (m_Mode == kVariantSmash) return std::fmod(m_Clock / 6, 9.0f);
  return std::fmod(m_Clock / 3, 10.0f);
}

// Records 0..19 take the floats of the record after them.
void bb_Vaultwick_MyApp::AgeTrail() {
  for (int i = 0; i < 20; ++i)
    for (int f = 1; f < 10; ++f) m_Trail[i * 10 + f] = m_Trail[(i + 1) * 10 + f];
}

void bb_Vaultwick_MyApp::DrawTrail() {
  for (int i = 0; i < 20; ++i) {
    const float* rec = &m_Trail[i * 10];
    if (!(rec[3] > -1 && rec[3] < 10)) continue;
    float x = rec[1] - m_Scroll, y = rec[2], frame = rec[3];
    float fade = static_cast<float>(i);
    if (m_Mode == kVariantFlying) {
      // The flyer leaves puffs along its heading.
      if (i % 3 != 2) continue;
      m_SetRot(rec[5] + 90);
      m_Alpha(1);
      frame = 40;
    } else if (m_Mode == kVariantShields) {
      // One small echo per shield held.
      if (!(i % 4 == 0 && i > 18 - 4 * m_Charge)) continue;
      m_SetSize(0.5f, kAbsent);
      m_Alpha(1);
    } else {
      m_Alpha(fade / 24);
    }
    m_DrawImg(1, x, y, frame);
    if (m_Mode == kVariantLake) {
      m_SetSize(1, 0.6f);
      m_Alpha(fade / 60);
      m_DrawImg(1, x, ReflectionY(y), frame);
      m_SetSize(1, kAbsent);
    }
    m_SetRot(0);
  }
}

void bb_Vaultwick_MyApp::DrawCharacter() {
  const float* now = &m_Trail[kNow];
  m_SetSize(1, kAbsent);
  m_Alpha(1);
  // The runner's body tilts through the leap.
  if (m_Mode == kVariantRunner && m_Angle > 0) m_SetRot(-CosDeg(m_Angle) * 24);
  m_DrawImg(1, kCharacterX, now[2], now[3]);
  if (m_Mode != kVariantLake) return;
  m_SetSize(1, 0.6f);
  m_Alpha(0.75f);
  m_DrawImg(1, kCharacterX, ReflectionY(now[2]), now[3]);
}

// Where something at screen y shows in the lake under the ground line.
float bb_Vaultwick_MyApp::ReflectionY(float y) const {
  float ground = bb_Vaultwick_jscrh - m_Ground;
  return ((ground - y) * 0.15f + ground) - 10;
}

void bb_Vaultwick_MyApp::DrawCaptions() {
  m_ResetDraw();
  m_SetSize(2, kAbsent);
  m_SetCol(255, 255, 255, 0.75f);
  for (const Caption& c : kCaptions) {
    if (c.playMode != m_MenuMode || m_Columns < c.fromColumn || m_Columns > c.toColumn) continue;
    m_Text(bb_Vaultwick_jscrw / 2, c.y * bb_Vaultwick_jscrh, String(c.text), 1, 1);
  }
}

// Frame step 11: the score easing toward the real one, the score to beat,
// and the credit line at the top right.
void bb_Vaultwick_MyApp::DrawHud() {
  float w = bb_Vaultwick_jscrw;
  long long diff = static_cast<long long>(m_ShownScore) - m_Score;
  m_ShownScore = static_cast<int>(m_ShownScore - diff / 6);
  if (std::llabs(static_cast<long long>(m_ShownScore) - m_Score) < 6) m_ShownScore = m_Score;
  m_SetCol(100, 255, 100, 0.8f);
  m_SetSize(2, kAbsent);
  m_Text(w / 2, 52, m_rstr(m_ShownScore, 8, String("0")), 1, 1);
  m_SetCol(255, 255, 100, 0.75f);
  m_SetSize(1, kAbsent);
  DrawScoreToBeat();
  String credits = String(m_NextCredit) + String(" - ") + String(m_CreditsEarned);
  m_Text(0.98f * w, 4, credits, 2, 0);
  DrawAssistMarks();
}

// The next place in the play mode's top ten and the score it takes; ties do
// not raise the place. Play modes without a list chase 10th place at 0.
void bb_Vaultwick_MyApp::DrawScoreToBeat() {
  int rank = 10, target = 0;
  if (m_MenuMode >= 1 && m_MenuMode <= bb_Vaultwick_MaxGames) {
    const int* top = &m_Scores[(m_MenuMode - 1) * 10];
    target = top[9];
    for (int k = 9; k >= 1; --k) {
      if (top[k] < m_Score) {
        rank = k;
        target = top[k - 1];
      }
    }
  }
  m_Text(bb_Vaultwick_jscrw / 2, 36, m_Nth(rank) + String(" ") + m_rstr(target, 8, String("0")), 1, 1);
}

// Frame step 12: the combo timer as a bar centred at the top.
void bb_Vaultwick_MyApp::DrawComboBar() {
  float w = bb_Vaultwick_jscrw;
  m_SetCol(100, 255, 100, 0.8f);
  m_SetSize(1, kAbsent);
  int half = static_cast<int>(m_ComboTimer * 1.5f);
  if (w < static_cast<float>(2 * half)) half = static_cast<int>(m_ComboTimer);
  if (m_Mode == kVariantRunner) half = 0;
  m_Rect(w / 2 - static_cast<float>(half), 8, static_cast<float>(2 * half), 16);
}

// Frame step 13: one heart per extra hit, centred at the bottom.
void bb_Vaultwick_MyApp::DrawLives() {
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  m_SetCol(255, 255, 255, 1);
  m_SetSize(2, kAbsent);
  if (m_Lives <= 0) return;
  int x0 = static_cast<int>(w / 2 - static_cast<float>((m_Lives - 1) * 32));
  for (int i = 1; i <= m_Lives; ++i) m_DrawImg(3, static_cast<float>(x0 + (i - 1) * 64), h - 32, 0);
}
