// fork/pipe plumbing behind child_process.h.
#include "child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

std::string drain(int fd) {
  std::string text;
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
  close(fd);
  return text;
}

}  // namespace

ChildResult run_child(const std::function<void()>& body, const std::string& input) {
  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) std::abort();
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    body();
    std::fflush(stdout);
    _exit(0);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  // Inputs here are small, well under a pipe's buffer, so writing first is safe.
  if (!input.empty() && write(in[1], input.data(), input.size()) < 0) std::perror("write");
  close(in[1]);
  ChildResult result;
  result.out = drain(out[0]);
  result.err = drain(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

ChildResult run_command(const std::string& command, const std::string& input) {
  return run_child([&] { execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr)); }, input);
}
