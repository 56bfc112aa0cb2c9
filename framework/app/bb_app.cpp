// Application base class, the device that drives it, and the app module functions.
#include "app/bb_app.h"

#include "app/timing_log.h"
#include "audio/audio.h"
#include "graphics/context.h"
#include "input/input.h"

bb_app_AppDevice* bb_app_device = nullptr;

bb_app_App* bb_app_App::g_new() {
  bb_app_AppDevice* device = new bb_app_AppDevice();
  device->g_new(this);
  gc_assign(bb_app_device, device);
  return this;
}

bb_app_AppDevice* bb_app_AppDevice::g_new(bb_app_App* application) {
  gc_assign(m_app, application);
  bb_graphics_SetGraphicsDevice(GraphicsDevice());
  bb_input_SetInputDevice(InputDevice());
  bb_audio_SetAudioDevice(AudioDevice());
  return this;
}

void bb_app_AppDevice::mark() {
  gxtkApp::mark();
  gc_mark_q(m_app);
}

int bb_app_AppDevice::SetUpdateRate(int rate) {
  gxtkApp::SetUpdateRate(rate);
  m_updateRate = rate;
  return 0;
}

int bb_app_AppDevice::OnCreate() {
  bb_graphics_SetFont(nullptr, 32);
  return m_app->m_OnCreate();
}

int bb_app_AppDevice::OnUpdate() { return m_app->m_OnUpdate(); }

// The lifecycle's turns are marked in the timing log, for tests that wait
// on the game rather than on the clock.
int bb_app_AppDevice::OnSuspend() {
  timinglog::Mark("suspended");
  return m_app->m_OnSuspend();
}

int bb_app_AppDevice::OnResume() {
  timinglog::Mark("resumed");
  return m_app->m_OnResume();
}

int bb_app_AppDevice::OnRender() {
  if (bb_graphics_device->Mode()) bb_graphics_BeginRender();
  m_app->m_OnRender();
  bb_graphics_renderDevice = nullptr;
  return 0;
}

int bb_app_AppDevice::OnLoading() {
  if (bb_graphics_device->Mode()) bb_graphics_BeginRender();
  m_app->m_OnLoading();
  bb_graphics_renderDevice = nullptr;
  return 0;
}

int bb_app_AppDevice::OnFocusLost() {
  timinglog::Mark("focus-lost");
  m_app->m_OnFocusLost();
  return 0;
}

int bb_app_SetUpdateRate(int rate) { return bb_app_device->SetUpdateRate(rate); }
String bb_app_LoadState() { return bb_app_device->LoadState(); }
int bb_app_SaveState(String state) { return bb_app_device->SaveState(state); }
int bb_app_Millisecs() { return bb_app_device->MilliSecs(); }
