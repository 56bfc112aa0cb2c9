// The scripted window layer behind fake_window.h.
#include "fake_window.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace fakewin {

State g_state;
std::multimap<double, std::function<void()>> g_events;

namespace {

// Runs, in time order, every event due by the current time.
void deliver_due() {
  while (!g_events.empty() && g_events.begin()->first <= g_state.now) {
    auto action = g_events.begin()->second;
    g_events.erase(g_events.begin());
    action();
  }
}

}  // namespace

State& state() { return g_state; }

void reset() {
  g_state = State();
  g_events.clear();
}

void advance(double seconds) { g_state.now += seconds; }

void at(double time, std::function<void()> action) { g_events.emplace(time, std::move(action)); }

int pending() { return static_cast<int>(g_events.size()); }

void key(double time, int k, int action) {
  at(time, [k, action] {
    if (g_state.key_fn) g_state.key_fn(k, action);
  });
}

void character(double time, int ch) {
  at(time, [ch] {
    if (g_state.char_fn) g_state.char_fn(ch, WL_PRESS);
  });
}

void mouse_button(double time, int button, int action) {
  at(time, [button, action] {
    if (g_state.mouse_fn) g_state.mouse_fn(button, action);
  });
}

void iconify(double time) {
  at(time, [] {
    g_state.iconified = true;
    g_state.active = false;
  });
}

void restore(double time, bool focused) {
  at(time, [focused] {
    g_state.iconified = false;
    g_state.active = focused;
  });
}

void focus(double time, bool focused) {
  at(time, [focused] { g_state.active = focused; });
}

void request_close(double time) {
  at(time, [] { g_state.close_requested = true; });
}

}  // namespace fakewin

int wlInit() {
  if (fakewin::state().init_fails) return 0;
  fakewin::state().initialised = true;
  return 1;
}

void wlTerminate() {
  fakewin::State& s = fakewin::state();
  s.initialised = false;
  s.exists = false;
}

void wlGetDesktopMode(WLvidmode* mode) {
  const fakewin::State& s = fakewin::state();
  *mode = WLvidmode{s.desktop_width, s.desktop_height, 8, 8, 8};
}

void wlOpenWindowHint(int target, int hint) {
  if (target == WL_WINDOW_NO_RESIZE) fakewin::state().no_resize_hint = hint != 0;
}

int wlOpenWindow(int width, int height, int, int, int, int, int, int, int mode) {
  fakewin::State& s = fakewin::state();
  if (s.open_fails) return 0;
  s.exists = true;
  s.width = s.open_width = width;
  s.height = s.open_height = height;
  s.open_mode = mode;
  return 1;
}

void wlCloseWindow() { fakewin::state().exists = false; }
void wlSetWindowTitle(const char* title) { fakewin::state().title = title; }

void wlSetWindowPos(int x, int y) {
  fakewin::state().x = x;
  fakewin::state().y = y;
}

void wlSetWindowIcon(int count, const WLimage* images) {
  fakewin::State& s = fakewin::state();
  s.icon.clear();
  for (int i = 0; i < count; ++i) {
    const WLimage& im = images[i];
    s.icon.push_back({im.Width, im.Height, std::vector<unsigned char>(im.Pixels, im.Pixels + im.Width * im.Height * 4)});
  }
}

// Fullscreen covers the one desktop, as a single-monitor window system does.
void wlSetWindowMode(int mode, int x, int y, int width, int height) {
  fakewin::State& s = fakewin::state();
  if (!s.exists) return;
  ++s.mode_switches;
  if (mode == WL_FULLSCREEN) {
    s.fullscreen = true;
    s.x = s.y = 0;
    s.width = s.desktop_width;
    s.height = s.desktop_height;
  } else if (mode == WL_WINDOW) {
    s.fullscreen = false;
    s.x = x;
    s.y = y;
    s.width = width;
    s.height = height;
  }
}

void wlGetWindowSize(int* width, int* height) {
  const fakewin::State& s = fakewin::state();
  *width = s.width;
  *height = s.height;
}

int wlGetWindowParam(int param) {
  const fakewin::State& s = fakewin::state();
  switch (param) {
    case WL_OPENED: return s.exists && !s.close_requested;
    case WL_ACTIVE: return s.active;
    case WL_ICONIFIED: return s.iconified;
  }
  return 0;
}

void wlIconifyWindow() { fakewin::state().iconified = true; }
void wlRestoreWindow() { fakewin::state().iconified = false; }

void wlSwapBuffers() {
  fakewin::State& s = fakewin::state();
  ++s.swaps;
  if (s.on_swap) s.on_swap();
}

void wlPollEvents() {
  ++fakewin::state().polls;
  fakewin::deliver_due();
}

