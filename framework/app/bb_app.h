// The application framework: the App base class that a game derives from, and
// the device that forwards the host's hooks to it.
#pragma once

#include "app/app.h"

class bb_app_App : public Object {
 public:
  bb_app_App() {}
  // Second construction step: creates the device that drives this application.
  bb_app_App* g_new();

  virtual int m_OnCreate() { return 0; }
  virtual int m_OnUpdate() { return 0; }
  virtual int m_OnSuspend() { return 0; }
  virtual int m_OnResume() { return 0; }
  virtual int m_OnRender() { return 0; }
  virtual int m_OnLoading() { return 0; }
  // The window lost the focus to another window while running (not iconified).
  virtual int m_OnFocusLost() { return 0; }
};

class bb_app_AppDevice : public gxtkApp {
 public:
  bb_app_App* m_app = nullptr;
  int m_updateRate = 0;  // the rate last set here; 0 while suspended

  bb_app_AppDevice* g_new(bb_app_App* app);
  void mark() override;

  int SetUpdateRate(int rate) override;
  int OnCreate() override;
  int OnUpdate() override;
  int OnSuspend() override;
  int OnResume() override;
  int OnRender() override;
  int OnLoading() override;
  int OnFocusLost() override;
};

extern bb_app_AppDevice* bb_app_device;

int bb_app_SetUpdateRate(int rate);
String bb_app_LoadState();
int bb_app_SaveState(String state);
int bb_app_Millisecs();
