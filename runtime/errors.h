// Error reports, output lines and the debugger stop, on the standard streams.
// The runtime's own failures end here too, so everything above can report.
#pragma once

#include "runtime/string.h"

// One line on standard output (start-up failures that are not errors).
void warn(const char* text);
// Reports a start-up failure and ends the process with -1.
[[noreturn]] void fail(const char* text);
int Print(String text);
int DebugLog(String text);
// "Tovrin Runtime Error : <message>" and the end of the process; an empty
// message ends it quietly with 0.
int Error(String message);
// The report, then the debugger stop, again each time the debugger resumes.
[[noreturn]] void dbg_error(const char* text);
// Hands off to a debugger on the standard streams; ends the process when
// standard input is a terminal or at its end.
void dbg_stop();
int DebugStop();
// For SIGSEGV, SIGILL and SIGFPE: allocates nothing and takes no stdio lock.
void sighandler(int sig);
void dbg_print(String text);
// The runtime's heap could not give a block: "Out of memory" as an error.
[[noreturn]] void out_of_memory();
