// What the browser's input events mean to the window layer: key names to the
// classic key numbering, the character a key types, which keys the page keeps
// for itself, and the standard gamepad mapping in the platform's pad order.
// Pure functions, so they build and are tested on every platform.
#pragma once

#include "joystick.h"

// The classic key code for a KeyboardEvent.code ("KeyA", "ArrowLeft", ...),
// the physical key as on a US layout; 0 for keys the game has no number for.
int browser_key_code(const char* code);

// The character a KeyboardEvent.key types: its one code point, or 0 for named
// keys ("Enter", "Dead", ...), an empty or malformed name.
int browser_key_char(const char* key);

// True when the browser should still act on the key (shortcuts with Control,
// Alt or Meta, the function keys, keys the game has no number for); the game
// sees the key either way. Every other key is the game's alone, so it never
// scrolls or navigates the page.
bool browser_keeps_key(const char* code, bool ctrl, bool alt, bool meta);

// The mouse button numbering of the window layer (0 left, 1 right, 2 middle)
// for a MouseEvent.button (0 left, 1 middle, 2 right); -1 for others.
int browser_mouse_button(int button);

// A gamepad under the browser's "standard" mapping (17 buttons with analogue
// values, 4 axes) presented like a recognised pad on the desktop.
const int kStandardButtonCount = 17;
const int kStandardAxisCount = 4;
void present_standard_gamepad(const double* analog_buttons, const bool* digital_buttons, const double* axes,
                              JoystickFrame& out);
