// One frame of a round, and the three ways the one button drives the
// character: bounce (holding moves forward), leap (holding leaps) and flying
// (holding climbs, releasing sinks).
#include <algorithm>
#include <cmath>

#include "game/vaultwick.h"

namespace {

// The play controls that count as the one button, in the order asked.
const int kPlayButtons[] = {0, 3, 5, 8, 10, 12, 13};
const int kSfxBounce = 3, kSfxFire = 7, kSfxComboLost = 10;

}  // namespace

// Simulation and drawing of one frame, in this order. Called by the screen
// dispatch while a round is in play, before the pause entry.
int bb_Vaultwick_MyApp::m_Game() {
  ++m_RoundTicks;
  m_CLS2D(0, 0, 0, 1);
  ReadButton();
  ComputeGround();
  DrawBackground();
  if (m_Mode == kVariantLake) m_DoSpikes();  // the lake tests its field before the character moves
  ApplyControlScheme();
  AdvanceTrack();
  m_ResetDraw();
  if (m_Mode == kVariantGun) BulletGauge();
  m_ResetDraw();
  UpdateCharacter();
  DrawCaptions();
  m_ResetDraw();
  if (m_Mode != kVariantLake) m_DoSpikes();
  DrawHud();
  CheckCredit();
  DrainComboTimer();
  DrawComboBar();
  DrawLives();
  m_ResetDraw();
  m_SetSize(2, kAbsent);
  UpdateEffects();
  EndOfFrame();
  return 0;
}

void bb_Vaultwick_MyApp::ReadButton() {
  m_Held = 0;
  for (int button : kPlayButtons) {
    if (m_PlayKey(button)) {
      m_Held = 1;
      break;
    }
  }
  if (m_PointerDown > 0 && !PointerOnPauseButton()) m_Held = 1;
  m_Held = ToggledHold(m_Held);
}

// The ground sits 100 above the bottom edge, lowered in steps of 24 (at most
// four) on screens too short for a bounce above it.
void bb_Vaultwick_MyApp::ComputeGround() {
  float h = bb_Vaultwick_jscrh;
  m_Ground = 100;
  for (int i = 0; i < 4 && h - (m_Ground + 240) < 24; ++i) m_Ground -= 24;
}

void bb_Vaultwick_MyApp::ApplyControlScheme() {
  if (m_Mode == kVariantRunner)
    LeapScheme();
  else if (m_Mode == kVariantFlying)
    FlyingScheme();
  else
    BounceScheme();
  if (!Running()) {
    m_Speed = 0;
    m_Accel = 0.15f;
  }
}

// The character bounces without pause (60 frames a bounce); holding moves it
// forward, full speed in 4 frames, and releasing stops it in 2.
void bb_Vaultwick_MyApp::BounceScheme() {
  m_RunSpeed = 10;
  if (Running()) m_Angle = std::fmod(m_Angle + 3, 180.0f);
  if (m_Angle > 90) m_Flags[0] = 1;
  // One bounce sound per landing; play mode 10's weaving has none.
  if (m_Angle < 90 && m_Flags[0] == 1 && m_Mode != kVariantSmash) {
    m_PlaySFX(kSfxBounce, 1, 1, 0);
    m_Flags[0] = 0;
  }
  // A press still latched from before the round does not move it.
  if (m_Held == 1 && m_PointerLatch == 0 && m_KeyLatch == 0) m_Speed = std::min(m_Speed + 0.25f, 1.0f);
  if (m_Held == 0) {
    m_Chain = 1;
    m_Speed = std::max(m_Speed - 0.5f, 0.0f);
  }
}

// The runner runs by itself; a press leaps (36 frames), and releasing before
// the top turns the leap into its descent from the same height.
void bb_Vaultwick_MyApp::LeapScheme() {
  m_RunSpeed = 10;
  m_Chain = 1;
  if (!Running()) return;
  if (m_Angle > 0) {
    m_Angle += 5;
    if (m_Angle >= 180) m_Angle = 0;
  }
  if (m_Angle <= 0 && m_Held == 1 && m_PointerLatch == 0 && m_KeyLatch == 0) {
    // One leap per press.
    m_PointerLatch = 1;
    m_KeyLatch = 1;
    m_Angle = 5;
    m_PlaySFX(kSfxBounce, 0.8f + 0.4f * bb_random_Rnd(), 1, 0);
  }
  if (m_Held == 0 && m_Angle > 0 && m_Angle < 90) m_Angle = 180 - m_Angle;
  if (m_RoundOver == 0 && m_Speed < 1) m_Speed = std::min(m_Speed + m_Accel, 1.0f);
}

// Holding climbs and releasing sinks, through a lift that changes by 0.2 a
// frame; the height follows m_Angle, 0..90.
void bb_Vaultwick_MyApp::FlyingScheme() {
  m_RunSpeed = 6 + m_Boost;
  m_Chain = 1;
  if (Running()) {
    m_Lift += m_Held == 0 ? 0.2f : -0.2f;
    float step = 2 * m_Lift;
    if (m_Lift < -1) {
      m_Lift = -1;
      step = -2;
    } else if (m_Lift > 1) {
      m_Lift = 1;
      step = 2;
    }
    m_Angle = std::min(90.0f, std::max(0.0f, m_Angle - step));
    FlyingComboDrain();
  }
  if (m_RoundOver == 0 && m_Speed < 1) m_Speed = std::min(m_Speed + 0.15f, 1.0f);
}

// The flyer's combo drains a further 5 a frame.
void bb_Vaultwick_MyApp::FlyingComboDrain() {
  if (!(m_ComboTimer > 0)) return;
  m_ComboTimer -= 5;
  if (m_ComboTimer >= 0) return;
  m_ComboTimer = 0;
  if (m_Combo > 0) m_PlaySFX(kSfxComboLost, 1, 1, 0);
  m_Combo = 0;
}

// The track moves under the character; at most one column enters a frame.
void bb_Vaultwick_MyApp::AdvanceTrack() {
  float d = m_Speed * m_RunSpeed;
  m_ColumnPos += d;
  m_Distance += d;
  m_ColumnOffset = m_ColumnPos;
  m_Scroll = m_Distance;
  if (m_ColumnPos > static_cast<float>(m_ColumnWidth)) AdvanceColumn();
  if (m_Mode == kVariantBeams) {
    // The grid world scrolls in steps of 32.
    m_ColumnOffset = std::floor(m_ColumnOffset / 32) * 32;
    m_Scroll = std::floor(m_Scroll / 32) * 32;
  }
}

// Play mode 7: five charges fire a bullet from the character's height.
void bb_Vaultwick_MyApp::FireBullet() {
  m_Charge = 0;
  m_BulletX = 128;
  m_BulletY = m_Trail[20 * 10 + 2];
  m_PlaySFX(kSfxFire, 0.5f, 1, 0);
  m_Shots += 1;
  BulletBadges();
}

void bb_Vaultwick_MyApp::EndOfFrame() {
  // Without shields variant 8 keeps no combo.
  if (m_Mode == kVariantShields && m_Charge == 0) {
    m_Combo = 0;
    m_Chain = 1;
  }
  FrameBadges();
}
