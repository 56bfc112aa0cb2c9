// The state file on the web: a folder backed by the browser's IndexedDB. The
// page fills it before the program starts (web/pre.js); each save is copied
// back to the browser's store here.
#include "host/state_area.h"

extern "C" void wlweb_store_state_area();

const char* state_area_folder() { return "/state/"; }

void state_area_saved() { wlweb_store_state_area(); }
