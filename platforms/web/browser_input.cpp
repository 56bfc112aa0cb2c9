// Browser input events to the window layer's terms: key names, typed
// characters, the keys the page keeps, mouse buttons and standard gamepads.
#include "browser_input.h"

#include <cstring>

#include "seam/window.h"

namespace {

struct NamedKey {
  const char* code;
  int key;
};

// Named keys; letters, digits, F-keys and the numeric pad are ranges below.
const NamedKey kNamedKeys[] = {
    {"Space", WL_KEY_SPACE},         {"Quote", '\''},
    {"Comma", ','},                  {"Minus", '-'},
    {"Period", '.'},                 {"Slash", '/'},
    {"Semicolon", ';'},              {"Equal", '='},
    {"BracketLeft", '['},            {"Backslash", '\\'},
    {"BracketRight", ']'},           {"Backquote", '`'},
    {"IntlBackslash", '\\'},         {"Escape", WL_KEY_ESC},
    {"Enter", WL_KEY_ENTER},         {"Tab", WL_KEY_TAB},
    {"Backspace", WL_KEY_BACKSPACE}, {"Insert", WL_KEY_INSERT},
    {"Delete", WL_KEY_DEL},          {"ArrowRight", WL_KEY_RIGHT},
    {"ArrowLeft", WL_KEY_LEFT},      {"ArrowDown", WL_KEY_DOWN},
    {"ArrowUp", WL_KEY_UP},          {"PageUp", WL_KEY_PAGEUP},
    {"PageDown", WL_KEY_PAGEDOWN},   {"Home", WL_KEY_HOME},
    {"End", WL_KEY_END},             {"CapsLock", WL_KEY_CAPS_LOCK},
    {"ScrollLock", WL_KEY_SCROLL_LOCK}, {"NumLock", WL_KEY_KP_NUM_LOCK},
    {"Pause", WL_KEY_PAUSE},         {"NumpadDecimal", WL_KEY_KP_DECIMAL},
    {"NumpadDivide", WL_KEY_KP_DIVIDE}, {"NumpadMultiply", WL_KEY_KP_MULTIPLY},
    {"NumpadSubtract", WL_KEY_KP_SUBTRACT}, {"NumpadAdd", WL_KEY_KP_ADD},
    {"NumpadEnter", WL_KEY_KP_ENTER}, {"NumpadEqual", WL_KEY_KP_EQUAL},
    {"ShiftLeft", WL_KEY_LSHIFT},    {"ShiftRight", WL_KEY_RSHIFT},
    {"ControlLeft", WL_KEY_LCTRL},   {"ControlRight", WL_KEY_RCTRL},
    {"AltLeft", WL_KEY_LALT},        {"AltRight", WL_KEY_RALT},
    {"MetaLeft", WL_KEY_LSUPER},     {"MetaRight", WL_KEY_RSUPER},
    {"OSLeft", WL_KEY_LSUPER},       {"OSRight", WL_KEY_RSUPER},
    {"ContextMenu", WL_KEY_MENU},
};

bool starts_with(const char* s, const char* prefix) { return std::strncmp(s, prefix, std::strlen(prefix)) == 0; }

// The decimal number that makes up all of `s` ("1".."99"), or -1.
int small_number(const char* s) {
  int n = 0, digits = 0;
  for (; *s; ++s, ++digits) {
    if (*s < '0' || *s > '9' || digits == 2) return -1;
    n = n * 10 + (*s - '0');
  }
  return digits ? n : -1;
}

// "KeyA".."KeyZ", "Digit0".."Digit9", "F1".."F25", "Numpad0".."Numpad9".
int ranged_key(const char* code) {
  if (starts_with(code, "Key") && code[3] >= 'A' && code[3] <= 'Z' && !code[4]) return code[3];
  if (starts_with(code, "Digit") && code[5] >= '0' && code[5] <= '9' && !code[6]) return code[5];
  if (starts_with(code, "Numpad") && code[6] >= '0' && code[6] <= '9' && !code[7]) return WL_KEY_KP_0 + code[6] - '0';
  if (code[0] == 'F') {
    int n = small_number(code + 1);
    if (n >= 1 && n <= WL_KEY_F25 - WL_KEY_F1 + 1) return WL_KEY_F1 + n - 1;
  }
  return 0;
}

}  // namespace

int browser_key_code(const char* code) {
  if (!code || !*code) return 0;
  if (int key = ranged_key(code)) return key;
  for (const NamedKey& k : kNamedKeys)
    if (std::strcmp(code, k.code) == 0) return k.key;
  return 0;
}

int browser_key_char(const char* key) {
  if (!key) return 0;
  const unsigned char* s = reinterpret_cast<const unsigned char*>(key);
  int length = s[0] < 0x80 ? 1 : (s[0] & 0xe0) == 0xc0 ? 2 : (s[0] & 0xf0) == 0xe0 ? 3 : (s[0] & 0xf8) == 0xf0 ? 4 : 0;
  if (length == 0 || s[0] == 0) return 0;
  int c = length == 1 ? s[0] : s[0] & (0x7f >> length);
  for (int i = 1; i < length; ++i) {
    if ((s[i] & 0xc0) != 0x80) return 0;
    c = c << 6 | (s[i] & 0x3f);
  }
  if (s[length] != 0) return 0;  // a name such as "Enter", not one character
  return c < 32 || c == 127 ? 0 : c;
}

bool browser_keeps_key(const char* code, bool ctrl, bool alt, bool meta) {
  if (ctrl || alt || meta) return true;
  int key = browser_key_code(code);
  return key == 0 || (key >= WL_KEY_F1 && key <= WL_KEY_F25);
}

int browser_mouse_button(int button) {
  switch (button) {
    case 0: return 0;
    case 1: return 2;
    case 2: return 1;
  }
  return -1;
}

namespace {

// Standard-mapping button index for each of the platform's pad buttons (A B X
// Y, bumpers, back, start, guide, thumbs, d-pad up right down left).
const int kStandardForPad[kGamepadButtonCount] = {0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11, 12, 15, 13, 14};
const int kLeftTrigger = 6;
const int kRightTrigger = 7;

}  // namespace

// The platform reads triggers as axes from -1 released to 1 pressed, where
// the browser has them as analogue buttons from 0 to 1.
void present_standard_gamepad(const double* analog_buttons, const bool* digital_buttons, const double* axes,
                              JoystickFrame& out) {
  unsigned char pad_buttons[kGamepadButtonCount];
  for (int i = 0; i < kGamepadButtonCount; ++i) pad_buttons[i] = digital_buttons[kStandardForPad[i]] ? 1 : 0;
  float pad_axes[kGamepadAxisCount] = {
      static_cast<float>(axes[0]),
      static_cast<float>(axes[1]),
      static_cast<float>(axes[2]),
      static_cast<float>(axes[3]),
      static_cast<float>(analog_buttons[kLeftTrigger] * 2 - 1),
      static_cast<float>(analog_buttons[kRightTrigger] * 2 - 1),
  };
  present_gamepad(pad_buttons, pad_axes, out);
}
