// The state file's area: the folder the state file is kept in and what
// follows a save. Each platform links its own: the working folder on the
// desktop and in the tests, a folder the browser keeps on the web.
#pragma once

// The folder holding the state file, ending in "/", or "" for the working folder.
const char* state_area_folder();

// Called with the state file's path each time a new state file has been put
// in place, so an area that is kept elsewhere can store it there too.
void state_area_saved(const char* path);
