// The window layer in a browser: the page's canvas is the window, DOM events
// (emscripten/html5.h) are queued and handed to the host's callbacks inside
// its poll and wait calls, and a hidden page reads as an iconified window. A
// page cannot block: the program's loop is called once per animation frame
// (wlRunFrames) and returns to the browser in between, which then shows the
// canvas and runs the page's events.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <set>
#include <vector>

#include "browser_input.h"
#include "joystick.h"
#include "seam/window.h"

extern "C" {
int wlweb_page_hidden();
int wlweb_create_context(int width, int height);
int wlweb_canvas_width();
int wlweb_canvas_height();
void wlweb_canvas_point(long client_x, long client_y, int* x, int* y);
int wlweb_screen_width();
int wlweb_screen_height();
void wlweb_set_fullscreen(int on);
int wlweb_take_fullscreen_lost();
}

namespace {

const char* const kCanvas = "#canvas";

struct Event {
  enum Kind { kKey, kChar, kMouseButton } kind;
  int code;
  int action;
};

bool g_open = false;
bool g_key_repeat = false;
bool g_shown_or_hidden = false;  // the page's visibility changed since the last delivery
int (*g_frame)() = nullptr;
double g_start_ms = 0;
int g_mouse_x = 0, g_mouse_y = 0;
std::vector<Event> g_queue;
std::set<int> g_keys_down;     // classic key codes, to release on blur
std::set<int> g_buttons_down;  // window-layer mouse buttons, likewise
WLkeyfun g_key_fn = nullptr;
WLcharfun g_char_fn = nullptr;
WLmousebuttonfun g_mouse_fn = nullptr;

void queue_key(int code, int action) {
  if (action == WL_PRESS)
    g_keys_down.insert(code);
  else
    g_keys_down.erase(code);
  g_queue.push_back({Event::kKey, code, action});
}

void queue_button(int button, int action) {
  if (action == WL_PRESS)
    g_buttons_down.insert(button);
  else if (!g_buttons_down.erase(button))
    return;  // a release of a press that never reached the canvas
  g_queue.push_back({Event::kMouseButton, button, action});
}

// The browser still acts on shortcuts and function keys; every other key is
// the game's alone (returning true stops the page from scrolling).
EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* e, void*) {
  int code = browser_key_code(e->code);
  bool shortcut = e->ctrlKey || e->altKey || e->metaKey;
  if (type == EMSCRIPTEN_EVENT_KEYDOWN) {
    if (code && (!e->repeat || g_key_repeat)) queue_key(code, WL_PRESS);
    int ch = shortcut ? 0 : browser_key_char(e->key);
    if (ch) g_queue.push_back({Event::kChar, ch, WL_PRESS});
  } else if (code) {
    queue_key(code, WL_RELEASE);
  }
  return browser_keeps_key(e->code, e->ctrlKey, e->altKey, e->metaKey) ? EM_FALSE : EM_TRUE;
}

void track_mouse(const EmscriptenMouseEvent* e) {
  wlweb_canvas_point(e->clientX, e->clientY, &g_mouse_x, &g_mouse_y);
}

// Presses count on the canvas only; releases anywhere, so a drag that leaves
// the canvas still ends. The default action stays: a press focuses the canvas.
EM_BOOL on_mouse(int type, const EmscriptenMouseEvent* e, void*) {
  track_mouse(e);
  int button = browser_mouse_button(e->button);
  if (button < 0) return EM_FALSE;
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) queue_button(button, WL_PRESS);
  if (type == EMSCRIPTEN_EVENT_MOUSEUP) queue_button(button, WL_RELEASE);
  return EM_FALSE;
}

EM_BOOL on_mouse_move(int, const EmscriptenMouseEvent* e, void*) {
  track_mouse(e);
  return EM_FALSE;
}

// A page that loses the focus gets no more key-ups: let go of everything, as
// a desktop window does when it loses the focus.
EM_BOOL on_blur(int, const EmscriptenFocusEvent*, void*) {
  std::set<int> keys = g_keys_down, buttons = g_buttons_down;
  for (int code : keys) queue_key(code, WL_RELEASE);
  for (int button : buttons) queue_button(button, WL_RELEASE);
  return EM_FALSE;
}

void listen() {
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_TRUE, on_key);
  emscripten_set_keyup_callback(window, nullptr, EM_TRUE, on_key);
  emscripten_set_mousedown_callback(kCanvas, nullptr, EM_TRUE, on_mouse);
  emscripten_set_mouseup_callback(window, nullptr, EM_TRUE, on_mouse);
  emscripten_set_mousemove_callback(window, nullptr, EM_TRUE, on_mouse_move);
  emscripten_set_blur_callback(window, nullptr, EM_TRUE, on_blur);
}

void deliver(const Event& e) {
  switch (e.kind) {
    case Event::kKey:
      if (g_key_fn) g_key_fn(e.code, e.action);
      break;
    case Event::kChar:
      if (g_char_fn) g_char_fn(e.code, e.action);
      break;
    case Event::kMouseButton:
      if (g_mouse_fn) g_mouse_fn(e.code, e.action);
      break;
  }
}

