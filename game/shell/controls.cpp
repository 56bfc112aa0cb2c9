// Logical buttons from every input source: keys, joystick 0, the right mouse
// button, and the pad table fed by the iCade letters and on-screen buttons.
#include <cmath>
#include <cstdlib>

#include "game/vaultwick.h"
#include "input/input.h"

namespace {

const float kStickThreshold = 0.4f;

// Keys that count for a button. The first list is consulted always, the
// second only with the iCade off: an iCade types letters, so letter keys and
// the right mouse button would read its presses twice.
struct KeySources {
  int button;
  int always[4];
  int withoutICade[4];
};

// Lists end at the first 0.
const KeySources kKeys[] = {
    {0, {kKeyUp}, {'W'}},
    {3, {kKeyLeft}, {'A'}},
    {5, {kKeyRight}, {'D'}},
    {8, {kKeyDown}, {'S'}},
    {10, {kKeySpace, kKeyEnter}, {'Z', 'J'}},
    {11, {kKeyControl}, {'X', 'K', kKeyMouseRight}},
    {12, {kKeyShift}, {'C', 'L'}},
    {13, {0}, {'V', 'I'}},
    {99, {kKeyEscape, kKeyDelete, kKeyBackspace}, {0}},
    {kButtonOptions, {kKeyJoy0 + 6}, {'O'}},
};

// iCade letters: a press letter, then its release letter, per button; in the
// order the reader compares them.
struct ICadeLetters {
  char press, release;
  int button;
};

const ICadeLetters kICade[] = {
    {'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},  {'Y', 'T', 13}, {'U', 'F', 14},
    {'I', 'M', 15}, {'O', 'G', 16}, {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'L', 'V', 17},
};

bool AnyKeyDown(gxtkInput* input, const int (&keys)[4]) {
  for (int key : keys) {
    if (key == 0) break;
    if (input->KeyDown(key)) return true;
  }
  return false;
}

}  // namespace

int bb_Vaultwick_MyApp::m_PlayKey(int button) {
  if (m_Player.Driving()) return ReplayButton(button);
  int icade = bb_Vaultwick_iCadeControls;
  if (icade != 0 && icade != 1) return 0;
  gxtkInput* input = bb_input_device;

  const KeySources* keys = nullptr;
  for (const KeySources& k : kKeys)
    if (k.button == button) keys = &k;
  if (!keys) return 0;

  if (AnyKeyDown(input, keys->always)) return 1;
  if (icade == 0 && AnyKeyDown(input, keys->withoutICade)) return 1;

  switch (button) {
    case 0:
      if (input->KeyDown(kKeyJoy0 + 9) || input->JoyY(0) < -kStickThreshold) return 1;
      break;
    case 3:
      if (input->KeyDown(kKeyJoy0 + 8) || input->JoyX(0) < -kStickThreshold) return 1;
      break;
    case 5:
      if (input->KeyDown(kKeyJoy0 + 10) || input->JoyX(0) > kStickThreshold) return 1;
      break;
    case 8:
      if (input->KeyDown(kKeyJoy0 + 11) || input->JoyY(0) > kStickThreshold) return 1;
      break;
    case 10:
    case 11:
    case 12:
    case 13:
      if (input->KeyDown(kKeyJoy0 + button - 10)) return 1;
      break;
    case 99:
      // Back is the iCade's two-button combination, either half counting.
      return input->KeyDown(kKeyJoy0 + 7) || m_Pad[16] != 0 || m_Pad[17] != 0 ? 1 : 0;
  }
  return m_Pad[button] != 0 ? 1 : 0;
}

int bb_Vaultwick_MyApp::m_iCade(int on) {
  if (on == 0) {
    bb_input_device->SetKeyboardEnabled(0);
    bb_Vaultwick_iCadeControls = 0;
    for (m_Iter = 0; m_Iter <= 19; ++m_Iter) m_Pad[m_Iter] = 0;
  } else if (on == 1) {
    bb_input_device->SetKeyboardEnabled(1);
    bb_Vaultwick_iCadeControls = 1;
    // Letters typed before the switch are not iCade presses.
    do {
      m_Held = bb_input_device->GetChar();
    } while (m_Held != 0);
  }
  return 0;
}

void bb_Vaultwick_MyApp::ReadICadeLetters() {
  for (;;) {
    m_Held = bb_input_device->GetChar();
    if (m_Held == 0) break;
    if (m_Held < 0) continue;
    // Every queued letter counts, in order, so a press and its release typed
    // within one update cancel out.
    for (const ICadeLetters& letters : kICade) {
      int upperPress = letters.press, upperRelease = letters.release;
      if (m_Held == upperPress || m_Held == upperPress + 32) m_Pad[letters.button] = 2;
      if (m_Held == upperRelease || m_Held == upperRelease + 32) m_Pad[letters.button] = 0;
    }
  }
}

// A stick saved for another window size is pulled back on screen.
void bb_Vaultwick_MyApp::ClampStickSettings() {
  float maxX = bb_Vaultwick_jscrw - 32, maxY = bb_Vaultwick_jscrh - 32;
  int& x = m_Settings[kSettingStickX];
  int& height = m_Settings[kSettingStickHeight];
  int& scale = m_Settings[kSettingStickScale];
  if (x < 32) x = 32;
  if (static_cast<float>(x) > maxX) x = static_cast<int>(maxX);
  if (height < 32) height = 32;
  if (static_cast<float>(height) > maxY) height = static_cast<int>(maxY);
  if (scale < 8) scale = 8;
  if (scale > 25) scale = 25;
}

void bb_Vaultwick_MyApp::OnScreenStick() {
  ClampStickSettings();
  m_StickX = m_Settings[kSettingStickX];
  m_StickY = static_cast<int>(bb_Vaultwick_jscrh - static_cast<float>(m_Settings[kSettingStickHeight]));
  m_StickScale = static_cast<float>(m_Settings[kSettingStickScale]) / 10;
  float s = m_StickScale;
  float x = static_cast<float>(m_StickX), y = static_cast<float>(m_StickY);

  m_ResetDraw();
  m_SetCol(255, 255, 255, 0.6f);
  m_SetSize(s, kAbsent);
  struct Direction {
    float dx, dy;
    int frame, button;
  };
  const Direction directions[] = {{-32, 0, 4, 3}, {0, -32, 1, 0}, {0, 32, 9, 8}, {32, 0, 6, 5}};
  for (const Direction& d : directions) {
    // While paused the stick is being placed, so its arrows steer nothing.
    if (m_Button(94, x + d.dx * s, y + d.dy * s, d.frame) && m_Paused == 0) m_Pad[d.button] = 1;
  }
  m_DrawImg(94, x, y, 5);

  if (m_Paused > 0) {
    m_SetSize(3, kAbsent);
    if (m_Button0(94, x, y, 0) && m_TouchDown[1] == 0) {
      m_Settings[kSettingStickX] = m_TouchX[0];
      m_Settings[kSettingStickHeight] = static_cast<int>(bb_Vaultwick_jscrh - static_cast<float>(m_TouchY[0]));
    }
    if (m_TouchDown[1] == 0) {
      m_Pinching = 0;
      m_PinchBase = 0;
    }
    if (m_TouchDown[0] != 0 && m_TouchDown[1] != 0) {
      // Spreading the fingers makes the span more negative, so the stick
      // shrinks; the size stays clamped by the next update either way.
      m_PinchSpan = -std::abs(m_TouchX[0] - m_TouchX[1]) / 16;
      if (m_Pinching == 1) m_Settings[kSettingStickScale] += m_PinchSpan - m_PinchBase;
      m_PinchBase = m_PinchSpan;
      m_Pinching = 1;
    }
  }

  m_SetSize(1.5f * s, kAbsent);
  float w = bb_Vaultwick_jscrw;
  if (m_Button(94, w - (x - 24 * s), y - 24 * s, 0)) m_Pad[10] = 1;
  if (m_Button(94, w - (x + 24 * s), y + 24 * s, 0)) m_Pad[11] = 1;
}

void bb_Vaultwick_MyApp::TiltIndicator() {
  m_ResetDraw();
  m_SetSize(1.5f, kAbsent);
  m_SetCol(255, 255, 255, 0.8f);
  gxtkInput* input = bb_input_device;
  m_TiltX = input->AccelX() - m_AccelBaseX;
  m_TiltY = input->AccelY() - m_AccelBaseY;
  m_TiltSmoothX -= (m_TiltSmoothX - m_TiltX) * 0.25f;
  if (std::fabs(m_TiltSmoothX - m_TiltX) < 0.005f) m_TiltSmoothX = m_TiltX;
  m_TiltSmoothY -= (m_TiltSmoothY - m_TiltY) * 0.25f;
  if (std::fabs(m_TiltSmoothY - m_TiltY) < 0.005f) m_TiltSmoothY = m_TiltY;
  // Holding the calibration button makes the current tilt the neutral one.
  if (m_Button(97, 24, bb_Vaultwick_jscrh - 24, 7)) {
    m_AccelBaseX = input->AccelX();
    m_AccelBaseY = input->AccelY();
  }
  m_SetCol(100, 255, 100, 0.6f);
  m_SetSize(1, kAbsent);
  m_Oval(24 + 20 * m_TiltSmoothX, bb_Vaultwick_jscrh - 24 + 20 * m_TiltSmoothY, 4, 4);
}
