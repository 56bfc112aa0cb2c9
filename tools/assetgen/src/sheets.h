// The list of image sheets the game loads, with their grids.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "canvas.h"

struct SheetDef {
    std::string stem;  // path under data/ without scale suffix and extension
    Grid grid;         // frame size at scale 1 and layout
    std::function<void(cairo_t*)> paint;  // paints the whole sheet in units
};

std::vector<SheetDef> allSheets();

// Suffix of the file name for an art scale: "", "-hd" or "-hd2".
std::string scaleSuffix(int scale);
