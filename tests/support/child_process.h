// Runs a piece of code in a forked child with its standard streams captured,
// for behaviour that ends the process (errors, signals, the debugger stop).
#pragma once

#include <functional>
#include <string>

struct ChildResult {
  int exit_code = -1;   // 0..255 when the child exited
  int signal = 0;       // the signal that killed it, else 0
  std::string out;      // standard output
  std::string err;      // standard error
};

// Forks, feeds `input` to the child's standard input (then closes it), runs
// `body`, and exits the child with 0 if `body` returns.
ChildResult run_child(const std::function<void()>& body, const std::string& input = "");

// Runs a shell command line, capturing both streams.
ChildResult run_command(const std::string& command, const std::string& input = "");
