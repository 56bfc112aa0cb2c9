// The input device fed through the scripted window layer and the host's
// callbacks: key states and hit counts, the Shift and Control pairs, the
// character queue, the mouse and the joystick with its axis adaptations.
#include <gtest/gtest.h>

#include "app/app.h"
#include "fake_window.h"
#include "input/input.h"

namespace {

class Input : public ::testing::Test {
 protected:
  gxtkInput* input = nullptr;

  void SetUp() override {
    fakewin::reset();
    gc_init();
    wlInit();
    wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW);
    gxtkApp* host = new gxtkApp();
    input = host->input;
    bb_input_SetInputDevice(input);
    wlSetKeyCallback(gxtkApp::OnKey);
    wlSetCharCallback(gxtkApp::OnChar);
    wlSetMouseButtonCallback(gxtkApp::OnMouseButton);
  }

  // Window-system events, delivered at the next poll.
  void press(int key) { fakewin::key(now(), key, WL_PRESS); }
  void release(int key) { fakewin::key(now(), key, WL_RELEASE); }
  void tap(int key) {
    press(key);
    release(key);
  }
  void type(int ch) { fakewin::character(now(), ch); }
  void poll() { wlPollEvents(); }
  static double now() { return fakewin::state().now; }

  // Polls events, then runs the device's side of one update around `body`.
  template <class F>
  void update(F body) {
    poll();
    input->BeginUpdate();
    body();
    input->EndUpdate();
  }
  void update() {
    update([] {});
  }

  void set_joystick(int axes, int buttons) {
    fakewin::state().joystick_present = true;
    fakewin::state().joystick.axis_count = axes;
    fakewin::state().joystick.button_count = buttons;
  }
};

TEST_F(Input, PressesBetweenUpdatesAreCountedThenCleared) {
  tap(WL_KEY_SPACE);
  tap(WL_KEY_SPACE);
  update([&] {
    EXPECT_EQ(2, bb_input_KeyHit(32));
    EXPECT_EQ(0, bb_input_KeyDown(32));
  });
  update([&] { EXPECT_EQ(0, bb_input_KeyHit(32)); });

  press('A');
  update([&] {
    EXPECT_EQ(1, bb_input_KeyHit(65));
    EXPECT_EQ(1, bb_input_KeyDown(65));
  });
  update([&] {
    EXPECT_EQ(0, bb_input_KeyHit(65));
    EXPECT_EQ(1, bb_input_KeyDown(65)) << "a held key stays down across updates";
  });
}

TEST_F(Input, ShiftAndControlAreDownWhileEitherSideIs) {
  press(WL_KEY_LSHIFT);
  poll();
  EXPECT_EQ(1, input->KeyDown(160));
  EXPECT_EQ(1, input->KeyDown(16));
  EXPECT_EQ(0, input->KeyDown(161));

  press(WL_KEY_RSHIFT);
  release(WL_KEY_LSHIFT);
  poll();
  EXPECT_EQ(0, input->KeyDown(160));
  EXPECT_EQ(1, input->KeyDown(161));
  EXPECT_EQ(1, input->KeyDown(16)) << "right shift still holds the pair";
  EXPECT_EQ(1, input->KeyHit(16)) << "the second side going down is not a new press";

  release(WL_KEY_RSHIFT);
  poll();
  EXPECT_EQ(0, input->KeyDown(16));

  press(WL_KEY_RCTRL);
  poll();
  EXPECT_EQ(1, input->KeyDown(17));
  EXPECT_EQ(0, input->KeyDown(16));
  release(WL_KEY_RCTRL);
  poll();
  EXPECT_EQ(0, input->KeyDown(17));
}

TEST_F(Input, RepeatedPressesOfAHeldKeyCountOnceButQueueEachCharacter) {
  for (int i = 0; i < 3; ++i) press(WL_KEY_BACKSPACE);
  update([&] {
    EXPECT_EQ(1, input->KeyHit(8));
    EXPECT_EQ(1, input->KeyDown(8));
    EXPECT_EQ(8, bb_input_GetChar());
    EXPECT_EQ(8, bb_input_GetChar());
    EXPECT_EQ(8, bb_input_GetChar());
    EXPECT_EQ(0, bb_input_GetChar());
  });
}

