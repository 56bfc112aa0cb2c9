// The window layer on GLFW 3: translates the classic calls, key numbering and
// event semantics the host is written against. No logic of its own beyond that.
#include <GLFW/glfw3.h>

#include <cmath>
#include <ctime>

#include "joystick.h"
#include "seam/window.h"

namespace {

// The X11 class and instance name of the window: the desktop entry's
// StartupWMClass (dist/), by which docks and task bars group the window with
// its launcher. GLFW would name it "GLFW-Application".
const char kWindowClass[] = "io.github.vaultwick.Vaultwick";

GLFWwindow* g_window = nullptr;
bool g_no_resize_hint = false;
bool g_key_repeat = false;
WLkeyfun g_key_fn = nullptr;
WLcharfun g_char_fn = nullptr;
WLmousebuttonfun g_mouse_fn = nullptr;
WLwindowsizefun g_size_fn = nullptr;
WLwindowrefreshfun g_refresh_fn = nullptr;

// The window's state as its events last reported it. Asking the X server
// instead costs a round trip each time, and the main loop asks several times
// a pass, right between waking up and the update that is due; a server busy
// with the last frame's pixels then makes the update late.
bool g_focused = false;
bool g_iconified = false;
int g_fb_width = 0, g_fb_height = 0;

// GLFW 3 key to the classic numbering; printable keys keep their ASCII value.
int classic_key(int key) {
  if (key >= 32 && key <= 96) return key;
  if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F25) return WL_KEY_F1 + (key - GLFW_KEY_F1);
  if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9) return WL_KEY_KP_0 + (key - GLFW_KEY_KP_0);
  switch (key) {
    case GLFW_KEY_ESCAPE: return WL_KEY_ESC;
    case GLFW_KEY_ENTER: return WL_KEY_ENTER;
    case GLFW_KEY_TAB: return WL_KEY_TAB;
    case GLFW_KEY_BACKSPACE: return WL_KEY_BACKSPACE;
    case GLFW_KEY_INSERT: return WL_KEY_INSERT;
    case GLFW_KEY_DELETE: return WL_KEY_DEL;
    case GLFW_KEY_RIGHT: return WL_KEY_RIGHT;
    case GLFW_KEY_LEFT: return WL_KEY_LEFT;
    case GLFW_KEY_DOWN: return WL_KEY_DOWN;
    case GLFW_KEY_UP: return WL_KEY_UP;
    case GLFW_KEY_PAGE_UP: return WL_KEY_PAGEUP;
    case GLFW_KEY_PAGE_DOWN: return WL_KEY_PAGEDOWN;
    case GLFW_KEY_HOME: return WL_KEY_HOME;
    case GLFW_KEY_END: return WL_KEY_END;
    case GLFW_KEY_CAPS_LOCK: return WL_KEY_CAPS_LOCK;
    case GLFW_KEY_SCROLL_LOCK: return WL_KEY_SCROLL_LOCK;
    case GLFW_KEY_NUM_LOCK: return WL_KEY_KP_NUM_LOCK;
    case GLFW_KEY_PAUSE: return WL_KEY_PAUSE;
    case GLFW_KEY_KP_DECIMAL: return WL_KEY_KP_DECIMAL;
    case GLFW_KEY_KP_DIVIDE: return WL_KEY_KP_DIVIDE;
    case GLFW_KEY_KP_MULTIPLY: return WL_KEY_KP_MULTIPLY;
    case GLFW_KEY_KP_SUBTRACT: return WL_KEY_KP_SUBTRACT;
    case GLFW_KEY_KP_ADD: return WL_KEY_KP_ADD;
    case GLFW_KEY_KP_ENTER: return WL_KEY_KP_ENTER;
    case GLFW_KEY_KP_EQUAL: return WL_KEY_KP_EQUAL;
    case GLFW_KEY_LEFT_SHIFT: return WL_KEY_LSHIFT;
    case GLFW_KEY_RIGHT_SHIFT: return WL_KEY_RSHIFT;
    case GLFW_KEY_LEFT_CONTROL: return WL_KEY_LCTRL;
    case GLFW_KEY_RIGHT_CONTROL: return WL_KEY_RCTRL;
    case GLFW_KEY_LEFT_ALT: return WL_KEY_LALT;
    case GLFW_KEY_RIGHT_ALT: return WL_KEY_RALT;
    case GLFW_KEY_LEFT_SUPER: return WL_KEY_LSUPER;
    case GLFW_KEY_RIGHT_SUPER: return WL_KEY_RSUPER;
    case GLFW_KEY_MENU: return WL_KEY_MENU;
  }
  return 0;
}

