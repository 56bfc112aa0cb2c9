#pragma once
#include <string>

// Writes every sound effect into <dataDir>/sfx: the default set the loader
// reads and the per-variant sets of passes, bounces and SUPER passes.
void writeSounds(const std::string& dataDir);
