// Gamepad presentation: reorders a recognised pad into the controls' layout.
#include "joystick.h"

namespace {

// Platform gamepad button index for each presented button slot.
const int kPresentedButtons[kGamepadButtonCount] = {
    0,   // A
    1,   // B
    2,   // X
    3,   // Y
    4,   // left bumper
    5,   // right bumper
    6,   // back
    7,   // start
    14,  // d-pad left
    11,  // d-pad up
    12,  // d-pad right
    13,  // d-pad down
    8,   // guide
    9,   // left thumb
    10,  // right thumb
};

// Platform gamepad axis index for each presented axis slot.
const int kPresentedAxes[kGamepadAxisCount] = {0, 1, 4, 2, 3, 5};

}  // namespace

void present_gamepad(const unsigned char* pad_buttons, const float* pad_axes, JoystickFrame& out) {
  out = JoystickFrame();
  out.button_count = kGamepadButtonCount;
  out.axis_count = kGamepadAxisCount;
  for (int i = 0; i < kGamepadButtonCount; ++i) out.buttons[i] = pad_buttons[kPresentedButtons[i]] ? 1 : 0;
  for (int i = 0; i < kGamepadAxisCount; ++i) out.axes[i] = pad_axes[kPresentedAxes[i]];
  // The platform reports a released trigger as -1; as a stick's z it should
  // rest at 0 like every other axis of an untouched pad, and read 1 pressed.
  out.axes[2] = (out.axes[2] + 1) / 2;
  out.axes[5] = (out.axes[5] + 1) / 2;
}
