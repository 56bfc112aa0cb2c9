// The main loop driven by display frames, for a window layer that cannot
// block (a browser page): the window layer calls Frame once per frame, and
// each call runs the loop's passes up to the next render, sleep or wait. Kept
// apart from app.cpp so that the desktop program, which loops by itself, does
// not link it.
#include "app/app.h"
#include "seam/window.h"

namespace {

// A gap between frames longer than this is a pause (a hidden page, a stall),
// not the display's pace, and is left out of the frame interval.
const double kLongestFrameInterval = 0.25;
// Weight of each new gap in the smoothed frame interval.
const double kFrameIntervalWeight = 0.1;

int FrameOfApp() { return app->Frame(); }

}  // namespace

void gxtkApp::RunByFrames() {
  Start();
  wlRunFrames(FrameOfApp);
}

void gxtkApp::NoteFrameTime() {
  double now = wlGetTime();
  double gap = now - lastFrameTime;
  bool first = lastFrameTime < 0;
  lastFrameTime = now;
  if (first || gap <= 0 || gap > kLongestFrameInterval) return;
  frameInterval = frameInterval > 0 ? frameInterval + (gap - frameInterval) * kFrameIntervalWeight : gap;
}

int gxtkApp::Frame() {
  NoteFrameTime();
  if (waiting) {
    // A page cannot block in a wait: it looks for an event once a frame.
    if (!wlPendingEvents()) return 1;
    waiting = false;
    wlWaitEvents();
    if (!EndWait()) {
      InvokeOnSuspend();
      return 0;
    }
  }
  for (;;) {
    PassEnd end = Pass(frameInterval);
    if (end == PassEnd::kChanged) continue;
    if (end == PassEnd::kClosed) {
      InvokeOnSuspend();  // as the desktop loop does on a close
      return 0;
    }
    // One render a frame; an early pass waits for the next frame.
    waiting = end == PassEnd::kWaiting;
    return 1;
  }
}
