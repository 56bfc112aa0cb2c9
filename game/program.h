// The program's start-up, as the entry calls it: the framework, the game's
// globals and the game object.
#pragma once

// Starts the framework and builds the game; the entry then runs the main loop.
int bb_std_main(int argc, const char** argv);
// The game's globals (screen size, counts, control schemes).
int bbInit();
// Builds the game object, which creates the application device.
int bbMain();
