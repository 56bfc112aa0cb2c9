#pragma once
#include <string>
#include <vector>

#include "sheets.h"

// Lays every sheet out at scale 2 on a neutral background with its name, plus
// a small in-game scene per world, and writes the result as one PNG.
void writeContactSheet(const std::string& dataDir, const std::vector<SheetDef>& sheets, const std::string& out);

// Full-size (640 x 480) scenes of each world as the game composes them, for
// judging the art; written as scene1.png .. scene9.png into dir.
void writeScenes(const std::string& dataDir, const std::string& dir);
