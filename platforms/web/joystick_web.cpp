// Joystick reads in a browser: pads under the "standard" mapping in the
// platform's pad layout, anything else raw, as the Gamepad API reports it.
#include <emscripten/html5.h>

#include <cstring>

#include "browser_input.h"
#include "joystick.h"

namespace {

// The `joy`-th connected pad (0 = the first), whatever slot it sits in.
bool find_pad(int joy, EmscriptenGamepadEvent& pad) {
  if (joy < 0 || emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return false;
  int seen = 0;
  for (int i = 0, n = emscripten_get_num_gamepads(); i < n; ++i) {
    pad = EmscriptenGamepadEvent();
    if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) continue;
    if (seen++ == joy) return true;
  }
  return false;
}

void read_raw(const EmscriptenGamepadEvent& pad, JoystickFrame& out) {
  out = JoystickFrame();
  out.axis_count = pad.numAxes < JoystickFrame::kMaxAxes ? pad.numAxes : JoystickFrame::kMaxAxes;
  out.button_count = pad.numButtons < JoystickFrame::kMaxButtons ? pad.numButtons : JoystickFrame::kMaxButtons;
  for (int i = 0; i < out.axis_count; ++i) out.axes[i] = static_cast<float>(pad.axis[i]);
  for (int i = 0; i < out.button_count; ++i) out.buttons[i] = pad.digitalButton[i] ? 1 : 0;
}

}  // namespace

bool read_joystick(int joy, JoystickFrame& out) {
  EmscriptenGamepadEvent pad;
  if (!find_pad(joy, pad)) return false;
  bool standard = std::strcmp(pad.mapping, "standard") == 0;
  if (!standard || pad.numButtons < kStandardButtonCount - 1 || pad.numAxes < kStandardAxisCount) {
    read_raw(pad, out);
    return true;
  }
  bool digital[64];
  for (int i = 0; i < 64; ++i) digital[i] = i < pad.numButtons && pad.digitalButton[i];
  present_standard_gamepad(pad.analogButton, digital, pad.axis, out);
  return true;
}