TEST_F(Input, TypingQueuesCharactersFromTheirSources) {
  press('A');
  type('a');
  tap(WL_KEY_LEFT);
  tap(WL_KEY_DEL);
  tap(WL_KEY_ENTER);
  tap(WL_KEY_F1);  // a key with no character
  update([&] {
    EXPECT_EQ(1, input->KeyDown(65));
    EXPECT_EQ(1, input->KeyHit(112));
    EXPECT_EQ(97, input->GetChar()) << "printable keys type through the character callback only";
    EXPECT_EQ(37 + 65536, input->GetChar());
    EXPECT_EQ(127, input->GetChar());
    EXPECT_EQ(13, input->GetChar());
    EXPECT_EQ(0, input->GetChar());
  });
}

TEST_F(Input, CharacterQueueHoldsThirtyTwoPerUpdate) {
  for (int i = 0; i < 33; ++i) type('a' + i % 26);
  update([&] {
    for (int i = 0; i < 32; ++i) ASSERT_EQ('a' + i % 26, input->GetChar()) << "character " << i;
    EXPECT_EQ(0, input->GetChar()) << "the 33rd was dropped";
  });

  type('x');
  type('y');
  update([&] { EXPECT_EQ('x', input->GetChar()); });
  update([&] { EXPECT_EQ(0, input->GetChar()) << "unread characters do not outlive their update"; });
}

TEST_F(Input, PressCountSaturatesInsteadOfCorruptingTheDownBit) {
  for (int i = 0; i < 300; ++i) tap('Q');
  poll();
  EXPECT_EQ(255, input->KeyHit('Q'));
  EXPECT_EQ(0, input->KeyDown('Q'));
}

TEST_F(Input, QueriesOutsideTheKeyRangeReadZero) {
  for (int key : {0, -1, 512, 100000}) {
    EXPECT_EQ(0, input->KeyDown(key)) << key;
    EXPECT_EQ(0, input->KeyHit(key)) << key;
  }
  input->OnKeyDown(512);  // out of range: ignored, not written past the table
  input->OnKeyUp(-3);
  EXPECT_EQ(0, input->KeyHit(511));
}

TEST_F(Input, MouseButtonsAreKeysAndTouchZeroFollowsTheLeftButton) {
  fakewin::state().mouse_x = 123;
  fakewin::state().mouse_y = 45;
  fakewin::mouse_button(now(), 0, WL_PRESS);
  fakewin::mouse_button(now(), 2, WL_PRESS);
  fakewin::mouse_button(now(), 5, WL_PRESS);  // no key for it
  update([&] {
    EXPECT_EQ(1, bb_input_MouseDown(0));
    EXPECT_EQ(1, bb_input_MouseHit(0));
    EXPECT_EQ(0, bb_input_MouseDown(1));
    EXPECT_EQ(1, bb_input_MouseDown(2));
    EXPECT_EQ(1, bb_input_TouchDown(0));
    EXPECT_EQ(0, bb_input_TouchDown(1));
    EXPECT_EQ(123.0f, bb_input_MouseX());
    EXPECT_EQ(45.0f, bb_input_MouseY());
    EXPECT_EQ(123.0f, bb_input_TouchX(3));
    EXPECT_EQ(45.0f, bb_input_TouchY(3));
  });
  fakewin::mouse_button(now(), 0, WL_RELEASE);
  update([&] { EXPECT_EQ(0, bb_input_TouchDown(0)); });
}

