// A recognised gamepad is presented in the layout the game's controls read:
// A/B/X/Y 0-3, Start 7, d-pad left/up/right/down 8-11, left stick as axes 0, 1.
#include <gtest/gtest.h>

#include "fake_window.h"
#include "host/app.h"
#include "host/joystick.h"
#include "input/input.h"

namespace {

// The platform's gamepad order (A B X Y, bumpers, back, start, guide, thumbs,
// d-pad up right down left; axes left x y, right x y, triggers).
enum PadButton { A, B, X, Y, LB, RB, BACK, START, GUIDE, LTHUMB, RTHUMB, UP, RIGHT, DOWN, LEFT, COUNT };
enum PadAxis { LX, LY, RX, RY, LT, RT };

JoystickFrame present(std::initializer_list<int> pressed, const float (&axes)[6] = {}) {
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
  const float axes[6] = {0.1f, -0.2f, 0.3f, -0.4f, 0.5f, 0.6f};  // LX LY RX RY LT RT
  JoystickFrame f = present({}, axes);
  ASSERT_EQ(6, f.axis_count);
  EXPECT_EQ(axes[LX], f.axes[0]);
  EXPECT_EQ(axes[LY], f.axes[1]);
  EXPECT_EQ(axes[LT], f.axes[2]);
  EXPECT_EQ(axes[RX], f.axes[3]);
  EXPECT_EQ(axes[RY], f.axes[4]);
  EXPECT_EQ(axes[RT], f.axes[5]);
}

TEST(Gamepad, ThroughTheInputDeviceUpReadsAsUp) {
  fakewin::reset();
  gc_init();
  wlInit();
  wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW);
  gxtkApp* host = new gxtkApp();
  bb_input_SetInputDevice(host->input);

  const float axes[6] = {-0.9f, 0.8f, 0.25f, 0, 0, 0};
  fakewin::state().joystick_present = true;
  fakewin::state().joystick = present({UP, A}, axes);
  host->input->BeginUpdate();
  EXPECT_EQ(1, bb_input_JoyDown(9, 0)) << "d-pad up";
  EXPECT_EQ(0, bb_input_JoyDown(11, 0)) << "d-pad down";
  EXPECT_EQ(1, bb_input_JoyDown(0, 0));
  EXPECT_EQ(-0.9f, bb_input_JoyX(0, 0));
  EXPECT_EQ(0.8f, bb_input_JoyY(0, 0));
  EXPECT_EQ(0.25f, bb_input_JoyX(1, 0));
  host->input->EndUpdate();
}

}  // namespace
