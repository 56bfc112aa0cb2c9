// The window's two modes and its icon: the centred 640x480 window the program
// opens with, fullscreen on the monitor that holds it, and the keys that
// switch between them (F11, Alt+Enter), which the game never sees.
#include "app/app.h"
#include "graphics/surface.h"
#include "seam/window.h"

namespace {

const int kWindowWidth = 640;
const int kWindowHeight = 480;

// Icon pictures in data/, smallest first; the window system picks its size.
const char* const kIconFiles[] = {
    "tovrin://data/icons/vaultwick-16.png", "tovrin://data/icons/vaultwick-32.png",
    "tovrin://data/icons/vaultwick-48.png", "tovrin://data/icons/vaultwick-64.png",
    "tovrin://data/icons/vaultwick-128.png",
};
const int kIconCount = sizeof(kIconFiles) / sizeof(kIconFiles[0]);

bool g_fullscreen = false;
bool g_left_alt = false, g_right_alt = false;
int g_switch_key = 0;  // the switching key while it is held, else 0

bool IsSwitchKey(int key) {
  if (key == WL_KEY_F1 + 10) return true;  // F11
  return (key == WL_KEY_ENTER || key == WL_KEY_KP_ENTER) && (g_left_alt || g_right_alt);
}

}  // namespace

bool OpenGameWindow() {
  WLvidmode desktop;
  wlGetDesktopMode(&desktop);
  wlOpenWindowHint(WL_WINDOW_NO_RESIZE, 1);
  if (!wlOpenWindow(kWindowWidth, kWindowHeight, 0, 0, 0, 0, 0, 0, WL_WINDOW)) return false;
  wlSetWindowPos((desktop.Width - kWindowWidth) / 2, (desktop.Height - kWindowHeight) / 2);
  g_fullscreen = false;
  return true;
}

void ToggleFullscreen() {
  g_fullscreen = !g_fullscreen;
  if (g_fullscreen) {
    wlSetWindowMode(WL_FULLSCREEN, 0, 0, 0, 0);
    return;
  }
  WLvidmode desktop;
  wlGetDesktopMode(&desktop);
  wlSetWindowMode(WL_WINDOW, (desktop.Width - kWindowWidth) / 2, (desktop.Height - kWindowHeight) / 2,
                  kWindowWidth, kWindowHeight);
}

bool IsFullscreen() { return g_fullscreen; }

// Called by OnKey before the key reaches the input device. A held switching
// key repeats as presses; only its first press switches.
bool TakeWindowModeKey(int key, int action) {
  if (key == WL_KEY_LALT) g_left_alt = action == WL_PRESS;
  if (key == WL_KEY_RALT) g_right_alt = action == WL_PRESS;
  if (action == WL_PRESS) {
    if (key == g_switch_key) return true;
    if (!IsSwitchKey(key)) return false;
    g_switch_key = key;
    ToggleFullscreen();
    return true;
  }
  if (action == WL_RELEASE && key == g_switch_key) {
    g_switch_key = 0;
    return true;
  }
  return false;
}

// Missing or unreadable pictures are left out; with none the window keeps the
// window system's own icon.
void SetGameWindowIcon() {
  unsigned char* pixels[kIconCount] = {};
  WLimage images[kIconCount];
  int count = 0;
  for (int i = 0; i < kIconCount; ++i) {
    int w = 0, h = 0, depth = 0;
    pixels[i] = loadImage(String(kIconFiles[i]), &w, &h, &depth);
    if (!pixels[i]) continue;
    if (depth == 4) images[count++] = WLimage{w, h, pixels[i]};
  }
  if (count > 0) wlSetWindowIcon(count, images);
  for (unsigned char* p : pixels)
    if (p) unloadImage(p);
}
