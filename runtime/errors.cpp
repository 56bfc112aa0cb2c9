// Error reports, output lines and the debugger stop protocol on the standard streams.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/errors.h"
#include "runtime/object.h"

namespace {

// The debugger's stepping state, set by its commands.
bool g_debug_suspended = false;
char g_step_mode = 0;

// Writes each unit's low byte and a line end to `stream`, reusing one buffer.
void write_line(FILE* stream, const String& text) {
  static std::vector<char> buffer(100);
  size_t len = static_cast<size_t>(text.Length());
  if (len + 99 >= buffer.size()) buffer.resize(len + 100);
  for (size_t i = 0; i < len; ++i) buffer[i] = static_cast<char>(text[static_cast<int>(i)] & 0xff);
  buffer[len] = '\n';
  std::fwrite(buffer.data(), 1, len + 1, stream);
  std::fflush(stream);
}

// Reads and answers one debugger command; returns true when the stop is over.
bool answer_debugger_line(const char* line) {
  switch (line[0]) {
    case '?':
      return false;
    case '@': {
      void* p = nullptr;
      std::sscanf(line + 1, "%p", &p);
      String text = p ? static_cast<Object*>(p)->debug() : String();
      std::fputs(text.ToCString().c_str(), stderr);
      std::fflush(stderr);
      return false;
    }
    case 'r':
      g_debug_suspended = false;
      g_step_mode = 0;
      return true;
    case 's':
    case 'e':
      g_debug_suspended = true;
      g_step_mode = line[0];
      return true;
    case 'l':
      g_debug_suspended = false;
      g_step_mode = 'l';
      return true;
    case 'q':
      std::exit(0);
  }
  std::printf("????? %s ?????", line);
  std::fflush(stdout);
  std::exit(-1);
}

}  // namespace

void warn(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

void fail(const char* text) {
  warn(text);
  std::exit(-1);
}

int Print(String text) {
  write_line(stdout, text);
  return 0;
}

int DebugLog(String text) { return Print(text); }

void dbg_print(String text) { write_line(stderr, text); }

int Error(String message) {
  if (message.Length() == 0) std::exit(0);
  dbg_error(message.ToCString().c_str());
}

void dbg_error(const char* text) {
  for (;;) {
    Print(String("Tovrin Runtime Error : ") + String(text));
    Print(String());  // the stack trace: no debug information is recorded
    dbg_stop();
  }
}

int DebugStop() {
  dbg_stop();
  return 0;
}

void dbg_stop() {
  std::fprintf(stderr, "{{~~%s~~}}\n", "");
  dbg_print(String());
  char line[257];
  for (;;) {
    if (!std::fgets(line, sizeof line, stdin)) std::exit(-1);
    size_t len = std::strlen(line);
    if (len == 0 || line[len - 1] != '\n') std::exit(-1);
    line[len - 1] = 0;
    if (answer_debugger_line(line)) return;
  }
}

void sighandler(int sig) {
  switch (sig) {
    case SIGILL:
      dbg_error("Illegal instruction");
    case SIGFPE:
      dbg_error("Floating point exception");
    case SIGSEGV:
      dbg_error("Memory access violation");
    default:
      dbg_error("Unknown signal");
  }
}
