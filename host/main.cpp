// Process entry: window system, the one window, the audio device, then the
// program and its main loop.
#include <AL/al.h>
#include <AL/alc.h>

#include "host/app.h"
#include "host/window.h"

ALCdevice* alcDevice = nullptr;
ALCcontext* alcContext = nullptr;

namespace {

const int kWindowWidth = 640;
const int kWindowHeight = 480;

void open_window() {
  WLvidmode desktop;
  wlGetDesktopMode(&desktop);
  wlOpenWindowHint(WL_WINDOW_NO_RESIZE, 1);
  if (!wlOpenWindow(kWindowWidth, kWindowHeight, 0, 0, 0, 0, 0, 0, WL_WINDOW)) fail("glfwOpenWindow failed");
  wlSetWindowPos((desktop.Width - kWindowWidth) / 2, (desktop.Height - kWindowHeight) / 2);
  wlSetWindowTitle("Tovrin Game");
}

// Without sound the game still runs; each failure is reported and passed over.
void open_audio() {
  alcDevice = alcOpenDevice(nullptr);
  if (!alcDevice) {
    warn("alcOpenDevice failed");
    return;
  }
  alcContext = alcCreateContext(alcDevice, nullptr);
  if (!alcContext) {
    warn("alcCreateContext failed");
    return;
  }
  if (!alcMakeContextCurrent(alcContext)) warn("alcMakeContextCurrent failed");
}

void close_audio() {
  if (alcContext) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(alcContext);
  }
  if (alcDevice) alcCloseDevice(alcDevice);
}

}  // namespace

int main(int argc, char** argv) {
  if (!wlInit()) fail("glfwInit failed");
  open_window();
  open_audio();
  try {
    bb_std_main(argc, const_cast<const char**>(argv));
    if (runner) runner();
  } catch (ThrowableObject*) {
    Print(String("Tovrin Runtime Error : Uncaught Tovrin Exception"));
  } catch (const char*) {
  }
  close_audio();
  wlTerminate();
  return 0;
}
