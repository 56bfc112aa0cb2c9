// gxtkApp: device ownership, update pacing and the main loop.
#include "app/app.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/timing_log.h"
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "input/input.h"
#include "seam/window.h"

gxtkApp* app = nullptr;
void (*runner)() = nullptr;

namespace {

const int kMaxCatchUpUpdates = 7;

}  // namespace

// The desktop blocks in its own loop; a browser page cannot block, and is
// handed the loop's pass to call once per animation frame.
void RunApp() {
#ifdef __EMSCRIPTEN__
  app->RunByFrames();
#else
  app->Run();
#endif
}

gxtkApp::gxtkApp() {
  app = this;
  graphics = new gxtkGraphics();
  input = new gxtkInput();
  audio = new gxtkAudio();
  updateRate = 0;
  nextUpdate = 0;
  updatePeriod = 0;
  suspended = false;
  runner = RunApp;
}

void gxtkApp::mark() {
  gc_mark_q(graphics);
  gc_mark_q(input);
  gc_mark_q(audio);
}

int gxtkApp::SetUpdateRate(int rate) {
  updateRate = rate;
  if (rate) {
    updatePeriod = 1.0 / rate;
    nextUpdate = wlGetTime() + updatePeriod;
  }
  return 0;
}

int gxtkApp::MilliSecs() {
  int64_t ms = static_cast<int64_t>(wlGetTime() * 1000.0);
  return static_cast<int32_t>(static_cast<uint32_t>(ms));  // the low 32 bits, two's complement
}

// ---------------------------------------------------------------------------
// Guarded hooks

void gxtkApp::InvokeOnCreate() {
  // The design has no way to go on without a window to draw in.
  if (!graphics->Validate()) std::abort();
  OnCreate();
  gc_collect();
}

void gxtkApp::InvokeOnRender() {
  if (suspended || !graphics->Validate()) return;
  graphics->BeginRender();
  OnRender();
  graphics->EndRender();
  ++framesDrawn;
  if (timinglog::enabled) timinglog::Frame();
  gc_collect();
}

void gxtkApp::InvokeOnUpdate() {
  if (suspended || !updateRate || !graphics->Validate()) return;
  input->BeginUpdate();
  OnUpdate();
  input->EndUpdate();
  ++updatesRun;
  gc_collect();
}

void gxtkApp::InvokeOnSuspend() {
  if (suspended) return;
  suspended = true;
  OnSuspend();
  audio->OnSuspend();
  if (updateRate) {
    // The override records 0 while suspended; the host keeps its own rate.
    int rate = updateRate;
    SetUpdateRate(0);
    updateRate = rate;
  }
  gc_collect();
}

void gxtkApp::InvokeOnResume() {
  if (!suspended) return;
  if (updateRate) {
    int rate = updateRate;
    updateRate = 0;
    SetUpdateRate(rate);  // restarts the update clock
  }
  audio->OnResume();
  OnResume();
  suspended = false;
  gc_collect();
}

void gxtkApp::CheckFocus() {
  bool active = wlGetWindowParam(WL_ACTIVE) != 0;
  bool lost = wasActive && !active && !suspended && !wlGetWindowParam(WL_ICONIFIED);
  wasActive = active;
  if (!lost) return;
  OnFocusLost();
  gc_collect();
}

bool gxtkApp::EndWait() {
  if (!wlGetWindowParam(WL_OPENED)) return false;
  CheckFocus();
  return true;
}

// ---------------------------------------------------------------------------
// Main loop

void gxtkApp::Start() {
  wlEnable(WL_KEY_REPEAT);
  wlDisable(WL_AUTO_POLL_EVENTS);
  wlSetKeyCallback(OnKey);
  wlSetCharCallback(OnChar);
  wlSetWindowSizeCallback(OnWindowSize);
  wlSetWindowRefreshCallback(OnWindowRefresh);
  wlSetMouseButtonCallback(OnMouseButton);

  InvokeOnCreate();
  if (!suspended) InvokeOnRender();
  wasActive = wlGetWindowParam(WL_ACTIVE) != 0;
}

