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

  // The main loop; returns when the window has been closed.
  void Run();

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
  bool wasActive = false;  // the window had the focus at the last check

  // One pass of the timed loop once updates are due; see Run.
  void RunDueUpdates();
  // After each event poll or wait: sends OnFocusLost when the focus has gone.
  void CheckFocus();
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
