// The way into the pause panel during a round, and the panel itself: it slides
// down over the frozen round with quit, resume and sound buttons, worked by
// taps or by keyboard focus.
#include <cmath>

#include "game/vaultwick.h"

namespace {

const int kIcons = 97;
const int kSfxButton = 98;
const int kQuit = -1, kResume = 0, kSound = 1;  // m_PauseChoice
const int kBack = 99;

}  // namespace

// Called after m_Game in every update of a round.
int bb_Vaultwick_MyApp::m_InGame() {
  m_ResetDraw();
  m_MenuIntro = -32;  // the menu slides in again when it returns
  // Once the round is over a panel opened now would still be up when the
  // next round starts, so the round's end closes the way in.
  bool open = m_RoundOver == 0 && m_Paused == 0;
  if (open && m_KeyLatch == 0 && m_PlayKey(kBack)) {
    m_KeyLatch = 1;
    OpenPause();
  }
  int hit = m_Button(kIcons, 16, 16, 0);
  if (open && hit && m_PointerLatch == 0) {
    m_PointerLatch = 1;
    OpenPause();
  }
  if (m_Paused == 1) m_PauseMenu();
  return 0;
}

int bb_Vaultwick_MyApp::m_PauseMenu() {
  PauseShade();
  PauseSlide();
  PausePanel();
  PauseResumeButton();
  PauseResumeFocus();
  PauseQuitButton();
  PauseQuitFocus();
  PauseSoundButton();
  PauseSoundFocus();
  PauseKey();
  return 0;
}

// The round darkens as the panel comes down.
void bb_Vaultwick_MyApp::PauseShade() {
  m_ResetDraw();
  m_SetCol(0, 0, 0, static_cast<float>(std::abs(m_PauseY)) / (bb_Vaultwick_jscrh * 0.8f));
  m_Rect(0, 0, bb_Vaultwick_jscrw, bb_Vaultwick_jscrh);
}

// Play resumes as the panel leaves the top edge, not when it has gone.
void bb_Vaultwick_MyApp::PauseSlide() {
  if (m_PauseOpened == 1 && static_cast<float>(m_PauseY) < bb_Vaultwick_jscrh * 0.5f) m_PauseY += 24;
  if (m_PauseOpened != -1) return;
  if (m_PauseY < -63) {
    m_Paused = 0;
    return;
  }
  m_PauseY -= 24;
  if (m_PauseY < -32) m_Paused = 0;
}

// Three stripes: a thin yellow one, the orange body, a thin blue one.
void bb_Vaultwick_MyApp::PausePanel() {
  float cx = bb_Vaultwick_jscrw * 0.5f, p = static_cast<float>(m_PauseY);
  bool landscape = m_Landscape != 0;
  m_ResetDraw();
  m_SetCol(255, 255, 10, 0.6f);
  if (landscape)
    m_Rect(cx - 128, p - 64, 256, 8);
  else
    m_Rect(cx - 96, p - 92, 192, 8);
  m_SetCol(255, 150, 10, 0.7f);
  if (landscape)
    m_Rect(cx - 140, p - 52, 280, 104);
  else
    m_Rect(cx - 128, p - 80, 256, 160);
  m_SetCol(10, 150, 255, 0.6f);
  if (landscape)
    m_Rect(cx - 128, p + 56, 256, 8);
  else
    m_Rect(cx - 96, p + 84, 192, 8);
}

void bb_Vaultwick_MyApp::PauseResumeButton() {
  m_SetSize(2, kAbsent);
  m_SetCol(50, 50, 250, 1);
  if (TapAct(m_Button(kIcons, bb_Vaultwick_jscrw * 0.5f, static_cast<float>(m_PauseY), 3))) ClosePause();
}

void bb_Vaultwick_MyApp::PauseResumeFocus() {
  if (m_PauseChoice != kResume) return;
  PauseFocusRing(bb_Vaultwick_jscrw * 0.5f, static_cast<float>(m_PauseY));
  if (KeyAct(10)) ClosePause();
  if (KeyAct(3)) {
    m_PauseChoice = kQuit;
    m_PlaySFX(kSfxButton, 0.8f, 0.5f, 0);
  }
  if (KeyAct(5)) {
    m_PauseChoice = kSound;
    m_PlaySFX(kSfxButton, 1.2f, 0.5f, 0);
  }
}

