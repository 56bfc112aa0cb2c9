// Dumping the frame a game has recorded, for the render comparison: run the
// game on the harness to the screen wanted, then DumpFrame.
#pragma once

#include <string>

#include "game_harness.h"

namespace frames {

// Writes the display list of the game's last update as `dir`/`name`.vwdl,
// with every image sheet it draws from as a PNG beside it (named by content,
// so lists share sheets). The scale is the one of the game's last render.
// False when a file cannot be written.
bool DumpFrame(const gameharness::Game& game, const std::string& dir, const std::string& name);

}  // namespace frames