// The clock is read in double precision: in single precision its step is
// 7.8 ms after 18 hours of uptime, and the pacing would judder.
void gxtkApp::RunDueUpdates(double early, double restart) {
  for (int done = 1;; ++done) {
    if (timinglog::enabled) timinglog::Update(nextUpdate, wlGetTime());
    nextUpdate += updatePeriod;
    if (!suspended) InvokeOnUpdate();
    if (!updateRate || nextUpdate > wlGetTime() + early) return;
    if (done == kMaxCatchUpUpdates) {
      nextUpdate = wlGetTime() + restart;  // drop the backlog rather than stall
      return;
    }
  }
}

gxtkApp::PassEnd gxtkApp::Pass(double frame) {
  if (!wlGetWindowParam(WL_OPENED)) return PassEnd::kClosed;
  if (wlGetWindowParam(WL_ICONIFIED)) {
    if (suspended) return PassEnd::kWaiting;
    InvokeOnSuspend();
    return PassEnd::kChanged;
  }
  // Losing the focus alone never suspends; a restored window resumes once it
  // has the focus again.
  if (wlGetWindowParam(WL_ACTIVE) && suspended) {
    InvokeOnResume();
    return PassEnd::kChanged;
  }
  if (suspended) return PassEnd::kWaiting;
  if (!updateRate) {
    // Untimed: one frame per event.
    if (graphics->Validate()) InvokeOnRender();
    return PassEnd::kWaiting;
  }
  // With frames at the update rate, half a frame early gives one update a
  // frame however the frames' times wander, where waiting for the due time
  // exactly would give some frames none and the next two. After a backlog is
  // dropped the next update goes to the next frame, or without frames is due
  // at once.
  const double span = std::min(frame, updatePeriod);
  if (nextUpdate > wlGetTime() + span / 2) return PassEnd::kEarly;
  wlPollEvents();
  CheckFocus();
  RunDueUpdates(span / 2, span);
  audio->Update();  // the music's queue, fed once a pass
  if (!suspended) InvokeOnRender();
  return PassEnd::kRendered;
}

void gxtkApp::Run() {
  Start();
  for (;;) {
    PassEnd end = Pass(0);
    if (end == PassEnd::kClosed) break;
    if (end == PassEnd::kEarly) {
      // Sleeps for exactly the time left rather than spinning.
      wlSleep(nextUpdate - wlGetTime());
      if (timinglog::enabled) timinglog::Woke(nextUpdate, wlGetTime());
    } else if (end == PassEnd::kWaiting) {
      wlWaitEvents();
      if (!EndWait()) break;
    }
  }
  // Closing the window would otherwise lose whatever the application saves
  // only on suspension; an application already suspended has saved.
  InvokeOnSuspend();
}

// ---------------------------------------------------------------------------
// Window-system callbacks

void gxtkApp::OnKey(int key, int action) {
  if (TakeWindowModeKey(key, action)) return;
  key = TransKey(key);
  if (!key) return;
  if (action == WL_PRESS) {
    app->input->OnKeyDown(key);
    if (int ch = KeyToChar(key)) app->input->PutChar(ch);
  } else if (action == WL_RELEASE) {
    app->input->OnKeyUp(key);
  }
}

void gxtkApp::OnChar(int character, int action) {
  if (action == WL_PRESS) app->input->PutChar(character);
}

void gxtkApp::OnMouseButton(int button, int action) {
  if (button < 0 || button > 2) return;
  int key = button + 1;
  if (action == WL_PRESS) {
    app->input->OnKeyDown(key);
  } else if (action == WL_RELEASE) {
    app->input->OnKeyUp(key);
  }
}

void gxtkApp::OnWindowSize(int, int) {}

void gxtkApp::OnWindowRefresh() {}
