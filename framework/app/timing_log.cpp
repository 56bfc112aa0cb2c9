// The timing log: notes kept in a growing array and written out at exit.
//
// The file has one note a line: "update <ran> <late>" (late: seconds after
// it was due), "woke <when> <late>" (from a sleep meant to end when an update
// is due), "frame <presented>" and "mark <what> <when>"; the first mark,
// "start", is the entry to main.
#include "app/timing_log.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace timinglog {

bool enabled = false;

namespace {

struct Note {
  const char* what;  // "update", "frame" or a mark's name
  double when;
  double late;       // updates only
  bool mark;
};

std::vector<Note>* notes = nullptr;
std::string* path = nullptr;

double Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void WriteAtExit() {
  FILE* f = std::fopen(path->c_str(), "w");
  if (!f) return;
  for (const Note& n : *notes) {
    if (n.mark)
      std::fprintf(f, "mark %s %.6f\n", n.what, n.when);
    else if (n.late == n.late)
      std::fprintf(f, "%s %.6f %.6f\n", n.what, n.when, n.late);
    else
      std::fprintf(f, "%s %.6f\n", n.what, n.when);
  }
  std::fclose(f);
}

}  // namespace

void Init() {
  const char* file = std::getenv("VW_TIMING_LOG");
  if (!file || !*file || enabled) return;
  path = new std::string(file);
  notes = new std::vector<Note>();
  notes->reserve(1 << 14);
  enabled = true;
  std::atexit(WriteAtExit);
  Mark("start");
}

void Update(double due, double now) {
  if (enabled) notes->push_back({"update", Now(), now - due, false});
}

void Woke(double due, double now) {
  if (enabled) notes->push_back({"woke", Now(), now - due, false});
}

void Frame() {
  if (enabled) notes->push_back({"frame", Now(), std::numeric_limits<double>::quiet_NaN(), false});
}

void Mark(const char* what) {
  if (enabled) notes->push_back({what, Now(), 0, true});
}

}  // namespace timinglog
