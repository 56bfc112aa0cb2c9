// A scripted stand-in for the window layer: a virtual clock that moves only when
// the program sleeps or a test says so, and window events delivered at their
// scheduled times inside the program's poll and wait calls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "joystick.h"
#include "seam/window.h"

namespace fakewin {

struct State {
  // Start-up
  bool init_fails = false;
  bool open_fails = false;
  bool initialised = false;
  int desktop_width = 1280, desktop_height = 1024;
  // The window
  bool exists = false;
  bool close_requested = false;
  bool active = true;
  bool iconified = false;
  int width = 640, height = 480;
  int x = 0, y = 0;
  bool no_resize_hint = false;
  std::string title;
  int open_width = 0, open_height = 0, open_mode = 0;
  bool fullscreen = false;  // covers the desktop since the last mode switch
  int mode_switches = 0;
  // The icon as last set: one entry per picture, its RGBA bytes copied.
  struct Picture {
    int width, height;
    std::vector<unsigned char> rgba;
  };
  std::vector<Picture> icon;
  // Features
  bool key_repeat = false;
  bool auto_poll = true;
  // Callbacks as registered by the program
  WLkeyfun key_fn = nullptr;
  WLcharfun char_fn = nullptr;
  WLmousebuttonfun mouse_fn = nullptr;
  WLwindowsizefun size_fn = nullptr;
  WLwindowrefreshfun refresh_fn = nullptr;
  // Devices
  int mouse_x = 0, mouse_y = 0;
  bool joystick_present = false;
  JoystickFrame joystick;
  // Clock and counters
  double now = 0;
  int swaps = 0;
  int polls = 0;
  int waits = 0;
  int sleeps = 0;
  double slept = 0;
  // Called at every buffer swap (after the count is raised).
  std::function<void()> on_swap;
  // Display frames for wlRunFrames: on a grid of frame_rate a second, each
  // called up to frame_jitter seconds after its tick (a fixed spread, the same
  // every run). An iconified window gets no frames: the next comes with the
  // next scheduled event. frame_times holds when each frame was called.
  double frame_rate = 60;
  double frame_jitter = 0;
  std::vector<double> frame_times;
};

State& state();
// Fresh state: window closed, clock at 0, nothing scheduled.
void reset();

// Moves the virtual clock on.
void advance(double seconds);

// Runs `action` inside the first poll or wait at or after time `at`. A wait with
// nothing due jumps the clock to the next scheduled time. A wait with nothing
// scheduled at all stands for a user who closes the window.
void at(double time, std::function<void()> action);
int pending();

// Scripted user actions, delivered like window-system events.
void key(double time, int key, int action);
void character(double time, int ch);
void mouse_button(double time, int button, int action);
void iconify(double time);
void restore(double time, bool focused);
void focus(double time, bool focused);
void request_close(double time);

}  // namespace fakewin
