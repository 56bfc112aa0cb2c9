// Joystick reads on GLFW 3: recognised gamepads through the mapping database,
// anything else raw (buttons followed by hat buttons, as GLFW reports them).
#include <GLFW/glfw3.h>

#include "joystick.h"

bool read_joystick(int joy, JoystickFrame& out) {
  int jid = GLFW_JOYSTICK_1 + joy;
  if (joy < 0 || jid > GLFW_JOYSTICK_LAST || !glfwJoystickPresent(jid)) return false;
  GLFWgamepadstate state;
  if (glfwJoystickIsGamepad(jid) && glfwGetGamepadState(jid, &state)) {
    present_gamepad(state.buttons, state.axes, out);
    return true;
  }
  out = JoystickFrame();
  int axes = 0, buttons = 0;
  const float* a = glfwGetJoystickAxes(jid, &axes);
  const unsigned char* b = glfwGetJoystickButtons(jid, &buttons);
  if (axes > JoystickFrame::kMaxAxes) axes = JoystickFrame::kMaxAxes;
  if (buttons > JoystickFrame::kMaxButtons) buttons = JoystickFrame::kMaxButtons;
  out.axis_count = a ? axes : 0;
  out.button_count = b ? buttons : 0;
  for (int i = 0; i < out.axis_count; ++i) out.axes[i] = a[i];
  for (int i = 0; i < out.button_count; ++i) out.buttons[i] = b[i] == GLFW_PRESS ? 1 : 0;
  return true;
}
