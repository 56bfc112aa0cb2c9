// Key-code translation from the window layer's classic numbering, and the
// characters that non-printing keys queue.
#include "input/input.h"

#include "seam/window.h"

namespace {

const int kFirstMapped = 32;
const int kLastMapped = WL_KEY_END;  // 301

struct KeyMapping {
  int classic;
  int key;
};

// Printable punctuation and the special keys the framework knows. Alt, F13 and
// up, and the keypad are deliberately absent.
const KeyMapping kMappings[] = {
    {WL_KEY_SPACE, kKeySpace},
    {'"', 222},
    {'\'', 222},
    {',', 188},
    {'-', 189},
    {'.', 190},
    {'/', 191},
    {';', 186},
    {'=', 187},
    {'[', 219},
    {'\\', 220},
    {']', 221},
    {'`', 192},
    {'~', 192},
    {WL_KEY_ESC, kKeyEscape},
    {WL_KEY_UP, kKeyUp},
    {WL_KEY_DOWN, kKeyDown},
    {WL_KEY_LEFT, kKeyLeft},
    {WL_KEY_RIGHT, kKeyRight},
    {WL_KEY_LSHIFT, kKeyLeftShift},
    {WL_KEY_RSHIFT, kKeyRightShift},
    {WL_KEY_LCTRL, kKeyLeftControl},
    {WL_KEY_RCTRL, kKeyRightControl},
    {WL_KEY_TAB, kKeyTab},
    {WL_KEY_ENTER, kKeyEnter},
    {WL_KEY_BACKSPACE, kKeyBackspace},
    {WL_KEY_INSERT, kKeyInsert},
    {WL_KEY_DEL, kKeyDelete},
    {WL_KEY_PAGEUP, kKeyPageUp},
    {WL_KEY_PAGEDOWN, kKeyPageDown},
    {WL_KEY_HOME, kKeyHome},
    {WL_KEY_END, kKeyEnd},
};

struct KeyTable {
  int keys[kLastMapped - kFirstMapped + 1] = {};
  KeyTable() {
    for (const KeyMapping& m : kMappings) keys[m.classic - kFirstMapped] = m.key;
    for (int f = 0; f < 12; ++f) keys[WL_KEY_F1 + f - kFirstMapped] = kKeyF1 + f;
  }
};

const KeyTable& Table() {
  static const KeyTable table;
  return table;
}

}  // namespace

int TransKey(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return key;
  if (key < kFirstMapped || key > kLastMapped) return 0;
  return Table().keys[key - kFirstMapped];
}

int KeyToChar(int key) {
  switch (key) {
    case 8:
    case 9:
    case 13:
    case 27:
      return key;
    case 33:
    case 34:
    case 35:
    case 36:
    case 37:
    case 38:
    case 39:
    case 40:
    case 45:
      return key | kNonPrintingCharFlag;
    case 46:
      return 127;
  }
  return 0;
}
