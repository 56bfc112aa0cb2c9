// gxtkApp: device ownership, update pacing and the main loop.
#include "app/app.h"

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

void RunApp() { app->Run(); }

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

int gxtkApp::MilliSecs() { return static_cast<int>(wlGetTime() * 1000.0); }

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
  if (timinglog::enabled) timinglog::Frame();
  gc_collect();
}

void gxtkApp::InvokeOnUpdate() {
  if (suspended || !updateRate || !graphics->Validate()) return;
  input->BeginUpdate();
  OnUpdate();
  input->EndUpdate();
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

// ---------------------------------------------------------------------------
// Main loop

void gxtkApp::RunDueUpdates() {
  for (int done = 1;; ++done) {
    if (timinglog::enabled) timinglog::Update(nextUpdate, wlGetTime());
    nextUpdate += updatePeriod;
    if (!suspended) InvokeOnUpdate();
    if (!updateRate || nextUpdate > wlGetTime()) return;
    if (done == kMaxCatchUpUpdates) {
      nextUpdate = wlGetTime();  // drop the backlog rather than stall
      return;
    }
  }
}

void gxtkApp::Run() {
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

  bool check_open = true;
  for (;;) {
    if (check_open && !wlGetWindowParam(WL_OPENED)) break;
    check_open = true;
    bool wait = false;
    if (wlGetWindowParam(WL_ICONIFIED)) {
      if (!suspended) {
        InvokeOnSuspend();
        continue;
      }
      wait = true;
    } else if (wlGetWindowParam(WL_ACTIVE) && suspended) {
      InvokeOnResume();
      continue;
    } else if (suspended) {
      wait = true;
    } else if (updateRate) {
      // The comparison is made in single precision, as the pacing always was.
      float now = static_cast<float>(wlGetTime());
      if (nextUpdate > now) {
        wlSleep(nextUpdate - now);
        if (timinglog::enabled) timinglog::Woke(nextUpdate, wlGetTime());
        continue;
      }
      wlPollEvents();
      CheckFocus();
      RunDueUpdates();
      audio->Update();
      if (!suspended) InvokeOnRender();
      continue;
    } else {
      if (graphics->Validate()) InvokeOnRender();
      wait = true;
    }
    if (wait) {
      wlWaitEvents();
      if (!wlGetWindowParam(WL_OPENED)) break;
      CheckFocus();
      check_open = false;  // go on at the iconify check
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
