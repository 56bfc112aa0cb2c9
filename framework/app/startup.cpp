// Framework start-up: the signal handlers, the collector's roots among the
// framework's globals, and those globals' first values.
#include <csignal>

#include "app/app.h"
#include "app/bb_app.h"
#include "audio/audio.h"
#include "graphics/context.h"
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

void init_framework_globals() {
  bb_app_device = nullptr;
  bb_audio_device = nullptr;
  bb_input_device = nullptr;
  bb_graphics_device = nullptr;
  gc_assign(bb_graphics_context, new bb_graphics_GraphicsContext());
  bb_graphics_Image::g_DefaultFlags = 0;
  bb_graphics_renderDevice = nullptr;
}

}  // namespace

void StartFramework(int argc_, const char** argv_) {
  argc = argc_;
  argv = argv_;
  std::signal(SIGSEGV, sighandler);
  std::signal(SIGILL, sighandler);
  std::signal(SIGFPE, sighandler);
  gc_init();
  gc_root_marker = mark_roots;
  init_framework_globals();
}
