// One read of a joystick as the window layer presents it.
#pragma once

struct JoystickFrame {
  static const int kMaxAxes = 16;
  static const int kMaxButtons = 64;
  int axis_count = 0;
  int button_count = 0;
  float axes[kMaxAxes] = {};
  unsigned char buttons[kMaxButtons] = {};
};

// Button and axis order of a recognised gamepad as read from the platform:
// A B X Y, left and right bumper, back, start, guide, left and right thumb,
// d-pad up right down left; axes left x y, right x y, left and right trigger.
const int kGamepadButtonCount = 15;
const int kGamepadAxisCount = 6;

// Presents a recognised gamepad in the layout the game's controls expect:
// A/B/X/Y as buttons 0-3, bumpers 4-5, back 6, start 7, d-pad left/up/right/down
// as 8-11, then guide and the thumb buttons; axes as left stick x, y, left
// trigger, right stick x, y, right trigger (stick 0 and stick 1 with their z),
// the triggers from 0 released to 1 pressed.
void present_gamepad(const unsigned char* pad_buttons, const float* pad_axes, JoystickFrame& out);

// Reads joystick `joy` (0 = the first); false when none is connected.
bool read_joystick(int joy, JoystickFrame& out);
