// Read-only views of the running game for the page's automated tests: where
// the game is and what its input device holds. Nothing here changes state.
#include <emscripten/emscripten.h>

#include "app/bb_app.h"
#include "game/vaultwick.h"
#include "game_marks.h"
#include "input/input.h"

namespace {

const bb_Vaultwick_MyApp* game() {
  return bb_app_device ? static_cast<const bb_Vaultwick_MyApp*>(bb_app_device->m_app) : nullptr;
}

}  // namespace

extern "C" {

// The screen (1 menu, 10 round, ...), 0 before the game exists.
EMSCRIPTEN_KEEPALIVE int vw_probe_screen() { return game() ? game()->m_Screen : 0; }
// The loader's next step, 0 once everything is loaded.
EMSCRIPTEN_KEEPALIVE int vw_probe_load_step() { return game() ? game()->m_LoadStep : -1; }
EMSCRIPTEN_KEEPALIVE int vw_probe_paused() { return game() ? game()->m_Paused : 0; }
// The pause panel's chosen button: -1 Quit, 0 Resume, 1 Sound.
EMSCRIPTEN_KEEPALIVE int vw_probe_pause_choice() { return game() ? game()->m_PauseChoice : 0; }
// 1 while the menu waits for the player: slid in, nothing fading over it.
EMSCRIPTEN_KEEPALIVE int vw_probe_menu_at_rest() { return game() && MenuAtRest(*game()) ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int vw_probe_round_over() { return game() ? game()->m_RoundOver : 0; }
EMSCRIPTEN_KEEPALIVE int vw_probe_key_down(int key) { return bb_input_device ? bb_input_device->KeyDown(key) : 0; }
EMSCRIPTEN_KEEPALIVE int vw_probe_mouse_x() { return bb_input_device ? static_cast<int>(bb_input_device->MouseX()) : 0; }
EMSCRIPTEN_KEEPALIVE int vw_probe_mouse_y() { return bb_input_device ? static_cast<int>(bb_input_device->MouseY()) : 0; }
// Renders and updates per second, as the game meters them.
EMSCRIPTEN_KEEPALIVE int vw_probe_render_fps() { return game() ? game()->m_RenderFpsAvg : 0; }
EMSCRIPTEN_KEEPALIVE int vw_probe_update_fps() { return game() ? game()->m_UpdateFpsAvg : 0; }
// Updates and renders the host has run since start-up, counted: the game's
// meters above are running averages of whole milliseconds, which read a few
// below the true rate.
EMSCRIPTEN_KEEPALIVE unsigned vw_probe_updates() { return app ? app->updatesRun : 0; }
EMSCRIPTEN_KEEPALIVE unsigned vw_probe_frames() { return app ? app->framesDrawn : 0; }
// Whether the host holds the game suspended (a hidden page).
EMSCRIPTEN_KEEPALIVE int vw_probe_suspended() { return app && app->suspended ? 1 : 0; }
// The options box: open or not, a settings slot, and the host's window mode.
EMSCRIPTEN_KEEPALIVE int vw_probe_options_open() { return game() ? game()->m_OptionsBoxOpen : 0; }
EMSCRIPTEN_KEEPALIVE int vw_probe_setting(int slot) {
  return game() && slot >= 0 && slot < game()->m_Settings.Length() ? game()->m_Settings[slot] : -1;
}
EMSCRIPTEN_KEEPALIVE int vw_probe_fullscreen() { return IsFullscreen() ? 1 : 0; }
}