void on_key(GLFWwindow*, int key, int, int action, int) {
  if (action == GLFW_REPEAT) {
    if (!g_key_repeat) return;
    action = GLFW_PRESS;  // a repeat counts as another press
  }
  int code = classic_key(key);
  if (code && g_key_fn) g_key_fn(code, action == GLFW_PRESS ? WL_PRESS : WL_RELEASE);
}

void on_char(GLFWwindow*, unsigned int codepoint) {
  if (g_char_fn) g_char_fn(static_cast<int>(codepoint), WL_PRESS);
}

void on_mouse_button(GLFWwindow*, int button, int action, int) {
  if (g_mouse_fn) g_mouse_fn(button, action == GLFW_PRESS ? WL_PRESS : WL_RELEASE);
}

void on_size(GLFWwindow*, int width, int height) {
  if (g_size_fn) g_size_fn(width, height);
}

void on_refresh(GLFWwindow*) {
  if (g_refresh_fn) g_refresh_fn();
}

void on_focus(GLFWwindow*, int focused) { g_focused = focused == GLFW_TRUE; }
void on_iconify(GLFWwindow*, int iconified) { g_iconified = iconified == GLFW_TRUE; }

void on_framebuffer_size(GLFWwindow*, int width, int height) {
  g_fb_width = width;
  g_fb_height = height;
}

// Asked once, when the window is made; its events keep the answers after that.
void read_window_state() {
  g_focused = glfwGetWindowAttrib(g_window, GLFW_FOCUSED) == GLFW_TRUE;
  g_iconified = glfwGetWindowAttrib(g_window, GLFW_ICONIFIED) == GLFW_TRUE;
  glfwGetFramebufferSize(g_window, &g_fb_width, &g_fb_height);
}

// The monitor whose area holds the window's centre; the primary one when none
// does (a window dragged half off every screen).
GLFWmonitor* monitor_of_window() {
  int x = 0, y = 0, w = 0, h = 0;
  glfwGetWindowPos(g_window, &x, &y);
  glfwGetWindowSize(g_window, &w, &h);
  int cx = x + w / 2, cy = y + h / 2;
  int count = 0;
  GLFWmonitor** monitors = glfwGetMonitors(&count);
  for (int i = 0; i < count; ++i) {
    const GLFWvidmode* vm = glfwGetVideoMode(monitors[i]);
    int mx = 0, my = 0;
    glfwGetMonitorPos(monitors[i], &mx, &my);
    if (vm && cx >= mx && cx < mx + vm->width && cy >= my && cy < my + vm->height) return monitors[i];
  }
  return glfwGetPrimaryMonitor();
}

}  // namespace

int wlInit() { return glfwInit() == GLFW_TRUE ? 1 : 0; }

void wlTerminate() {
  glfwTerminate();
  g_window = nullptr;
}

void wlGetDesktopMode(WLvidmode* mode) {
  const GLFWvidmode* vm = glfwGetVideoMode(glfwGetPrimaryMonitor());
  *mode = WLvidmode{};
  if (!vm) return;
  *mode = WLvidmode{vm->width, vm->height, vm->redBits, vm->greenBits, vm->blueBits};
}

void wlOpenWindowHint(int target, int hint) {
  if (target == WL_WINDOW_NO_RESIZE) g_no_resize_hint = hint != 0;
}

int wlOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                 int depthbits, int stencilbits, int mode) {
  glfwDefaultWindowHints();
  glfwWindowHint(GLFW_RESIZABLE, g_no_resize_hint ? GLFW_FALSE : GLFW_TRUE);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 1);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 2);
  if (redbits > 0) glfwWindowHint(GLFW_RED_BITS, redbits);
  if (greenbits > 0) glfwWindowHint(GLFW_GREEN_BITS, greenbits);
  if (bluebits > 0) glfwWindowHint(GLFW_BLUE_BITS, bluebits);
  glfwWindowHint(GLFW_ALPHA_BITS, alphabits);
  glfwWindowHint(GLFW_DEPTH_BITS, depthbits);
  glfwWindowHint(GLFW_STENCIL_BITS, stencilbits);
  glfwWindowHintString(GLFW_X11_CLASS_NAME, kWindowClass);
  glfwWindowHintString(GLFW_X11_INSTANCE_NAME, kWindowClass);
  GLFWmonitor* monitor = mode == WL_FULLSCREEN ? glfwGetPrimaryMonitor() : nullptr;
  g_window = glfwCreateWindow(width, height, "", monitor, nullptr);
  if (!g_window) return 0;
  glfwMakeContextCurrent(g_window);
  glfwSetKeyCallback(g_window, on_key);
  glfwSetCharCallback(g_window, on_char);
  glfwSetMouseButtonCallback(g_window, on_mouse_button);
  glfwSetWindowSizeCallback(g_window, on_size);
  glfwSetWindowRefreshCallback(g_window, on_refresh);
  glfwSetWindowFocusCallback(g_window, on_focus);
  glfwSetWindowIconifyCallback(g_window, on_iconify);
  glfwSetFramebufferSizeCallback(g_window, on_framebuffer_size);
  read_window_state();
  return 1;
}

