// Process entry: window system, the one window, the audio device, then the
// program and its main loop.
#include <AL/al.h>
#include <AL/alc.h>

#include "app/app.h"
#include "app/timing_log.h"
#include "game/program.h"
#include "game_marks.h"
#include "seam/window.h"

ALCdevice* alcDevice = nullptr;
ALCcontext* alcContext = nullptr;

namespace {

void open_window() {
  if (!OpenGameWindow()) fail("glfwOpenWindow failed");
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
  timinglog::Init();
  if (!wlInit()) fail("glfwInit failed");
  open_window();
  open_audio();
  try {
    bb_std_main(argc, const_cast<const char**>(argv));
    SetGameWindowIcon();  // read through the framework's data paths, so after it is up
    WatchGameForMarks();
    if (runner) runner();
  } catch (ThrowableObject*) {
    Print(String("Tovrin Runtime Error : Uncaught Tovrin Exception"));
  } catch (const char*) {
  }
  close_audio();
  wlTerminate();
  return 0;
}
