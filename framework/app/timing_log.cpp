// The timing log: marks written as they happen, the other notes kept in a
// growing array and written out at exit.
//
// The file has one note a line: "mark <what> <when>", the first of them
// "start" (the entry to main); then, from the exit, "update <ran> <late>"
// (late: seconds after it was due), "woke <when> <late>" (from a sleep meant
// to end when an update is due) and "frame <presented>".
#include "app/timing_log.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace timinglog {

bool enabled = false;

namespace {

struct Note {
  const char* what;  // "update", "woke" or "frame"
  double when;
  double late;       // updates only
};

std::vector<Note>* notes = nullptr;
FILE* file = nullptr;
void (*watcher)() = nullptr;

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void WriteAtExit() {
  for (const Note& n : *notes) {
    if (n.late == n.late)
      std::fprintf(file, "%s %.6f %.6f\n", n.what, n.when, n.late);
    else
      std::fprintf(file, "%s %.6f\n", n.what, n.when);
  }
  std::fclose(file);
}

}  // namespace

void Init() {
  const char* path = std::getenv("VW_TIMING_LOG");
  if (!path || !*path || enabled) return;
  file = std::fopen(path, "w");
  if (!file) return;
  notes = new std::vector<Note>();
  notes->reserve(1 << 14);
  enabled = true;
  std::atexit(WriteAtExit);
  Mark("start");
}

void Update(double due, double now) {
  if (enabled) notes->push_back({"update", Now(), now - due});
}

void Woke(double due, double now) {
  if (enabled) notes->push_back({"woke", Now(), now - due});
}

void Frame() {
  if (!enabled) return;
  notes->push_back({"frame", Now(), std::numeric_limits<double>::quiet_NaN()});
  if (watcher) watcher();
}

// Flushed at once: a process watching the game waits on these lines.
void Mark(const char* what) {
  if (!enabled) return;
  std::fprintf(file, "mark %s %.6f\n", what, Now());
  std::fflush(file);
}

void Watch(void (*fn)()) { watcher = fn; }

}  // namespace timinglog
