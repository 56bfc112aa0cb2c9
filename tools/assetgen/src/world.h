// The nine play worlds: each has its own palette and props. A world sheet is
// 320 x 160 units: 50 frames of 32 x 32 (character 0..9, spikes 10..18,
// pickups 40..44) that are also 10 strips of 320 x 16 (4 and 5 the rows above
// the ground, 6 the ground row, 7 the rows below it).
#pragma once
#include <cairo.h>

#include "canvas.h"

enum class SpikeStyle { Urchin, Block, Pixel, Crystal, Mine };
enum class Gear { None, Bandana, Goggles, Visor, Crown, Horns, Headphones, Leaf, Halo };

struct Theme {
    int variant;
    Rgb skyTop, skyLow;    // sky colour at the top and bottom edge of strips 4/5
    Rgb far, nearC;        // scenery colours of strips 4 and 5
    Rgb groundTop, ground, deep;
    Rgb body;              // the character's body colour
    Rgb flame;             // colour of the wick flame on its head
    Gear gear;
    SpikeStyle spikes;
    bool lightSpikes;      // the lake world uses the light shade of each kind
};

const Theme& themeFor(int variant);  // 1..9

constexpr int kWorldW = 320, kWorldH = 160;

// Spike colour of kind 1..9 (light shade when asked).
Rgb spikeColour(int kind, bool light);

void paintWorldSheet(cairo_t* cr, int variant);
void paintCharacter(cairo_t* cr, const Theme& t, int frame, double cx, double bottom, double size);
void paintSpike(cairo_t* cr, const Theme& t, int kind, double cx, double cy);
void paintStrips(cairo_t* cr, const Theme& t);  // strips 4..7, in sheet coordinates

// Draws `fn` at a coarse pixel grid of `px` units (the retro world's look).
void pixelated(cairo_t* cr, double w, double h, double px, const std::function<void(cairo_t*)>& fn);
