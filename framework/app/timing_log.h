// An optional record of the main loop's timing, for the benchmarks and the
// black-box tests. With VW_TIMING_LOG naming a file, the host notes when each
// update was due and when it ran and when each frame was presented; these
// notes stay in memory and are written to the file at exit, so keeping them
// costs the loop a clock read and a store. The marks the program sets (the
// end of loading, and what the watcher sees change) go to the file at once,
// so a test can wait for them. Without the variable nothing is noted. Times
// are CLOCK_MONOTONIC seconds, so a process that starts the game can set them
// against its own clock.
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
// A frame has just been presented; the watcher, if any, looks at the game.
void Frame();
// Something worth a line happened now (`what` has no blanks).
void Mark(const char* what);
// Has `fn` called after each presented frame while the log is on, to set
// marks for what changed in the frame's game.
void Watch(void (*fn)());

}  // namespace timinglog
