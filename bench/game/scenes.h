// The game screens the benchmarks measure, each driven on the harness from a
// fresh game: the menu, the badges box, and the busiest rounds. A scene is
// reached once; before each measured update its keeper (untimed, uncounted)
// keeps it as busy as it is named, so that every update measured is alike.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game_harness.h"

namespace gamescenes {

struct Scene {
  std::string name;
  std::string what;  // one line for the tables
  // Drives a fresh game to the screen.
  std::function<void(gameharness::Game&)> reach;
  // Makes the keeper for a game that has reached the screen; called before
  // every measured update.
  std::function<std::function<void()>(gameharness::Game&)> keeper;
};

// Menu, badges box, then rounds of play modes 7 (also with a pool of pop-ups
// beyond what play makes), 9 and 10.
const std::vector<Scene>& Scenes();
const Scene* Find(const std::string& name);

}  // namespace gamescenes
