// The state file on the web: a folder backed by the browser's IndexedDB. The
// page fills it before the program starts (web/pre.js); each save is written
// to the browser's store here (window_web.js).
#include "seam/state_area.h"

extern "C" void wlweb_store_state_file(const char* path);

const char* state_area_folder() { return "/state/"; }

void state_area_saved(const char* path) { wlweb_store_state_file(path); }