TEST_F(Input, TransKeyMapsTheClassicKeyNumbers) {
  struct Case {
    int classic, key;
  } cases[] = {
      {'0', 48},          {'9', 57},           {'A', 65},           {'Z', 90},
      {WL_KEY_SPACE, 32}, {'\'', 222},         {'"', 222},          {'`', 192},
      {'~', 192},         {';', 186},          {']', 221},          {WL_KEY_ESC, 27},
      {WL_KEY_F1, 112},   {WL_KEY_F1 + 11, 123}, {WL_KEY_UP, 38},   {WL_KEY_LEFT, 37},
      {WL_KEY_LCTRL, 162}, {WL_KEY_TAB, 9},    {WL_KEY_PAGEDOWN, 34}, {WL_KEY_HOME, 36},
      {WL_KEY_END, 35},
      // Not known to the framework.
      {'a', 0},           {31, 0},             {WL_KEY_F1 + 12, 0}, {WL_KEY_LALT, 0},
      {WL_KEY_KP_0, 0},   {WL_KEY_MENU, 0},    {-5, 0},             {'!', 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.key, TransKey(c.classic)) << "classic key " << c.classic;
}

TEST_F(Input, JoystickButtonsArePolledAsKeys) {
  set_joystick(2, 12);
  fakewin::state().joystick.buttons[9] = 1;
  update([&] {
    EXPECT_EQ(1, bb_input_JoyDown(9, 0));
    EXPECT_EQ(1, bb_input_JoyHit(9, 0));
    EXPECT_EQ(0, bb_input_JoyDown(8, 0));
  });
  update([&] {
    EXPECT_EQ(1, bb_input_JoyDown(9, 0));
    EXPECT_EQ(0, bb_input_JoyHit(9, 0)) << "held across updates: one press";
  });

  // Unplugged while held: the button must not stay down for ever.
  fakewin::state().joystick_present = false;
  update([&] {
    EXPECT_EQ(0, bb_input_JoyDown(9, 0));
    EXPECT_EQ(0.0f, bb_input_JoyX(0, 0));
  });
}

TEST_F(Input, OversizedJoysticksKeepToTheDeviceStorage) {
  set_joystick(JoystickFrame::kMaxAxes, JoystickFrame::kMaxButtons);
  for (int i = 0; i < JoystickFrame::kMaxAxes; ++i) fakewin::state().joystick.axes[i] = 0.5f;
  fakewin::state().joystick.buttons[31] = 1;
  fakewin::state().joystick.buttons[40] = 1;  // would land on key 296
  update([&] {
    EXPECT_EQ(1, input->KeyDown(256 + 31));
    EXPECT_EQ(0, input->KeyDown(256 + 40));
    EXPECT_EQ(0.5f, input->JoyZ(1));
  });
}

TEST_F(Input, StickAxesFollowTheAxisCount) {
  float* axes = fakewin::state().joystick.axes;
  const float values[6] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  std::copy(values, values + 6, axes);

  set_joystick(6, 0);
  update([&] {
    EXPECT_EQ(0.1f, bb_input_JoyX(0, 0));
    EXPECT_EQ(0.2f, bb_input_JoyY(0, 0));
    EXPECT_EQ(0.3f, bb_input_JoyZ(0, 0));
    EXPECT_EQ(0.4f, bb_input_JoyX(1, 0));
    EXPECT_EQ(-0.5f, bb_input_JoyY(1, 0));
    EXPECT_EQ(0.6f, bb_input_JoyZ(1, 0));
    EXPECT_EQ(0.0f, bb_input_JoyX(2, 0));
    EXPECT_EQ(0.0f, bb_input_JoyX(0, 1)) << "only unit 0 has sticks";
  });

  // Four axes: the second stick is axes 2 and 3.
  set_joystick(4, 0);
  update([&] {
    EXPECT_EQ(0.4f, input->JoyX(1));
    EXPECT_EQ(-0.3f, input->JoyY(1));
    EXPECT_EQ(0.0f, input->JoyZ(0));
    EXPECT_EQ(0.0f, input->JoyZ(1));
  });

  // Five axes: the second stick's x and y arrive swapped.
  set_joystick(5, 0);
  update([&] {
    EXPECT_EQ(0.5f, input->JoyX(1));
    EXPECT_EQ(-0.4f, input->JoyY(1));
    EXPECT_EQ(0.3f, input->JoyZ(0));
  });

  // Two axes: nothing left over from the wider reads above.
  set_joystick(2, 0);
  update([&] {
    EXPECT_EQ(0.1f, input->JoyX(0));
    EXPECT_EQ(0.0f, input->JoyX(1));
    EXPECT_EQ(0.0f, input->JoyY(1));
    EXPECT_EQ(0.0f, input->JoyZ(0));
  });
}

TEST_F(Input, AccelerometerAndKeyboardSwitchAreInert) {
  EXPECT_EQ(0.0f, bb_input_AccelX());
  EXPECT_EQ(0.0f, bb_input_AccelY());
  EXPECT_EQ(0.0f, bb_input_AccelZ());
  EXPECT_EQ(0, bb_input_DisableKeyboard());
  tap('B');
  poll();
  EXPECT_EQ(1, input->KeyHit('B')) << "the keyboard switch does not stop keys";
}

}  // namespace