void bb_Vaultwick_MyApp::PauseQuitButton() {
  m_SetSize(2, kAbsent);
  m_SetCol(255, 50, 50, 1);
  float x = std::trunc(PauseSideX(kQuit)), y = std::trunc(PauseSideY());
  if (TapAct(m_Button(kIcons, x, y, 1))) QuitRound();
}

void bb_Vaultwick_MyApp::PauseQuitFocus() {
  if (m_PauseChoice != kQuit) return;
  PauseFocusRing(std::trunc(PauseSideX(kQuit)), std::trunc(PauseSideY()));
  if (KeyAct(10)) {
    QuitRound();
    m_PointerLatch = 1;
  }
  if (KeyAct(5) || KeyAct(8)) {
    m_PauseChoice = kResume;
    m_PlaySFX(kSfxButton, 0.8f, 0.5f, 0);
  }
}

void bb_Vaultwick_MyApp::PauseSoundButton() {
  m_SetSize(2, kAbsent);
  m_SetCol(50, 250, 50, 1);
  NormaliseSound();
  float x = PauseSideX(kSound), y = PauseSideY();
  if (TapAct(m_Button(kIcons, x, y, m_Settings[kSettingSound] != 0 ? 4 : 5))) {
    ToggleSoundByPointer();
    m_PlaySFX(kSfxButton, 1.0f, 0.5f, 0);
  }
  DrawMusicState(x, y);
}

// The keyboard cycles all four sound states, music or not.
void bb_Vaultwick_MyApp::PauseSoundFocus() {
  if (m_PauseChoice != kSound) return;
  PauseFocusRing(PauseSideX(kSound), PauseSideY());
  if (KeyAct(10)) {
    CycleSoundByKey();
    m_PlaySFX(kSfxButton, 1.0f, 0.5f, 0);
  }
  if (KeyAct(3) || KeyAct(8)) {
    m_PauseChoice = kResume;
    m_PlaySFX(kSfxButton, 0.8f, 0.5f, 0);
  }
}

// The pause key closes the panel it opened.
void bb_Vaultwick_MyApp::PauseKey() {
  if (KeyAct(kBack)) ClosePause();
}

void bb_Vaultwick_MyApp::PauseFocusRing(float x, float y) {
  m_SetSize(2.5f, kAbsent);
  m_SetCol(255, 255, 100, 1);
  m_DrawImg(kIcons, x, y, 6);
}

// Quit (-1) sits at the panel's left corner, sound (1) at its right one.
float bb_Vaultwick_MyApp::PauseSideX(int side) const {
  float offset = m_Landscape != 0 ? 140.0f : 96.0f;
  return bb_Vaultwick_jscrw * 0.5f + static_cast<float>(side) * offset;
}

float bb_Vaultwick_MyApp::PauseSideY() const {
  return static_cast<float>(m_PauseY) - (m_Landscape != 0 ? 64.0f : 96.0f);
}

void bb_Vaultwick_MyApp::OpenPause() {
  m_Paused = 1;
  m_PauseOpened = 1;
  m_PauseChoice = kResume;
  m_PlaySFX(kSfxButton, 1, 0.5f, 0);
}

// The panel slides out; play resumes as it leaves (PauseSlide).
void bb_Vaultwick_MyApp::ClosePause() {
  m_Paused = 1;
  m_PauseOpened = -1;
  m_PlaySFX(kSfxButton, 1.0f, 0.5f, 0);
}

// The round ends at once and game over takes it from here.
void bb_Vaultwick_MyApp::QuitRound() {
  m_Paused = 0;
  m_PauseOpened = -1;
  m_PauseY = -64;
  m_RoundOver = 1;
  m_PlaySFX(kSfxButton, 0.5f, 0.5f, 0);
}

bool bb_Vaultwick_MyApp::KeyAct(int button) {
  if (m_KeyLatch != 0 || !m_PlayKey(button)) return false;
  m_KeyLatch = 1;
  return true;
}

bool bb_Vaultwick_MyApp::TapAct(int hit) {
  if (!hit || m_PointerLatch != 0) return false;
  m_PointerLatch = 1;
  return true;
}
