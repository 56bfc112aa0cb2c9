// Error reports, output lines and the debugger stop protocol on the standard streams.
//
// An error report and the debugger stop may run inside a signal handler, after
// a crash in the middle of malloc or of a stdio call. So that path allocates
// nothing and takes no stdio lock: it writes with write(2), reads commands
// with read(2) and leaves with _exit after a signal.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/errors.h"
#include "runtime/object.h"

namespace {

const int kStdin = 0, kStdout = 1, kStderr = 2;
const size_t kMaxCommandLine = 256;  // a debugger command, its line end included
const char kReportPrefix[] = "Tovrin Runtime Error : ";

// The debugger's stepping state, set by its commands.
bool g_debug_suspended = false;
char g_step_mode = 0;
// Set by the signal handler: the heap and stdio may be in the middle of a
// change, so the process leaves without running exit handlers.
volatile sig_atomic_t g_in_signal = 0;

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

void write_all(int fd, const char* bytes, size_t len) {
  while (len > 0) {
    ssize_t n = write(fd, bytes, len);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    bytes += n;
    len -= static_cast<size_t>(n);
  }
}

void write_text(int fd, const char* text) { write_all(fd, text, std::strlen(text)); }

// Each unit's low byte, through a buffer on the stack.
void write_units(int fd, const String& text) {
  char chunk[128];
  int at = 0;
  while (at < text.Length()) {
    size_t n = 0;
    for (; n < sizeof chunk && at < text.Length(); ++n, ++at) chunk[n] = static_cast<char>(text[at] & 0xff);
    write_all(fd, chunk, n);
  }
}

[[noreturn]] void leave(int code) {
  if (g_in_signal) _exit(code);
  std::exit(code);
}

// The report: the reason, then the stack trace (no debug information is
// recorded, so it is an empty line).
void report(const char* reason, const String* message) {
  if (!g_in_signal) std::fflush(stdout);  // lines printed before stay before
  write_text(kStdout, kReportPrefix);
  if (message)
    write_units(kStdout, *message);
  else
    write_text(kStdout, reason);
  write_text(kStdout, "\n\n");
}

// One command line from standard input, without its line end. The end of
// input, or a line that does not end within kMaxCommandLine bytes, ends the
// process: no debugger is there to answer.
void read_command(char* line) {
  size_t n = 0;
  while (n < kMaxCommandLine) {
    ssize_t got = read(kStdin, &line[n], 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) leave(-1);
    if (line[n] == '\n') {
      line[n] = 0;
      return;
    }
    ++n;
  }
  leave(-1);
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A pointer in "%p" form ("0x" and hex digits); anything else reads as null.
void* parse_pointer(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text += 2;
  uintptr_t value = 0;
  int digits = 0;
  for (int d; (d = hex_digit(*text)) >= 0; ++text, ++digits) value = value * 16 + static_cast<uintptr_t>(d);
  return digits > 0 && digits <= 16 ? reinterpret_cast<void*>(value) : nullptr;
}

// "@<pointer>": the debug text of a live collected object; for any other
// address (freed, garbage, not an object, null) the empty text, so a typo
// never dereferences a stray pointer.
void answer_object_query(const char* pointer) {
  Object* object = dynamic_cast<Object*>(gc_find_live(parse_pointer(pointer)));
  if (object) write_units(kStderr, object->debug());
}

// Answers one debugger command; returns true when the stop is over.
bool answer_debugger_line(const char* line) {
  switch (line[0]) {
    case '?':
      return false;
    case '@':
      answer_object_query(line + 1);
      return false;
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
      leave(0);
  }
  write_text(kStdout, "????? ");
  write_text(kStdout, line);
  write_text(kStdout, " ?????");
  leave(-1);
}

[[noreturn]] void stop_on_error(const char* reason, const String* message) {
  for (;;) {
    report(reason, message);
    dbg_stop();
  }
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
  stop_on_error(nullptr, &message);
}

void dbg_error(const char* text) { stop_on_error(text, nullptr); }

int DebugStop() {
  dbg_stop();
  return 0;
}

// The hand-off to a debugger attached through pipes. A terminal on standard
// input is a person, not a debugger: waiting for a line there would leave the
// window frozen behind the report, so the process ends at once.
void dbg_stop() {
  if (isatty(kStdin)) leave(-1);
  write_text(kStderr, "{{~~~~}}\n\n");  // no debug information is recorded
  char line[kMaxCommandLine];
  for (;;) {
    read_command(line);
    if (answer_debugger_line(line)) return;
  }
}

void sighandler(int sig) {
  g_in_signal = 1;
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

void out_of_memory() { dbg_error("Out of memory"); }
