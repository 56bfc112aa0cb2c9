// Error reports, signals, the debugger stop protocol and a heap that runs
// out, each in a child process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "child_process.h"

// Under AddressSanitizer a block the heap cannot give comes back as null, as
// from the C library's malloc, instead of ending in the sanitizer's report:
// the runtime's own report is what the out-of-memory tests look for.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

// A child that would wait for ever is stopped by this alarm, and its death
// by SIGALRM fails the test instead of hanging it.
const unsigned kChildDeadlineSeconds = 10;

// Puts a new pseudo-terminal on standard input, as when the game is started
// from a terminal.
void terminal_on_stdin() {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) std::abort();
  int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  if (slave < 0 || dup2(slave, 0) < 0) std::abort();
}

rlimit g_address_space;

// Caps the address space a little above what the process uses now, so that
// big blocks cannot be had. The cap is lifted again at exit, before the leak
// check of a sanitizer build, which needs memory of its own, runs.
void cap_address_space() {
  const rlim_t kHeadroom = 64 << 20;
  long pages = 0;
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f || std::fscanf(f, "%ld", &pages) != 1) std::abort();
  std::fclose(f);
  if (getrlimit(RLIMIT_AS, &g_address_space) != 0) std::abort();
  std::atexit([] { setrlimit(RLIMIT_AS, &g_address_space); });
  rlim_t now = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
  rlimit limit = {now + kHeadroom, g_address_space.rlim_max};
  if (setrlimit(RLIMIT_AS, &limit) != 0) std::abort();
}

TEST(Errors, ErrorReportsAndExitsWithMinusOneWhenNoDebuggerAnswers) {
  ChildResult r = run_child([] { Error(String("x")); });
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : x\n\n");
  // The debugger hand-off goes to standard error.
  EXPECT_EQ(r.err, "{{~~~~}}\n\n");
}

TEST(Errors, EmptyErrorIsAQuietExit) {
  ChildResult r = run_child([] { Error(String()); });
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "");
}

TEST(Errors, FailPrintsAndExitsWithMinusOne) {
  ChildResult r = run_child([] { fail("glfwOpenWindow failed"); });
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "glfwOpenWindow failed\n");
}

TEST(Errors, PrintCutsUnitsToTheirLowByte) {
  ChildResult r = run_child([] {
    const Char units[] = {'a', 0x142, 'b'};
    Print(String(units, 3));
    DebugLog(String(std::string(300, 'z').c_str()));  // longer than the first buffer
  });
  EXPECT_EQ(r.out, std::string("aBb\n") + std::string(300, 'z') + "\n");
}

struct SignalCase {
  int signal;
  const char* text;
};

class Signals : public ::testing::TestWithParam<SignalCase> {};

TEST_P(Signals, AreReportedAsRuntimeErrors) {
  ChildResult r = run_child([] {
    std::signal(GetParam().signal, sighandler);
    std::raise(GetParam().signal);
  });
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, std::string("Tovrin Runtime Error : ") + GetParam().text + "\n\n");
}

INSTANTIATE_TEST_SUITE_P(Errors, Signals,
                         ::testing::Values(SignalCase{SIGSEGV, "Memory access violation"},
                                           SignalCase{SIGILL, "Illegal instruction"},
                                           SignalCase{SIGFPE, "Floating point exception"},
                                           SignalCase{SIGUSR1, "Unknown signal"}));

TEST(Errors, FromATerminalTheReportEndsTheProcessAtOnce) {
  // Nobody types debugger commands: the process must not wait for a line.
  ChildResult r = run_child([] {
    alarm(kChildDeadlineSeconds);
    terminal_on_stdin();
    Error(String("x"));
  });
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : x\n\n");
  EXPECT_EQ(r.err, "");  // no hand-off to a debugger

  r = run_child([] {
    alarm(kChildDeadlineSeconds);
    terminal_on_stdin();
    std::signal(SIGSEGV, sighandler);
    std::raise(SIGSEGV);
  });
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : Memory access violation\n\n");
}

