// The input device: the key table, the Shift and Control pairs, the character
// queue, and the per-update poll of the mouse and joystick 0.
#include "input/input.h"

#include <cstring>

#include "seam/window.h"

namespace {

// The combined key a left/right key feeds, or 0.
int PairOf(int key) {
  if (key == kKeyLeftShift || key == kKeyRightShift) return kKeyShift;
  if (key == kKeyLeftControl || key == kKeyRightControl) return kKeyControl;
  return 0;
}

}  // namespace

gxtkInput::gxtkInput() : charCount(0), charReadPos(0), pointerX(0), pointerY(0) {
  std::memset(keyTable, 0, sizeof keyTable);
  std::memset(charBuffer, 0, sizeof charBuffer);
  std::memset(stickAxes, 0, sizeof stickAxes);
}

int gxtkInput::QuerySlot(int key) {
  if (key == kKeyTouch0) return kKeyMouseLeft;
  return key > 0 && key < kKeyCount ? key : -1;
}

int gxtkInput::SetKeyboardEnabled(int) { return 0; }

int gxtkInput::KeyDown(int key) {
  int slot = QuerySlot(key);
  return slot >= 0 && (keyTable[slot] & kDownBit) ? 1 : 0;
}

int gxtkInput::KeyHit(int key) {
  int slot = QuerySlot(key);
  return slot >= 0 ? keyTable[slot] & kHitMask : 0;
}

int gxtkInput::GetChar() {
  if (charReadPos >= charCount) return 0;
  return charBuffer[charReadPos++];
}

float gxtkInput::MouseX() { return pointerX; }
float gxtkInput::MouseY() { return pointerY; }

// Stick 1's y is reported upside down relative to stick 0's; the framework
// turns it so that both sticks agree.
float gxtkInput::JoyX(int index) {
  if (index == 0) return stickAxes[0];
  if (index == 1) return stickAxes[3];
  return 0;
}

float gxtkInput::JoyY(int index) {
  if (index == 0) return stickAxes[1];
  if (index == 1) return -stickAxes[4];
  return 0;
}

float gxtkInput::JoyZ(int index) {
  if (index == 0) return stickAxes[2];
  if (index == 1) return stickAxes[5];
  return 0;
}

// The desktop has one contact, the mouse.
float gxtkInput::TouchX(int) { return pointerX; }
float gxtkInput::TouchY(int) { return pointerY; }

float gxtkInput::AccelX() { return 0; }
float gxtkInput::AccelY() { return 0; }
float gxtkInput::AccelZ() { return 0; }

void gxtkInput::OnKeyDown(int key) {
  while (key > 0 && key < kKeyCount) {
    int& word = keyTable[key];
    if (word & kDownBit) return;
    // The count saturates rather than carrying into the down bit.
    word = (word & kHitMask) < kHitMask ? (word | kDownBit) + 1 : word | kDownBit;
    key = PairOf(key);
  }
}

void gxtkInput::OnKeyUp(int key) {
  while (key > 0 && key < kKeyCount) {
    int& word = keyTable[key];
    if (!(word & kDownBit)) return;
    word &= ~kDownBit;
    int pair = PairOf(key);
    if (pair == kKeyShift && (KeyDown(kKeyLeftShift) || KeyDown(kKeyRightShift))) return;
    if (pair == kKeyControl && (KeyDown(kKeyLeftControl) || KeyDown(kKeyRightControl))) return;
    key = pair;
  }
}

void gxtkInput::PutChar(int ch) {
  if (charCount < kCharQueueSize) charBuffer[charCount++] = ch;
}

void gxtkInput::EndUpdate() {
  for (int& word : keyTable) word &= kDownBit;
  charCount = charReadPos = 0;
}

void gxtkInput::BeginUpdate() {
  int x = 0, y = 0;
  wlGetMousePos(&x, &y);
  pointerX = static_cast<float>(x);
  pointerY = static_cast<float>(y);
  PollJoystick();
}

void gxtkInput::PollJoystick() {
  int axes = wlGetJoystickParam(0, WL_AXES);
  int buttons = wlGetJoystickParam(0, WL_BUTTONS);
  if (axes < 0) axes = 0;
  if (buttons < 0) buttons = 0;

  // Axes and buttons past what the device stores are left out.
  for (float& a : stickAxes) a = 0;
  wlGetJoystickPos(0, stickAxes, axes < kJoyAxes ? axes : kJoyAxes);
  unsigned char pressed[kJoyButtons] = {};
  int polled = buttons < kJoyButtons ? buttons : kJoyButtons;
  wlGetJoystickButtons(0, pressed, polled);

  // Common pads with fewer axes report the second stick in other places;
  // move it to where stick 1 is read.
  if (axes == 4) {
    stickAxes[4] = stickAxes[2];
    stickAxes[2] = 0;
  } else if (axes == 5) {
    float x = stickAxes[3];
    stickAxes[3] = stickAxes[4];
    stickAxes[4] = x;
  }

  // Polled every update, so a held button counts one press. Buttons the pad no
  // longer reports (it was unplugged) read as released rather than stuck down.
  for (int n = 0; n < kJoyButtons; ++n) {
    if (n < polled && pressed[n] == 1) {
      OnKeyDown(kKeyJoy0 + n);
    } else {
      OnKeyUp(kKeyJoy0 + n);
    }
  }
}
