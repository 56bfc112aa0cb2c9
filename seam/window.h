// The window layer: the only door from the host to the window system.
//
// It offers the classic single-window calls the host is written against (open a
// window with hints, window params, poll and wait, callbacks, joystick, time and
// sleep). The game links platforms/glfw/window_glfw.cpp (GLFW 3 underneath); tests link a
// fake with a virtual clock and scripted events. Key codes are delivered in the
// classic numbering: printable keys as their upper-case ASCII value, special
// keys from WL_KEY_SPECIAL (256) up.
#pragma once

// Window modes for wlOpenWindow.
enum { WL_WINDOW = 0x00010001, WL_FULLSCREEN = 0x00010002 };

// Window parameters (wlGetWindowParam) and hints (wlOpenWindowHint).
enum {
  WL_OPENED = 0x00020001,
  WL_ACTIVE = 0x00020002,
  WL_ICONIFIED = 0x00020003,
  WL_WINDOW_NO_RESIZE = 0x00021012,
};

// Features for wlEnable / wlDisable.
enum {
  WL_KEY_REPEAT = 0x00030004,
  WL_AUTO_POLL_EVENTS = 0x00030006,
};

// Joystick parameters.
enum { WL_PRESENT = 0x00050001, WL_AXES = 0x00050002, WL_BUTTONS = 0x00050003 };

// Actions reported to the key, character and mouse-button callbacks.
enum { WL_RELEASE = 0, WL_PRESS = 1 };

// Special keys in the classic numbering.
enum {
  WL_KEY_SPACE = 32,
  WL_KEY_SPECIAL = 256,
  WL_KEY_ESC = 257,
  WL_KEY_F1 = 258,  // F1..F25 are 258..282
  WL_KEY_F25 = 282,
  WL_KEY_UP = 283,
  WL_KEY_DOWN = 284,
  WL_KEY_LEFT = 285,
  WL_KEY_RIGHT = 286,
  WL_KEY_LSHIFT = 287,
  WL_KEY_RSHIFT = 288,
  WL_KEY_LCTRL = 289,
  WL_KEY_RCTRL = 290,
  WL_KEY_LALT = 291,
  WL_KEY_RALT = 292,
  WL_KEY_TAB = 293,
  WL_KEY_ENTER = 294,
  WL_KEY_BACKSPACE = 295,
  WL_KEY_INSERT = 296,
  WL_KEY_DEL = 297,
  WL_KEY_PAGEUP = 298,
  WL_KEY_PAGEDOWN = 299,
  WL_KEY_HOME = 300,
  WL_KEY_END = 301,
  WL_KEY_KP_0 = 302,  // keypad 0..9 are 302..311
  WL_KEY_KP_DIVIDE = 312,
  WL_KEY_KP_MULTIPLY = 313,
  WL_KEY_KP_SUBTRACT = 314,
  WL_KEY_KP_ADD = 315,
  WL_KEY_KP_DECIMAL = 316,
  WL_KEY_KP_EQUAL = 317,
  WL_KEY_KP_ENTER = 318,
  WL_KEY_KP_NUM_LOCK = 319,
  WL_KEY_CAPS_LOCK = 320,
  WL_KEY_SCROLL_LOCK = 321,
  WL_KEY_PAUSE = 322,
  WL_KEY_LSUPER = 323,
  WL_KEY_RSUPER = 324,
  WL_KEY_MENU = 325,
};

struct WLvidmode {
  int Width, Height;
  int RedBits, GreenBits, BlueBits;
};

// One picture of the window's icon: Width x Height pixels of 8-bit RGBA, rows
// from the top.
struct WLimage {
  int Width, Height;
  const unsigned char* Pixels;
};

typedef void (*WLkeyfun)(int key, int action);
typedef void (*WLcharfun)(int character, int action);
typedef void (*WLmousebuttonfun)(int button, int action);
typedef void (*WLwindowsizefun)(int width, int height);
typedef void (*WLwindowrefreshfun)();

// Start-up and shut-down; wlInit returns 1 on success.
int wlInit();
void wlTerminate();
void wlGetDesktopMode(WLvidmode* mode);

// The one window. wlOpenWindow returns 1 on success.
void wlOpenWindowHint(int target, int hint);
int wlOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                 int depthbits, int stencilbits, int mode);
void wlCloseWindow();
void wlSetWindowTitle(const char* title);
void wlSetWindowPos(int x, int y);
// The window's icon, in as many sizes as given; the window system picks the
// one that suits it. A layer without icons ignores it.
void wlSetWindowIcon(int count, const WLimage* images);
// Switches the open window between WL_FULLSCREEN, covering the monitor that
// holds it at that monitor's current video mode (x, y, width and height are not
// used), and WL_WINDOW, an ordinary window of width x height at (x, y). A
// layer without modes ignores it.
void wlSetWindowMode(int mode, int x, int y, int width, int height);
void wlGetWindowSize(int* width, int* height);
// WL_OPENED reads 0 once a close has been requested.
int wlGetWindowParam(int param);
void wlIconifyWindow();
void wlRestoreWindow();
void wlSwapBuffers();

// Events are delivered to the callbacks only inside these two calls once
// automatic polling is disabled.
void wlPollEvents();
void wlWaitEvents();
// Whether an event would end a wait now (input, a change of the window's
// state); for programs driven by wlRunFrames, which cannot wait.
int wlPendingEvents();
void wlSetKeyCallback(WLkeyfun fn);
void wlSetCharCallback(WLcharfun fn);
void wlSetMouseButtonCallback(WLmousebuttonfun fn);
void wlSetWindowSizeCallback(WLwindowsizefun fn);
void wlSetWindowRefreshCallback(WLwindowrefreshfun fn);
void wlEnable(int feature);
void wlDisable(int feature);

// Mouse position in window pixels, top-left origin.
void wlGetMousePos(int* x, int* y);

// Joysticks: params, axis values (-1..1) and button states (1 pressed). The
// reads return how many entries were written.
int wlGetJoystickParam(int joy, int param);
int wlGetJoystickPos(int joy, float* pos, int numaxes);
int wlGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons);

// Seconds since wlInit, and sleeping.
double wlGetTime();
void wlSleep(double seconds);

// For a layer that cannot block, as a browser page cannot: calls `frame` once
// per display frame, at the display's own pace, and at once whenever the
// window is iconified or restored (a hidden page gets no frames), until
// `frame` returns 0. It may return before that, leaving the frames to come
// from the window system. The desktop layer, whose program loops by itself,
// does not offer it.
void wlRunFrames(int (*frame)());
