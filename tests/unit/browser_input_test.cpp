// Browser input in the window layer's terms: a key's name reaches the game as
// the key code the desktop gives it, typed characters, the keys the page keeps,
// mouse buttons, and standard-mapping gamepads on the controls' slots.
#include <gtest/gtest.h>

#include "browser_input.h"
#include "input/input.h"

namespace {

TEST(BrowserInput, KeyNamesReachTheGameAsTheDesktopsKeyCodes) {
  struct Case {
    const char* code;
    int game_key;  // after the host's translation; 0 is ignored
  } cases[] = {
      {"Space", 32},     {"Enter", 13},       {"Escape", 27},        {"Backspace", 8},   {"Tab", 9},
      {"ArrowLeft", 37}, {"ArrowUp", 38},     {"ArrowRight", 39},    {"ArrowDown", 40},  {"PageUp", 33},
      {"PageDown", 34},  {"End", 35},         {"Home", 36},          {"Insert", 45},     {"Delete", 46},
      {"KeyA", 65},      {"KeyZ", 90},        {"Digit0", 48},        {"Digit9", 57},     {"F1", 112},
      {"F12", 123},      {"ShiftLeft", 160},  {"ShiftRight", 161},   {"ControlLeft", 162}, {"ControlRight", 163},
      {"Quote", 222},    {"Comma", 188},      {"Minus", 189},        {"Period", 190},    {"Slash", 191},
      {"Semicolon", 186}, {"Equal", 187},     {"BracketLeft", 219},  {"Backslash", 220}, {"BracketRight", 221},
      {"Backquote", 192}, {"AltLeft", 0},     {"Numpad5", 0},        {"F13", 0},
  };
  for (const Case& c : cases) {
    int classic = browser_key_code(c.code);
    EXPECT_EQ(c.game_key, TransKey(classic)) << c.code << " (classic " << classic << ")";
  }
}

TEST(BrowserInput, UnknownOrMalformedKeyNamesHaveNoCode) {
  for (const char* code : {"", "Keya", "KeyAB", "Digit", "Digit10", "F", "F0", "F26", "F123", "Numpad",
                           "AudioVolumeUp", "Unidentified"})
    EXPECT_EQ(0, browser_key_code(code)) << "'" << code << "'";
  EXPECT_EQ(0, browser_key_code(nullptr));
  // Names the desktop layer numbers too, beyond what the game reads.
  EXPECT_NE(0, browser_key_code("Numpad0"));
  EXPECT_NE(0, browser_key_code("F25"));
  EXPECT_NE(0, browser_key_code("MetaLeft"));
}

TEST(BrowserInput, AKeyTypesItsOneCharacter) {
  struct Case {
    const char* key;
    int character;
  } cases[] = {
      {"a", 'a'},           {"A", 'A'},          {" ", ' '},         {"~", '~'},
      {"\xc3\xa9", 0xe9},   {"\xe2\x82\xac", 0x20ac}, {"\xf0\x9f\x98\x80", 0x1f600},
      {"Enter", 0},         {"Dead", 0},         {"ArrowLeft", 0},   {"", 0},
      {"\x80", 0},          {"\xc3", 0},         {"\xc3\xa9x", 0},   {"\xe2\x28\xa1", 0},
      {"\x7f", 0},          {"\t", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.character, browser_key_char(c.key)) << "'" << c.key << "'";
  EXPECT_EQ(0, browser_key_char(nullptr));
}

TEST(BrowserInput, ThePageKeepsShortcutsAndFunctionKeysOnly) {
  struct Case {
    const char* code;
    bool ctrl, alt, meta, kept;
  } cases[] = {
      {"Space", false, false, false, false},    {"ArrowDown", false, false, false, false},
      {"PageDown", false, false, false, false}, {"Tab", false, false, false, false},
      {"Backspace", false, false, false, false}, {"Quote", false, false, false, false},
      {"F5", false, false, false, true},        {"F12", false, false, false, true},
      {"KeyR", true, false, false, true},       {"ArrowLeft", false, true, false, true},
      {"KeyW", false, false, true, true},       {"AudioVolumeUp", false, false, false, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.kept, browser_keeps_key(c.code, c.ctrl, c.alt, c.meta)) << c.code << " " << c.ctrl << c.alt << c.meta;
}

TEST(BrowserInput, MouseButtonsInTheWindowLayersOrder) {
  const int expected[] = {0, 2, 1, -1, -1};  // left, middle, right, back, forward
  for (int b = 0; b < 5; ++b) EXPECT_EQ(expected[b], browser_mouse_button(b)) << "button " << b;
  EXPECT_EQ(-1, browser_mouse_button(-1));
}

// A standard-mapping pad with only `pressed` down and the given axes.
JoystickFrame standard(std::initializer_list<int> pressed, const double (&axes)[4] = {0, 0, 0, 0},
                       double left_trigger = 0, double right_trigger = 0) {
  double analog[kStandardButtonCount] = {};
  bool digital[kStandardButtonCount] = {};
  for (int b : pressed) {
    digital[b] = true;
    analog[b] = 1;
  }
  analog[6] = left_trigger;
  analog[7] = right_trigger;
  JoystickFrame frame;
  present_standard_gamepad(analog, digital, axes, frame);
  return frame;
}

TEST(BrowserInput, StandardPadButtonsLandOnTheDesktopsControlSlots) {
  struct Case {
    int standard, slot;
  } cases[] = {{0, 0},  {1, 1},  {2, 2},   {3, 3},  {4, 4},   {5, 5},  {8, 6},  {9, 7},
               {14, 8}, {12, 9}, {15, 10}, {13, 11}, {16, 12}, {10, 13}, {11, 14}};
  for (const Case& c : cases) {
    JoystickFrame f = standard({c.standard});
    ASSERT_EQ(kGamepadButtonCount, f.button_count);
    for (int i = 0; i < f.button_count; ++i)
      EXPECT_EQ(i == c.slot ? 1 : 0, f.buttons[i]) << "standard button " << c.standard << ", slot " << i;
  }
}

TEST(BrowserInput, StandardPadSticksAndTriggers) {
  JoystickFrame f = standard({}, {0.1, -0.2, 0.3, -0.4}, 0.75, 0.25);
  ASSERT_EQ(6, f.axis_count);
  EXPECT_FLOAT_EQ(0.1f, f.axes[0]);
  EXPECT_FLOAT_EQ(-0.2f, f.axes[1]);
  EXPECT_FLOAT_EQ(0.75f, f.axes[2]) << "left trigger";
  EXPECT_FLOAT_EQ(0.3f, f.axes[3]);
  EXPECT_FLOAT_EQ(-0.4f, f.axes[4]);
  EXPECT_FLOAT_EQ(0.25f, f.axes[5]) << "right trigger";
  JoystickFrame rest = standard({});
  for (int i = 0; i < 6; ++i) EXPECT_EQ(0.0f, rest.axes[i]) << "axis " << i << " of an untouched pad";
}

}  // namespace