void wlWaitEvents() {
  fakewin::State& s = fakewin::state();
  ++s.waits;
  if (fakewin::g_events.empty()) {
    s.close_requested = true;  // nothing more will happen: the user leaves
    return;
  }
  s.now = std::max(s.now, fakewin::g_events.begin()->first);
  fakewin::deliver_due();
}

int wlPendingEvents() {
  const fakewin::State& s = fakewin::state();
  if (fakewin::g_events.empty()) {
    fakewin::state().close_requested = true;  // nothing more will happen: the user leaves
    return 1;
  }
  return fakewin::g_events.begin()->first <= s.now;
}

void wlSetKeyCallback(WLkeyfun fn) { fakewin::state().key_fn = fn; }
void wlSetCharCallback(WLcharfun fn) { fakewin::state().char_fn = fn; }
void wlSetMouseButtonCallback(WLmousebuttonfun fn) { fakewin::state().mouse_fn = fn; }
void wlSetWindowSizeCallback(WLwindowsizefun fn) { fakewin::state().size_fn = fn; }
void wlSetWindowRefreshCallback(WLwindowrefreshfun fn) { fakewin::state().refresh_fn = fn; }

void wlEnable(int feature) {
  if (feature == WL_KEY_REPEAT) fakewin::state().key_repeat = true;
  if (feature == WL_AUTO_POLL_EVENTS) fakewin::state().auto_poll = true;
}

void wlDisable(int feature) {
  if (feature == WL_KEY_REPEAT) fakewin::state().key_repeat = false;
  if (feature == WL_AUTO_POLL_EVENTS) fakewin::state().auto_poll = false;
}

void wlGetMousePos(int* x, int* y) {
  *x = fakewin::state().mouse_x;
  *y = fakewin::state().mouse_y;
}

int wlGetJoystickParam(int joy, int param) {
  const fakewin::State& s = fakewin::state();
  if (joy != 0 || !s.joystick_present) return 0;
  switch (param) {
    case WL_PRESENT: return 1;
    case WL_AXES: return s.joystick.axis_count;
    case WL_BUTTONS: return s.joystick.button_count;
  }
  return 0;
}

int wlGetJoystickPos(int joy, float* pos, int numaxes) {
  const fakewin::State& s = fakewin::state();
  if (joy != 0 || !s.joystick_present) return 0;
  int n = std::min(numaxes, s.joystick.axis_count);
  std::copy(s.joystick.axes, s.joystick.axes + n, pos);
  return n;
}

int wlGetJoystickButtons(int joy, unsigned char* buttons, int numbuttons) {
  const fakewin::State& s = fakewin::state();
  if (joy != 0 || !s.joystick_present) return 0;
  int n = std::min(numbuttons, s.joystick.button_count);
  std::copy(s.joystick.buttons, s.joystick.buttons + n, buttons);
  return n;
}

double wlGetTime() { return fakewin::state().now; }

namespace {

// The jitter of frame `k`: a fixed spread over 0..1 in steps of 1/64.
double jitter_share(long k) { return static_cast<double>((k * 37) % 64) / 64.0; }

// When the frame after the one that has just returned is called: the next
// tick of the display grid (`tick` counts them from the clock's zero). An
// iconified window gets no frames, but the change itself is one: the frame
// after it comes at once, and then none until the next scheduled event.
void next_frame(long& tick, bool iconified_before) {
  fakewin::State& s = fakewin::state();
  if (s.iconified) {
    if (!iconified_before) return;
    if (!fakewin::g_events.empty()) {
      s.now = std::max(s.now, fakewin::g_events.begin()->first);
      return;
    }
  }
  const double interval = 1.0 / s.frame_rate;
  tick = std::max(tick + 1, static_cast<long>(std::floor(s.now / interval)));
  while (static_cast<double>(tick) * interval <= s.now) ++tick;
  s.now = static_cast<double>(tick) * interval + s.frame_jitter * jitter_share(tick);
}

}  // namespace

void wlRunFrames(int (*frame)()) {
  // A program that never closes is stopped after this many seconds of frames.
  const double kLongestRun = 3600;
  fakewin::State& s = fakewin::state();
  const double start = s.now;
  long tick = static_cast<long>(std::floor(s.now * s.frame_rate));
  for (;;) {
    bool iconified = s.iconified;
    s.frame_times.push_back(s.now);
    if (!frame() || s.now - start > kLongestRun) return;
    next_frame(tick, iconified);
  }
}

// Like a real sleep, even the shortest one takes a little time: without that,
// a loop that sleeps off a sub-nanosecond difference would never see the clock
// pass its deadline.
void wlSleep(double seconds) {
  const double kShortestSleep = 1e-6;
  fakewin::State& s = fakewin::state();
  ++s.sleeps;
  if (seconds < kShortestSleep) seconds = kShortestSleep;
  s.slept += seconds;
  s.now += seconds;
}