// The page left fullscreen by itself (Escape) or refused it: the host hears
// F11, the key that switches its window mode, so its mode follows the page.
void follow_page_fullscreen() {
  if (!wlweb_take_fullscreen_lost()) return;
  g_queue.push_back({Event::kKey, WL_KEY_F1 + 10, WL_PRESS});
  g_queue.push_back({Event::kKey, WL_KEY_F1 + 10, WL_RELEASE});
}

void deliver_queue() {
  follow_page_fullscreen();
  g_shown_or_hidden = false;
  std::vector<Event> events;
  events.swap(g_queue);
  for (const Event& e : events) deliver(e);
}

}  // namespace

int wlInit() {
  g_start_ms = emscripten_get_now();
  return 1;
}

void wlTerminate() { g_open = false; }

void wlGetDesktopMode(WLvidmode* mode) {
  *mode = WLvidmode{wlweb_screen_width(), wlweb_screen_height(), 8, 8, 8};
}

void wlOpenWindowHint(int, int) {}

// The canvas is the window: it takes the size asked for; colour bits, depth,
// stencil and the window mode are the page's business.
int wlOpenWindow(int width, int height, int, int, int, int, int, int, int) {
  if (!wlweb_create_context(width, height)) return 0;
  listen();
  g_open = true;
  return 1;
}

void wlCloseWindow() { g_open = false; }

// The page keeps its own title and place.
void wlSetWindowTitle(const char*) {}
void wlSetWindowPos(int, int) {}
// The page owns its icon and its size; fullscreen is the canvas's, through
// the page's Fullscreen API, at the canvas's own resolution.
void wlSetWindowIcon(int, const WLimage*) {}
void wlSetWindowMode(int mode, int, int, int, int) {
  if (mode == WL_FULLSCREEN || mode == WL_WINDOW) wlweb_set_fullscreen(mode == WL_FULLSCREEN ? 1 : 0);
}

void wlGetWindowSize(int* width, int* height) {
  *width = g_open ? wlweb_canvas_width() : 0;
  *height = g_open ? wlweb_canvas_height() : 0;
}

int wlGetWindowParam(int param) {
  if (!g_open) return 0;
  switch (param) {
    case WL_OPENED: return 1;
    case WL_ACTIVE: return wlweb_page_hidden() ? 0 : 1;
    case WL_ICONIFIED: return wlweb_page_hidden();
  }
  return 0;
}

// A page can neither minimise nor restore itself.
void wlIconifyWindow() {}
void wlRestoreWindow() {}

// The browser shows the canvas when the frame's call returns to it.
void wlSwapBuffers() {}

void wlPollEvents() { deliver_queue(); }

// Delivers what is queued without blocking: the program waits by asking
// wlPendingEvents once a frame.
void wlWaitEvents() { deliver_queue(); }

int wlPendingEvents() { return !g_queue.empty() || g_shown_or_hidden; }

void wlSetKeyCallback(WLkeyfun fn) { g_key_fn = fn; }
void wlSetCharCallback(WLcharfun fn) { g_char_fn = fn; }
void wlSetMouseButtonCallback(WLmousebuttonfun fn) { g_mouse_fn = fn; }
// The canvas never changes size and the browser redraws it itself.
void wlSetWindowSizeCallback(WLwindowsizefun) {}
void wlSetWindowRefreshCallback(WLwindowrefreshfun) {}

// Events only ever reach the callbacks inside the poll and wait calls.
void wlEnable(int feature) {
  if (feature == WL_KEY_REPEAT) g_key_repeat = true;
}

void wlDisable(int feature) {
  if (feature == WL_KEY_REPEAT) g_key_repeat = false;
}

void wlGetMousePos(int* x, int* y) {
  *x = g_mouse_x;
  *y = g_mouse_y;
}

double wlGetTime() { return (emscripten_get_now() - g_start_ms) / 1000.0; }

// A page cannot sleep; its program is driven by frames and never asks to.
void wlSleep(double) {}

namespace {

void run_frame() {
  if (g_frame && !g_frame()) {
    g_frame = nullptr;
    emscripten_cancel_main_loop();
  }
}

// A hidden page gets no animation frames, so a change of its visibility runs
// a frame at once: the program suspends (and the game saves) inside the
// event, before a closing page is gone.
EM_BOOL on_visibility(int, const EmscriptenVisibilityChangeEvent*, void*) {
  g_shown_or_hidden = true;
  run_frame();
  return EM_FALSE;
}

}  // namespace

// The browser's own frame timing (requestAnimationFrame). The program's stack
// unwinds here; the frames keep it going.
void wlRunFrames(int (*frame)()) {
  g_frame = frame;
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, on_visibility);
  emscripten_set_main_loop(run_frame, 0, 1);
}
