// An optional record of the main loop's timing, for the benchmarks. With
// VW_TIMING_LOG naming a file, the host notes when each update was due and
// when it ran, when each frame was presented, and the marks the program sets
// (the end of loading); the notes stay in memory and are written to the file
// at exit, so keeping them costs the loop a clock read and a store. Without
// the variable nothing is noted. Times are CLOCK_MONOTONIC seconds, so a
// process that starts the game can set them against its own clock.
#pragma once

namespace timinglog {

extern bool enabled;

// Reads VW_TIMING_LOG once, at start-up.
void Init();
// An update due at `due` (the loop's clock) starts now, the loop's clock
// reading `now`.
void Update(double due, double now);
// The loop has woken from a sleep meant to end at `due`; its clock reads `now`.
void Woke(double due, double now);
// A frame has just been presented.
void Frame();
// Something worth a line happened now (`what` has no blanks).
void Mark(const char* what);

}  // namespace timinglog
