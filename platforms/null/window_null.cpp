// The null window layer: a window that exists only as a size, no events, no
// joystick, no state area, and a clock that needs no window. Programs that
// run the game without a screen (the replay verifier) link it.
#include <chrono>

#include "seam/state_area.h"
#include "seam/window.h"

namespace {

std::chrono::steady_clock::time_point g_start = std::chrono::steady_clock::now();
int g_width = 0, g_height = 0;
bool g_open = false;

}  // namespace

int wlInit() {
  g_start = std::chrono::steady_clock::now();
  return 1;
}

void wlTerminate() { g_open = false; }

void wlGetDesktopMode(WLvidmode* mode) { *mode = WLvidmode{g_width, g_height, 8, 8, 8}; }

void wlOpenWindowHint(int, int) {}

int wlOpenWindow(int width, int height, int, int, int, int, int, int, int) {
  if (width <= 0 || height <= 0) return 0;
  g_width = width;
  g_height = height;
  g_open = true;
  return 1;
}

void wlCloseWindow() { g_open = false; }
void wlSetWindowTitle(const char*) {}
void wlSetWindowPos(int, int) {}
void wlSetWindowIcon(int, const WLimage*) {}
void wlSetWindowMode(int, int, int, int, int) {}

void wlGetWindowSize(int* width, int* height) {
  *width = g_open ? g_width : 0;
  *height = g_open ? g_height : 0;
}

int wlGetWindowParam(int param) {
  switch (param) {
    case WL_OPENED:
    case WL_ACTIVE:
      return g_open ? 1 : 0;
    default:
      return 0;
  }
}

void wlIconifyWindow() {}
void wlRestoreWindow() {}
void wlSwapBuffers() {}
void wlPollEvents() {}
void wlWaitEvents() {}
int wlPendingEvents() { return 0; }

// The browser build's program is driven by frames (the verifier drives its
// updates itself and never asks). With no display to pace them, frames
// follow one another until `frame` says stop.
void wlRunFrames(int (*frame)()) {
  while (frame()) {
  }
}
void wlSetKeyCallback(WLkeyfun) {}
void wlSetCharCallback(WLcharfun) {}
void wlSetMouseButtonCallback(WLmousebuttonfun) {}
void wlSetWindowSizeCallback(WLwindowsizefun) {}
void wlSetWindowRefreshCallback(WLwindowrefreshfun) {}
void wlEnable(int) {}
void wlDisable(int) {}

void wlGetMousePos(int* x, int* y) {
  *x = 0;
  *y = 0;
}

int wlGetJoystickParam(int, int) { return 0; }
int wlGetJoystickPos(int, float*, int) { return 0; }
int wlGetJoystickButtons(int, unsigned char*, int) { return 0; }

double wlGetTime() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - g_start).count();
}

void wlSleep(double) {}

// No state area: no folder can be made under /dev/null, so the state file
// and every file beside it are missing when read and fail when written,
// which the framework already handles as a state it cannot keep.
const char* state_area_folder() { return "/dev/null/"; }

void state_area_saved(const char*) {}
