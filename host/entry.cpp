// The program's entry: the framework's globals, the collector's roots and the
// construction of the game object.
#include <csignal>

#include "audio/audio.h"
#include "game/vaultwick.h"
#include "graphics/context.h"
#include "host/app.h"
#include "input/input.h"

int argc = 0;
const char** argv = nullptr;

namespace {

void mark_roots() {
  gc_mark_q(bb_graphics_device);
  gc_mark_q(bb_input_device);
  gc_mark_q(bb_audio_device);
  gc_mark_q(bb_app_device);
  gc_mark_q(bb_graphics_context);
  gc_mark_q(bb_graphics_renderDevice);
}

}  // namespace

int bbInit() {
  bb_app_device = nullptr;
  bb_audio_device = nullptr;
  bb_input_device = nullptr;
  bb_graphics_device = nullptr;
  gc_assign(bb_graphics_context, new bb_graphics_GraphicsContext());
  bb_graphics_Image::g_DefaultFlags = 0;
  bb_graphics_renderDevice = nullptr;
  bb_Vaultwick_MaxGames = 10;
  bb_Vaultwick_MaxBadges = 33;
  bb_Vaultwick_DebugMode = 0;
  bb_Vaultwick_jscrw = bb_Vaultwick_rawscrw = 640.0f;
  bb_Vaultwick_jscrh = bb_Vaultwick_rawscrh = 480.0f;
  bb_Vaultwick_iCadeControls = 0;
  bb_Vaultwick_HasMusic = 0;
  bb_random_Seed = 1234;
  bb_Vaultwick_OnScreenControls = 0;
  bb_Vaultwick_AccelerometerControls = 0;
  return 0;
}

int bbMain() {
  (new bb_Vaultwick_MyApp())->g_new();
  return 0;
}

int bb_std_main(int argc_, const char** argv_) {
  argc = argc_;
  argv = argv_;
  std::signal(SIGSEGV, sighandler);
  std::signal(SIGILL, sighandler);
  std::signal(SIGFPE, sighandler);
  gc_init();
  gc_root_marker = mark_roots;
  bbInit();
  gc_mark();
  bbMain();
  return 0;
}
