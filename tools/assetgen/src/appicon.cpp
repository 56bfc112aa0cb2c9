// The application icon, drawn on a 64-unit square and rendered afresh at every
// size. Small sizes leave out the spike and enlarge the hero, so the picture
// still reads at 16 pixels.
#include "appicon.h"

#include <cmath>

#include "canvas.h"
#include "world.h"

const int kAppIconSizes[7] = {16, 24, 32, 48, 64, 128, 256};

namespace {

const double kUnits = 64;

// Rounded tile with the menu's dusk sky and a low hill.
void tile(cairo_t* cr, double inset) {
    double side = kUnits - 2 * inset, r = side * 0.2;
    roundRect(cr, inset, inset, side, side, r);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, inset, 0, kUnits - inset);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.10, 0.08, 0.36);
    cairo_pattern_add_color_stop_rgb(sky, 0.5, 0.34, 0.18, 0.58);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.98, 0.52, 0.38);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    glow(cr, 40, 40, 22, hex(0xFFD27A), 0.45);
    cairo_move_to(cr, 0, kUnits);
    for (double x = 0; x <= kUnits; x += 2) cairo_line_to(cr, x, 52 + 2.5 * std::sin(x / 9.0));
    cairo_line_to(cr, kUnits, kUnits);
    cairo_close_path(cr);
    setRgb(cr, hex(0x2A1E55));
    cairo_fill(cr);
    cairo_restore(cr);
    roundRect(cr, inset, inset, side, side, r);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, inset > 1.5 ? 2.0 : 3.0);
    cairo_stroke(cr);
}

void paintAppIcon(cairo_t* cr, int size) {
    const Theme& hero = themeFor(1);
    bool small = size <= 24;
    tile(cr, small ? 1.5 : 3);
    if (small) {
        paintCharacter(cr, hero, 0, 30, 55, 52);
        return;
    }
    // A spike at the right, the hero in mid-bounce above the hill.
    cairo_save(cr);
    cairo_translate(cr, 47, 44);
    cairo_scale(cr, 0.62, 0.62);
    paintSpike(cr, themeFor(1), 3, 0, 0);
    cairo_restore(cr);
    paintCharacter(cr, hero, 2, 25, 46, 40);
}

}  // namespace

void writeAppIcons(const std::string& dataDir) {
    ensureDir(dataDir + "/icons");
    for (int size : kAppIconSizes) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cairo_t* cr = cairo_create(s);
        cairo_scale(cr, size / kUnits, size / kUnits);
        paintAppIcon(cr, size);
        cairo_destroy(cr);
        writePng(s, dataDir + "/icons/vaultwick-" + std::to_string(size) + ".png");
        cairo_surface_destroy(s);
    }
}
