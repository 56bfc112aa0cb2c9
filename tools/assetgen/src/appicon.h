// The application icon: the wick hero bouncing over a spike at dusk, in the
// sizes desktops look for, written to DATA_DIR/icons.
#pragma once
#include <string>

// Sizes in pixels of the square icon pictures, smallest first.
extern const int kAppIconSizes[7];

void writeAppIcons(const std::string& dataDir);