// Another thread holds the locks of standard output and standard error when
// the signal comes, as a crash in the middle of a printf would leave them.
TEST(Errors, TheSignalReportTakesNoStdioLock) {
  ChildResult r = run_child([] {
    alarm(kChildDeadlineSeconds);
    std::printf("printed before\n");  // buffered, and never flushed by the handler
    static pthread_mutex_t held = PTHREAD_MUTEX_INITIALIZER;
    pthread_mutex_lock(&held);
    pthread_t holder;
    pthread_create(&holder, nullptr, [](void*) -> void* {
      flockfile(stdout);
      flockfile(stderr);
      pthread_mutex_unlock(&held);
      for (;;) pause();
    }, nullptr);
    pthread_mutex_lock(&held);  // the locks are taken
    std::signal(SIGSEGV, sighandler);
    std::raise(SIGSEGV);
  });
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : Memory access violation\n\n");
  EXPECT_EQ(r.err, "{{~~~~}}\n\n");
}

// Strings and collected arrays, doubled until the heap cannot give more or
// their size no longer fits their counts: the runtime's report either way,
// never a write through a null pointer.
TEST(Errors, AHeapThatRunsOutEndsWithTheReport) {
  ChildResult strings = run_child([] {
    cap_address_space();
    String text("0123456789abcdef");
    for (;;) text = text + text;
  });
  ChildResult arrays = run_child([] {
    cap_address_space();
    for (int n = 1;; n *= 2) Array<int> numbers(n);
  });
  for (const ChildResult& r : {strings, arrays}) {
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exit_code, 255);
    EXPECT_EQ(r.out, "Tovrin Runtime Error : Out of memory\n\n");
  }
}

TEST(Errors, SizesPastTheCountsAreRefusedAsTheHeapRunningOut) {
  ChildResult r = run_child([] { Array<int> numbers(1 << 30); });
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : Out of memory\n\n");
  r = run_child([] { gc_malloc(-8); });
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : Out of memory\n\n");
}

TEST(DebuggerProtocol, QuitExitsWithZero) {
  ChildResult r = run_child([] { Error(String("boom")); }, "q\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : boom\n\n");
}

TEST(DebuggerProtocol, UnknownLineIsEchoedAndExits) {
  ChildResult r = run_child([] { Error(String("boom")); }, "zap\n");
  EXPECT_EQ(r.exit_code, 255);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : boom\n\n????? zap ?????");
}

TEST(DebuggerProtocol, QueriesAreSkippedAndRunReportsTheErrorAgain) {
  // "?" lines are ignored; "r" returns, and the error loop reports once more.
  ChildResult r = run_child([] { Error(String("boom")); }, "?where\nr\nq\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "Tovrin Runtime Error : boom\n\nTovrin Runtime Error : boom\n\n");
  EXPECT_EQ(r.err, "{{~~~~}}\n\n{{~~~~}}\n\n");
}

Object* g_live = nullptr;

TEST(DebuggerProtocol, ObjectQueryAnswersOnlyForLiveObjects) {
  // A live object, and one the collector found unreachable and destroyed;
  // the forked child sees both at the same addresses.
  void (*saved_marker)() = gc_root_marker;
  gc_init();
  g_live = new Object();
  Object* dead = new Object();
  gc_root_marker = [] { gc_mark_q(g_live); };
  gc_mark();
  gc_force_sweep = true;
  gc_collect();
  gc_root_marker = saved_marker;
  Array<int> numbers(4);  // collected, but not an Object
  int on_the_stack = 0;

  std::string lines;
  for (const void* p : {static_cast<const void*>(g_live), static_cast<const void*>(dead),
                        static_cast<const void*>(numbers.object()), static_cast<const void*>(&on_the_stack),
                        static_cast<const void*>(g_live)}) {
    char line[64];
    std::snprintf(line, sizeof line, "@%p\n", p);
    lines += line;
  }
  lines += "@0\n@(nil)\n@zz\nq\n";
  ChildResult r = run_child([] { Error(String("boom")); }, lines);
  EXPECT_EQ(r.exit_code, 0);
  // The live object's text, twice; nothing for the rest.
  EXPECT_EQ(r.err, "{{~~~~}}\n\n+Object\n+Object\n");
}

TEST(DebuggerProtocol, LineWithoutEndExits) {
  ChildResult r = run_child([] { Error(String("boom")); }, "q");
  EXPECT_EQ(r.exit_code, 255);
}

}  // namespace
