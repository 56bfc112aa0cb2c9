// Error reports, signals and the debugger stop protocol, each in a child process.
#include <gtest/gtest.h>

#include <csignal>

#include "app/app.h"
#include "child_process.h"

namespace {

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

TEST(DebuggerProtocol, ObjectQueryPrintsItsDebugText) {
  Object* o = new Object();  // the forked child sees it at the same address
  char lines[64];
  std::snprintf(lines, sizeof lines, "@%p\n@0\nq\n", static_cast<void*>(o));
  ChildResult r = run_child([] { Error(String("boom")); }, lines);
  EXPECT_EQ(r.exit_code, 0);
  // The object's text, then nothing for the null pointer.
  EXPECT_EQ(r.err, "{{~~~~}}\n\n+Object\n");
}

TEST(DebuggerProtocol, LineWithoutEndExits) {
  ChildResult r = run_child([] { Error(String("boom")); }, "q");
  EXPECT_EQ(r.exit_code, 255);
}

}  // namespace
