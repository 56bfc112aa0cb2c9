// The game's side of replays: the recorder that follows every round from its
// set-up to its end, and the player that drives a recorded round in the
// player's place, for watching it from the menu or verifying it.
#pragma once

#include <cstdint>
#include <vector>

#include "game/meta/replay_file.h"

// What the round reads at the start of an update, before anything acts on it.
struct ReplayUpdateStart {
  uint16_t buttons = 0;  // bit i: replay::kButtons[i] held
  replay::PauseState pause;
  int loadStep = 0;
  float width = 0, height = 0;
};

struct ReplayRecorder {
  bool active = false;
  replay::Replay replay;
  replay::EventWriter writer;
  uint32_t update = 0;        // the update being recorded; the set-up is 0
  ReplayUpdateStart start;    // sampled at the start of every update
  ReplayUpdateStart written;  // buttons and screen as last written
  replay::Pointer pointer;    // as last written
  replay::PauseState pauseAfter;  // at the end of the last update
  int loadStepAfter = 0;
};

struct ReplayPlayer {
  enum Purpose { kWatch, kVerify };
  enum Outcome { kRunning, kMatched, kMismatched };

  bool active = false;  // from the start until the tables are given back
  bool began = false;   // its first update (the set-up) has begun
  Purpose purpose = kWatch;
  Outcome outcome = kRunning;
  replay::Replay replay;
  replay::EventReader reader;
  replay::Event next;  // the next event to apply
  bool hasNext = false;
  uint32_t update = 0;          // the update running, or last run
  uint32_t mismatchAt = 0;      // the first update whose hash differed
  uint16_t buttons = 0;
  replay::Pointer pointer;
  float width = 640, height = 480;

  // What the playback borrows, given back when it stops.
  std::vector<int> settings, scores;
  std::vector<bool> badges;
  replay::Carry carry;
  int menuMode = 0;
  float menuScroll = 0;

  bool Driving() const { return active && outcome == kRunning; }
};
