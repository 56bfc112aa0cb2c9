// The host application object: owns the devices and runs the main loop that
// turns window events into the application's lifecycle hooks.
#pragma once

#include <cstdio>
#include <string>

#include "files/files.h"
#include "runtime/errors.h"
#include "runtime/object.h"

class gxtkGraphics;
class gxtkInput;
class gxtkAudio;

class gxtkApp : public gxtkObject {
 public:
  gxtkGraphics* graphics;
  gxtkInput* input;
  gxtkAudio* audio;
  int updateRate;       // updates per second; 0: no timed updates
  double nextUpdate;    // clock time the next update is due, seconds
  double updatePeriod;  // 1 / updateRate
  bool suspended;       // while the window is iconified

  gxtkApp();
  void mark() override;

  virtual gxtkGraphics* GraphicsDevice() { return graphics; }
  virtual gxtkInput* InputDevice() { return input; }
  virtual gxtkAudio* AudioDevice() { return audio; }
  virtual String AppTitle() { return String("<TODO>"); }
  virtual String LoadState();
  virtual int SaveState(String state);
  virtual String LoadString(String path);
  virtual int SetUpdateRate(int rate);
  // The clock in whole milliseconds. Worked out in 64 bits and cut to the low
  // 32: after 2^31 ms (24.8 days) the result wraps round to negative values,
  // so callers compare two readings by their difference in unsigned
  // arithmetic, which stays right across the wrap.
  virtual int MilliSecs();
  virtual int Loading() { return 0; }
  virtual int OnCreate() { return 0; }
  virtual int OnSuspend() { return 0; }
  virtual int OnResume() { return 0; }
  virtual int OnUpdate() { return 0; }
  virtual int OnRender() { return 0; }
  virtual int OnLoading() { return 0; }
  // Hook: the running window has just lost the focus to another window. It
  // does not suspend; an iconify, which takes the focus as well, suspends
  // instead of sending this.
  virtual int OnFocusLost() { return 0; }

  // The main loop, as one pass and two drivers that call it.
  //
  // Run is the desktop's: it blocks, sleeping while the next update is not yet
  // due and waiting for an event while suspended, and returns when the window
  // has been closed. RunByFrames is for a window layer that cannot block (a
  // browser page): it hands Frame to the layer, which calls it once per
  // display frame, and returns without waiting for the close.
  void Run();
  void RunByFrames();

  // How a pass ended: what its driver does before the next one.
  enum class PassEnd {
    kRendered,  // updates ran and a frame was drawn
    kChanged,   // suspended or resumed: pass again at once
    kEarly,     // no update due yet: pass again once one is
    kWaiting,   // suspended, or no timed updates: pass again after an event
    kClosed,    // the window has been closed
  };
  // One pass: the window's state (closed, iconified, focus), then, once
  // updates are due, the events, the due updates (at most seven) and one
  // render. `frame` is the interval of the display frames that drive the
  // passes, 0 for none: each update then goes to the frame nearest its due
  // time, up to half a frame early.
  PassEnd Pass(double frame);
  // One display frame of the loop for RunByFrames; 0 once the window has closed.
  int Frame();

  // Updates run and frames drawn since start-up, for meters outside the game.
  unsigned updatesRun = 0;
  unsigned framesDrawn = 0;

  // Guarded hook calls: each checks its preconditions and ends with one
  // collector step.
  void InvokeOnCreate();
  void InvokeOnUpdate();
  void InvokeOnRender();
  void InvokeOnSuspend();
  void InvokeOnResume();

  // Window-system callbacks; they reach the input device through `app`.
  static void OnKey(int key, int action);
  static void OnChar(int character, int action);
  static void OnMouseButton(int button, int action);
  static void OnWindowSize(int width, int height);
  static void OnWindowRefresh();

 private:
  bool wasActive = false;     // the window had the focus at the last check
  bool waiting = false;       // Frame: the last pass ended waiting for an event
  double lastFrameTime = -1;  // Frame: the clock at the last frame, seconds
  double frameInterval = 0;   // Frame: the display's frame interval, smoothed; 0 until known

  // Callbacks, the create hook and the first frame, for either driver.
  void Start();
  // The due updates of a pass, counting those due within `early` seconds: at
  // least one, at most seven, then the backlog is dropped and the next update
  // is due in `restart` seconds.
  void RunDueUpdates(double early, double restart);
  // After an event poll or wait: sends OnFocusLost when the focus has gone.
  void CheckFocus();
  // After a wait: false when the window was closed meanwhile; otherwise checks
  // the focus.
  bool EndWait();
  // Follows the display's frame interval from the times Frame is called.
  void NoteFrameTime();
};

extern gxtkApp* app;
extern void (*runner)();
extern int argc;
extern const char** argv;

void RunApp();

// The game window (window_mode.cpp): opened at 640 x 480 centred on the
// desktop, switched to fullscreen on its monitor and back by F11 or Alt+Enter.
bool OpenGameWindow();
void ToggleFullscreen();
bool IsFullscreen();
// True when the key event was a window-mode key, which goes no further.
bool TakeWindowModeKey(int key, int action);
// The game's icon from data/icons, once the framework is up.
void SetGameWindowIcon();

// Files of the state area kept beside the state file, named relative to it
// ("replays/last.vwr"); a missing folder in the name is made. Written as the
// state file is, in one rename: 0, -1 (cannot create) or -2 (short write).
int SaveStateAreaFile(const std::string& name, const std::string& bytes);
// Reads at most `limit` bytes of such a file; false when it cannot be opened.
bool LoadStateAreaFile(const std::string& name, size_t limit, std::string* bytes);

// Framework start-up, called by the program before it builds its application:
// the signal handlers, the collector with the framework's roots, and the
// framework's globals.
void StartFramework(int argc, const char** argv);
