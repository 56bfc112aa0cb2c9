// Marks in the timing log (VW_TIMING_LOG) for what changed in the game, as
// each presented frame shows it, so that a process driving the real game can
// wait for the game itself instead of for the clock.
#pragma once

class bb_Vaultwick_MyApp;

// Starts the marks: "screen-<n>" when the screen changes (1 the menu, 10 a
// round, ...), "menu-at-rest" when the menu has slid in with nothing fading
// over it, "paused" and "unpaused" for the pause panel, "round-over" when a
// round ends. (The framework marks "suspended", "resumed", "focus-lost" and
// each save itself.) Does nothing without the timing log.
void WatchGameForMarks();

// The menu, loaded, slid in, with no game over fading over it: what a player
// sees when the menu waits for them.
bool MenuAtRest(const bb_Vaultwick_MyApp& game);