void wlCloseWindow() {
  if (g_window) glfwDestroyWindow(g_window);
  g_window = nullptr;
}

void wlSetWindowTitle(const char* title) {
  if (g_window) glfwSetWindowTitle(g_window, title);
}

void wlSetWindowPos(int x, int y) {
  if (g_window) glfwSetWindowPos(g_window, x, y);
}

void wlSetWindowIcon(int count, const WLimage* images) {
  if (!g_window || count <= 0) return;
  GLFWimage pictures[16];
  if (count > 16) count = 16;
  for (int i = 0; i < count; ++i) {
    pictures[i].width = images[i].Width;
    pictures[i].height = images[i].Height;
    pictures[i].pixels = const_cast<unsigned char*>(images[i].Pixels);
  }
  glfwSetWindowIcon(g_window, count, pictures);
}

// Fullscreen keeps the monitor's own video mode, so the desktop is not
// switched to another resolution and back.
void wlSetWindowMode(int mode, int x, int y, int width, int height) {
  if (!g_window) return;
  if (mode == WL_FULLSCREEN) {
    GLFWmonitor* monitor = monitor_of_window();
    const GLFWvidmode* vm = glfwGetVideoMode(monitor);
    if (vm) glfwSetWindowMonitor(g_window, monitor, 0, 0, vm->width, vm->height, vm->refreshRate);
  } else if (mode == WL_WINDOW) {
    glfwSetWindowMonitor(g_window, nullptr, x, y, width, height, GLFW_DONT_CARE);
  }
}

void wlGetWindowSize(int* width, int* height) {
  *width = *height = 0;
  if (!g_window) return;
  *width = g_fb_width;
  *height = g_fb_height;
}

int wlGetWindowParam(int param) {
  if (!g_window) return 0;
  switch (param) {
    case WL_OPENED: return glfwWindowShouldClose(g_window) ? 0 : 1;
    case WL_ACTIVE: return g_focused ? 1 : 0;
    case WL_ICONIFIED: return g_iconified ? 1 : 0;
  }
  return 0;
}

void wlIconifyWindow() {
  if (g_window) glfwIconifyWindow(g_window);
}

void wlRestoreWindow() {
  if (g_window) glfwRestoreWindow(g_window);
}

void wlSwapBuffers() {
  if (g_window) glfwSwapBuffers(g_window);
}

void wlPollEvents() { glfwPollEvents(); }
void wlWaitEvents() { glfwWaitEvents(); }
void wlSetKeyCallback(WLkeyfun fn) { g_key_fn = fn; }
void wlSetCharCallback(WLcharfun fn) { g_char_fn = fn; }
void wlSetMouseButtonCallback(WLmousebuttonfun fn) { g_mouse_fn = fn; }
void wlSetWindowSizeCallback(WLwindowsizefun fn) { g_size_fn = fn; }
void wlSetWindowRefreshCallback(WLwindowrefreshfun fn) { g_refresh_fn = fn; }

// GLFW 3 only delivers events inside its poll and wait calls, which is what
// disabling automatic polling asks for; key repeat is filtered in on_key.
void wlEnable(int feature) {
  if (feature == WL_KEY_REPEAT) g_key_repeat = true;
}

void wlDisable(int feature) {
  if (feature == WL_KEY_REPEAT) g_key_repeat = false;
}

void wlGetMousePos(int* x, int* y) {
  double fx = 0, fy = 0;
  if (g_window) glfwGetCursorPos(g_window, &fx, &fy);
  *x = static_cast<int>(std::floor(fx));
  *y = static_cast<int>(std::floor(fy));
}

double wlGetTime() { return glfwGetTime(); }

void wlSleep(double seconds) {
  if (seconds <= 0) return;
  timespec ts;
  ts.tv_sec = static_cast<time_t>(seconds);
  ts.tv_nsec = static_cast<long>((seconds - static_cast<double>(ts.tv_sec)) * 1e9);
  nanosleep(&ts, nullptr);
}
