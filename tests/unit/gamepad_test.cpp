// A recognised gamepad is presented in the layout the game's controls read:
// A/B/X/Y 0-3, Start 7, d-pad left/up/right/down 8-11, left stick as axes 0, 1.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/app.h"
#include "fake_window.h"
#include "input/input.h"
#include "joystick.h"

namespace {

// The platform's own gamepad numbering (its header only; nothing is linked).
enum PadButton {
  A = GLFW_GAMEPAD_BUTTON_A,
  B = GLFW_GAMEPAD_BUTTON_B,
  X = GLFW_GAMEPAD_BUTTON_X,
  Y = GLFW_GAMEPAD_BUTTON_Y,
  LB = GLFW_GAMEPAD_BUTTON_LEFT_BUMPER,
  RB = GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
  BACK = GLFW_GAMEPAD_BUTTON_BACK,
  START = GLFW_GAMEPAD_BUTTON_START,
  GUIDE = GLFW_GAMEPAD_BUTTON_GUIDE,
  LTHUMB = GLFW_GAMEPAD_BUTTON_LEFT_THUMB,
  RTHUMB = GLFW_GAMEPAD_BUTTON_RIGHT_THUMB,
  UP = GLFW_GAMEPAD_BUTTON_DPAD_UP,
  RIGHT = GLFW_GAMEPAD_BUTTON_DPAD_RIGHT,
  DOWN = GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
  LEFT = GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
  COUNT = GLFW_GAMEPAD_BUTTON_LAST + 1
};
const float kRest[GLFW_GAMEPAD_AXIS_LAST + 1] = {0, 0, 0, 0, -1, -1};  // released triggers

enum PadAxis {
  LX = GLFW_GAMEPAD_AXIS_LEFT_X,
  LY = GLFW_GAMEPAD_AXIS_LEFT_Y,
  RX = GLFW_GAMEPAD_AXIS_RIGHT_X,
  RY = GLFW_GAMEPAD_AXIS_RIGHT_Y,
  LT = GLFW_GAMEPAD_AXIS_LEFT_TRIGGER,
  RT = GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER
};

JoystickFrame present(std::initializer_list<int> pressed, const float* axes = kRest) {
  unsigned char buttons[COUNT] = {};
  for (int b : pressed) buttons[b] = 1;
  JoystickFrame frame;
  present_gamepad(buttons, axes, frame);
  return frame;
}

// The one presented button that reads pressed, or -1 for none or several.
int only_pressed(const JoystickFrame& f) {
  int found = -1;
  for (int i = 0; i < f.button_count; ++i) {
    if (!f.buttons[i]) continue;
    if (found != -1) return -1;
    found = i;
  }
  return found;
}

TEST(Gamepad, EachPadButtonLandsOnItsControlSlot) {
  struct Case {
    int pad, slot;
  } cases[] = {{A, 0}, {B, 1}, {X, 2}, {Y, 3}, {START, 7}, {LEFT, 8}, {UP, 9}, {RIGHT, 10}, {DOWN, 11}};
  for (const Case& c : cases) {
    JoystickFrame f = present({c.pad});
    EXPECT_EQ(c.slot, only_pressed(f)) << "pad button " << c.pad;
  }
  // The rest keep distinct slots of their own, none on a control slot.
  for (int pad : {LB, RB, BACK, GUIDE, LTHUMB, RTHUMB}) {
    int slot = only_pressed(present({pad}));
    EXPECT_NE(-1, slot) << "pad button " << pad;
    EXPECT_TRUE(slot != 7 && (slot < 8 || slot > 11) && slot > 3) << "pad button " << pad << " at " << slot;
  }
  EXPECT_EQ(kGamepadButtonCount, present({}).button_count);
  EXPECT_EQ(-1, only_pressed(present({})));
}

TEST(Gamepad, SticksAndTriggersFollowTheTwoStickLayout) {
  float axes[6];
  axes[LX] = 0.1f, axes[LY] = -0.2f, axes[RX] = 0.3f, axes[RY] = -0.4f;
  axes[LT] = 0.5f, axes[RT] = -0.5f;
  JoystickFrame f = present({}, axes);
  ASSERT_EQ(6, f.axis_count);
  EXPECT_EQ(0.1f, f.axes[0]);
  EXPECT_EQ(-0.2f, f.axes[1]);
  EXPECT_EQ(0.75f, f.axes[2]) << "left trigger three quarters in";
  EXPECT_EQ(0.3f, f.axes[3]);
  EXPECT_EQ(-0.4f, f.axes[4]);
  EXPECT_EQ(0.25f, f.axes[5]) << "right trigger a quarter in";

  // An untouched pad: sticks centred, triggers released (the platform's -1).
  float rest[6] = {};
  rest[LT] = rest[RT] = -1;
  JoystickFrame r = present({}, rest);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(0.0f, r.axes[i]) << "axis " << i;
}

TEST(Gamepad, ThroughTheInputDeviceUpReadsAsUp) {
  fakewin::reset();
  gc_init();
  wlInit();
  wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW);
  gxtkApp* host = new gxtkApp();
  bb_input_SetInputDevice(host->input);

  float axes[6] = {};
  axes[LT] = axes[RT] = -1;
  axes[LX] = -0.9f;
  axes[LY] = 0.8f;
  axes[RX] = 0.25f;
  fakewin::state().joystick_present = true;
  fakewin::state().joystick = present({UP, A}, axes);
  host->input->BeginUpdate();
  EXPECT_EQ(1, bb_input_JoyDown(9, 0)) << "d-pad up";
  EXPECT_EQ(0, bb_input_JoyDown(11, 0)) << "d-pad down";
  EXPECT_EQ(1, bb_input_JoyDown(0, 0));
  EXPECT_EQ(-0.9f, bb_input_JoyX(0, 0));
  EXPECT_EQ(0.8f, bb_input_JoyY(0, 0));
  EXPECT_EQ(0.25f, bb_input_JoyX(1, 0));
  EXPECT_EQ(0.0f, bb_input_JoyZ(0, 0)) << "released trigger";
  host->input->EndUpdate();
}

}  // namespace
