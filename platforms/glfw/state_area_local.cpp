// The state file in the working folder, where the file system keeps it.
#include "seam/state_area.h"

const char* state_area_folder() { return ""; }

void state_area_saved(const char*) {}
