// Logical data paths ("tovrin://data/" and its siblings) and opening files by
// them: the one way the framework's loaders reach the file system.
#pragma once

#include <cstdio>

#include "runtime/string.h"

// A path as the game names it, made absolute in the data area when it is a
// bare relative path.
String bb_data_FixDataPath(String path);
// Opens a logical or plain path; null when the area is unknown or the file cannot be opened.
FILE* fopenFile(String path, String mode);
