// The window layer's joystick calls, the same on every platform: each reads a
// fresh frame through the platform's read_joystick (a pad it recognises comes
// in the layout the controls expect; anything else is passed raw).
#include "joystick.h"
#include "seam/window.h"

int wlGetJoystickParam(int joy, int param) {
  JoystickFrame frame;
  if (!read_joystick(joy, frame)) return 0;
  switch (param) {
    case WL_PRESENT: return 1;
    case WL_AXES: return frame.axis_count;
    case WL_BUTTONS: return frame.button_count;
  }
  return 0;
}

int wlGetJoystickPos(int joy, float* pos, int numaxes) {
  JoystickFrame frame;
  if (!read_joystick(joy, frame)) return 0;
  int n = numaxes < frame.axis_count ? numaxes : frame.axis_count;
  for (int i = 0; i < n; ++i) pos[i] = frame.axes[i];
  return n;
}

int wlGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
  JoystickFrame frame;
  if (!read_joystick(joy, frame)) return 0;
  int n = numbuttons < frame.button_count ? numbuttons : frame.button_count;
  for (int i = 0; i < n; ++i) buttons[i] = frame.buttons[i];
  return n;
}
