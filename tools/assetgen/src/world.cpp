// World sheets: themes, spikes, pickups and the sheet layout.
#include "world.h"

#include <cmath>

// Sky top/low, far/near scenery, ground top/ground/deep, body, flame, gear, spikes, light.
static const Theme kThemes[9] = {
    // 1: the vault garden, a bright classic day.
    {1, hex(0x2C6FB8), hex(0x8FD3F0), hex(0x3E8E5A), hex(0xFFFFFF), hex(0x7ED957), hex(0x8A5A34), hex(0x5A3720),
     hex(0xFF8A3D), hex(0xFFB02E), Gear::None, SpikeStyle::Urchin, false},
    // 2: moonlit lake, floating bubbles and reflections.
    {2, hex(0x0B1036), hex(0x27306E), hex(0x151B4A), hex(0x9FB4FF), hex(0x7FD4FF), hex(0x1E5FA8), hex(0x0E2E66),
     hex(0x5FE3D4), hex(0xFFD86B), Gear::None, SpikeStyle::Urchin, true},
    // 3: desert canyon run.
    {3, hex(0xE8713C), hex(0xFFC26B), hex(0xB4492F), hex(0xFFE3A1), hex(0xF5CF7A), hex(0xD69A4E), hex(0x9A5A32),
     hex(0xF2C14A), hex(0xFF6A2A), Gear::Bandana, SpikeStyle::Block, false},
    // 4: high sky, clouds above and below.
    {4, hex(0x4AA3F0), hex(0xBFE7FF), hex(0xFFFFFF), hex(0xE4F4FF), hex(0xFFFFFF), hex(0xDCEBFA), hex(0xB9D3EE),
     hex(0xF3EEE2), hex(0xFF8A2E), Gear::Goggles, SpikeStyle::Urchin, false},
    // 5: retro arcade grid.
    {5, hex(0x12002E), hex(0x3A0D6B), hex(0x1B0B45), hex(0xFF4FD8), hex(0x00F0FF), hex(0x2A0A5E), hex(0x160330),
     hex(0x7CE04A), hex(0xFFE14A), Gear::Headphones, SpikeStyle::Pixel, false},
    // 6: the bullet factory.
    {6, hex(0x1A2330), hex(0x3A4A5E), hex(0x2A3646), hex(0x56687E), hex(0xFFC83D), hex(0x5C6A7A), hex(0x39434F),
     hex(0x6F9BD8), hex(0x7FE0FF), Gear::Visor, SpikeStyle::Mine, false},
    // 7: candy carnival at dusk.
    {7, hex(0x5A1E6E), hex(0xFF8FB8), hex(0x8A2E7E), hex(0xFFD1E8), hex(0xFFF0F6), hex(0xFF6FA8), hex(0x7A3A2A),
     hex(0xFF7FC0), hex(0xFFE14A), Gear::Leaf, SpikeStyle::Urchin, false},
    // 8: crystal cavern.
    {8, hex(0x0E0A24), hex(0x2B1F55), hex(0x3B2A78), hex(0x6AE8FF), hex(0x8D7BD9), hex(0x4A3A8A), hex(0x221845),
     hex(0xA67CFF), hex(0x6AF2FF), Gear::None, SpikeStyle::Crystal, false},
    // 9: the volcano, where spikes are there to be smashed.
    {9, hex(0x1A0606), hex(0x5A1410), hex(0x2A0C0C), hex(0xFF7A1A), hex(0x4A3A3A), hex(0x2E2424), hex(0x1A1212),
     hex(0xE0443A), hex(0xFFD23F), Gear::Horns, SpikeStyle::Urchin, false},
};

const Theme& themeFor(int variant) { return kThemes[(variant - 1 + 9) % 9]; }

Rgb spikeColour(int kind, bool light) {
    static const unsigned base[9] = {0xFF5050, 0xFFB450, 0xFFFF50, 0x50FF50, 0x50FFFF,
                                     0x8282FF, 0xB450FF, 0xFF50B4, 0xFFFFFF};
    static const unsigned pale[9] = {0xFF8C8C, 0xFFD28C, 0xFFFF8C, 0x8CFF8C, 0x8CFFFF,
                                     0xB4B4FF, 0xD28CFF, 0xFF8CD2, 0xFFFFFF};
    if (kind < 1 || kind > 9) return hex(0xB4B4B4);
    return hex(light ? pale[kind - 1] : base[kind - 1]);
}

void pixelated(cairo_t* cr, double w, double h, double px, const std::function<void(cairo_t*)>& fn) {
    // Render at one device pixel per grid cell, then scale up without smoothing.
    int lw = (int)std::lround(w / px), lh = (int)std::lround(h / px);
    cairo_surface_t* low = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, lw, lh);
    cairo_t* lc = cairo_create(low);
    cairo_scale(lc, 1 / px, 1 / px);
    cairo_set_antialias(lc, CAIRO_ANTIALIAS_NONE);
    fn(lc);
    cairo_destroy(lc);
    cairo_save(cr);
    cairo_scale(cr, px, px);
    cairo_set_source_surface(cr, low, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(low);
}

static void spikeFace(cairo_t* cr, double cx, double cy, bool angry) {
    for (int s = -1; s <= 1; s += 2) {
        circlePath(cr, cx + s * 2.6, cy - 0.5, 1.9);
        fillInk(cr, {1, 1, 1}, 0.7);
        circlePath(cr, cx + s * 2.6 - 0.5, cy - 0.2, 0.9);
        setRgb(cr, kInk);
        cairo_fill(cr);
        if (angry) {
            cairo_set_line_width(cr, 1.0);
            cairo_move_to(cr, cx + s * 4.6, cy - 3.6);
            cairo_line_to(cr, cx + s * 1.2, cy - 2.4);
            cairo_stroke(cr);
        }
    }
}

// The retro world's spike, drawn pixel by pixel: k outline, c colour,
// d shade, w highlight, e eye white, p pupil.
static void pixelSpike(cairo_t* cr, double cx, double cy, Rgb c) {
    static const char* rows[16] = {
        ".......kk.......", "......kcck......", "..kk..kcck..kk..", "..kckkcccckkck..",
        "...kccwwccccck..", ".kkcwwcccccccdkk", "kccccepcccepcddk", ".kkcceeccceecdkk",
        "...kccccccccdk..", "..kccckkkkccdck.", ".kcdcccccccddcck", "kkkkcdccccddkkkk",
        "...kkcddddddk...", "..kcdkkddkkdck..", "..kk..kddk..kk..", "......kkkk......"};
    Rgb shade = darker(c, 0.35), hi = lighter(c, 0.6);
    // The outermost ring of the map is left out so the sprite keeps a clear
    // border in its frame; ink that lands on the new rim becomes outline.
    for (int y = 1; y < 15; ++y)
        for (int x = 1; x < 15; ++x) {
            char ch = rows[y][x];
            if (ch == '.') continue;
            if (y == 1 || y == 14 || x == 1 || x == 14) ch = 'k';
            Rgb col = ch == 'k' || ch == 'p' ? kInk : ch == 'c' ? c : ch == 'd' ? shade : ch == 'e' ? hex(0xFFFFFF) : hi;
            cairo_rectangle(cr, cx - 16 + x * 2, cy - 16 + y * 2, 2, 2);
            setRgb(cr, col);
            cairo_fill(cr);
        }
}

static void urchin(cairo_t* cr, double cx, double cy, Rgb c, bool face) {
    starPath(cr, cx, cy, 10, 14.5, 8.5, 0);
    fillShaded(cr, darker(c, 0.15), 1.3);
    circlePath(cr, cx, cy, 9);
    fillBall(cr, cx, cy, 9, c, 1.1);
    circlePath(cr, cx - 3, cy - 4, 2.2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_fill(cr);
    if (face) spikeFace(cr, cx, cy + 1, true);
}

static void block(cairo_t* cr, double cx, double cy, Rgb c) {
    // A studded sandstone crate: stacks into the runner's solid columns.
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, i * M_PI / 2);
        cairo_move_to(cr, -4, -10);
        cairo_line_to(cr, 0, -15);
        cairo_line_to(cr, 4, -10);
        cairo_close_path(cr);
        cairo_restore(cr);
        fillShaded(cr, lighter(c, 0.3), 1.1);
    }
    roundRect(cr, cx - 11, cy - 11, 22, 22, 3);
    fillShaded(cr, c, 1.3);
    roundRect(cr, cx - 7, cy - 7, 14, 14, 2);
    setRgb(cr, darker(c, 0.25));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    for (int i = 0; i < 4; ++i) {
        circlePath(cr, cx + (i % 2 ? 8 : -8), cy + (i / 2 ? 8 : -8), 1.2);
        setRgb(cr, lighter(c, 0.6));
        cairo_fill(cr);
    }
}

static void crystal(cairo_t* cr, double cx, double cy, Rgb c) {
    // A floating cluster of three shards.
    const double shard[3][4] = {{-6, 2, 5, 13}, {6, 3, 5, 12}, {0, 0, 7, 15}};
    for (auto& s : shard) {
        double x = cx + s[0], y = cy + s[1], hw = s[2], hh = s[3];
        cairo_move_to(cr, x, y - hh);
        cairo_line_to(cr, x + hw, y - hh * 0.3);
        cairo_line_to(cr, x + hw * 0.7, y + hh * 0.6);
        cairo_line_to(cr, x, y + hh * 0.9);
        cairo_line_to(cr, x - hw * 0.7, y + hh * 0.6);
        cairo_line_to(cr, x - hw, y - hh * 0.3);
        cairo_close_path(cr);
        fillShaded(cr, c, 1.2);
        cairo_move_to(cr, x, y - hh);
        cairo_line_to(cr, x - hw * 0.35, y + hh * 0.5);
        cairo_line_to(cr, x - hw, y - hh * 0.3);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
        cairo_fill(cr);
    }
}

static void mine(cairo_t* cr, double cx, double cy, Rgb c) {
    // Riveted floating mine with stubby spikes and a warning light.
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, a);
        cairo_rectangle(cr, -2.2, -14.5, 4.4, 6);
        cairo_restore(cr);
        fillInk(cr, mix(c, hex(0x9AA4B0), 0.5), 1.0);
    }
    circlePath(cr, cx, cy, 10.5);
    fillBall(cr, cx, cy, 10.5, c, 1.3);
    cairo_set_line_width(cr, 1.0);
    setRgb(cr, darker(c, 0.45));
    cairo_move_to(cr, cx - 10, cy + 1);
    cairo_curve_to(cr, cx - 4, cy + 4, cx + 4, cy + 4, cx + 10, cy + 1);
    cairo_stroke(cr);
    circlePath(cr, cx, cy - 3, 2.4);
    fillInk(cr, lighter(c, 0.7), 0.8);
}

void paintSpike(cairo_t* cr, const Theme& t, int kind, double cx, double cy) {
    Rgb c = spikeColour(kind, t.lightSpikes);
    switch (t.spikes) {
    case SpikeStyle::Urchin: urchin(cr, cx, cy, c, true); break;
    case SpikeStyle::Block: block(cr, cx, cy, c); break;
    case SpikeStyle::Crystal: crystal(cr, cx, cy, c); break;
    case SpikeStyle::Mine: mine(cr, cx, cy, c); break;
    case SpikeStyle::Pixel:
        pixelSpike(cr, cx, cy, c);
        break;
    }
}

// Frame 40: the pickup (or the flying world's trail puff).
static void pickup(cairo_t* cr, const Theme& t) {
    double cx = 16, cy = 16;
    switch (t.variant) {
    case 3: case 5: {  // a spinning coin
        auto coin = [&](cairo_t* c) {
            circlePath(c, cx, cy, 10);
            fillBall(c, cx, cy, 10, hex(0xFFC93C), 1.3);
            circlePath(c, cx, cy, 6.5);
            setRgb(c, hex(0xE39B1B));
            cairo_set_line_width(c, 1.2);
            cairo_stroke(c);
            starPath(c, cx, cy, 5, 4, 1.8, 0);
            setRgb(c, hex(0xFFF3B0));
            cairo_fill(c);
        };
        if (t.variant == 5) pixelated(cr, 32, 32, 2, coin); else coin(cr);
        break;
    }
    case 4:  // wind streak left behind the flyer
        for (int i = 0; i < 3; ++i) {
            cairo_save(cr);
            cairo_translate(cr, cx, cy);
            cairo_scale(cr, 0.45 + 0.15 * i, 1);
            circlePath(cr, 0, -4 + 4 * i, 9 - 2 * i);
            cairo_restore(cr);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.45 + 0.2 * i);
            cairo_fill(cr);
        }
        break;
    case 6:  // energy cell
        roundRect(cr, cx - 6, cy - 11, 12, 22, 3);
        fillShaded(cr, hex(0x46D7FF), 1.3);
        cairo_move_to(cr, cx + 1, cy - 8);
        cairo_line_to(cr, cx - 3, cy + 1);
        cairo_line_to(cr, cx + 1, cy + 1);
        cairo_line_to(cr, cx - 1, cy + 8);
        cairo_line_to(cr, cx + 4, cy - 2);
        cairo_line_to(cr, cx, cy - 2);
        cairo_close_path(cr);
        setRgb(cr, hex(0xFFF6A0));
        cairo_fill(cr);
        break;
    case 8:  // shield
        cairo_move_to(cr, cx, cy - 12);
        cairo_curve_to(cr, cx + 6, cy - 9, cx + 10, cy - 10, cx + 11, cy - 9);
        cairo_curve_to(cr, cx + 11, cy + 2, cx + 7, cy + 9, cx, cy + 13);
        cairo_curve_to(cr, cx - 7, cy + 9, cx - 11, cy + 2, cx - 11, cy - 9);
        cairo_curve_to(cr, cx - 10, cy - 10, cx - 6, cy - 9, cx, cy - 12);
        cairo_close_path(cr);
        fillShaded(cr, hex(0x6AF2FF), 1.3);
        starPath(cr, cx, cy, 4, 6, 2, 0);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
        break;
    case 9:  // ember
        glow(cr, cx, cy, 14, hex(0xFF9A2E), 0.6);
        circlePath(cr, cx, cy, 7);
        fillBall(cr, cx, cy, 7, hex(0xFFB13A), 1.2);
        break;
    default:  // a striped candy star
        starPath(cr, cx, cy, 5, 13.5, 6.5, 0);
        fillShaded(cr, t.variant == 7 ? hex(0xFFE14A) : hex(0x9EF0FF), 1.4);
        circlePath(cr, cx - 2, cy - 3, 2);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
        cairo_fill(cr);
        break;
    }
}

// The lake's floating bubble, 64 x 64 units, later cut into four quarters.
static void bubble(cairo_t* cr) {
    double cx = 32, cy = 32, r = 27;
    glow(cr, cx, cy, 32, hex(0x9FE8FF), 0.35);
    circlePath(cr, cx, cy, r);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 8, cy - 10, 2, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(p, 0.6, 0.55, 0.85, 1, 0.3);
    cairo_pattern_add_color_stop_rgba(p, 0.92, 0.75, 0.55, 1, 0.75);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.95, 0.95, 1, 0.95);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    setRgb(cr, hex(0x1A2A5A));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // A lotus sits inside: the landing target.
    for (int i = -2; i <= 2; ++i) {
        cairo_save(cr);
        cairo_translate(cr, cx + i * 5, cy + 10);
        cairo_rotate(cr, i * 0.35);
        cairo_move_to(cr, 0, 6);
        cairo_curve_to(cr, -6, 0, -3, -7, 0, -10);
        cairo_curve_to(cr, 3, -7, 6, 0, 0, 6);
        cairo_restore(cr);
        fillShaded(cr, i % 2 ? hex(0xFF9AD5) : hex(0xFFC1E6), 1.1);
    }
    cairo_save(cr);
    cairo_translate(cr, cx - 11, cy - 13);
    cairo_rotate(cr, -0.7);
    cairo_scale(cr, 7, 3);
    circlePath(cr, 0, 0, 1);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_fill(cr);
}

// Frame 44: a light icon the game tints for the lake's score pop-ups.
static void popupIcon(cairo_t* cr) {
    starPath(cr, 16, 16, 4, 13, 4, 0);
    fillShaded(cr, hex(0xF2F2F2), 1.2);
    circlePath(cr, 16, 16, 3.5);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

void paintWorldSheet(cairo_t* cr, int variant) {
    const Theme& t = themeFor(variant);
    paintStrips(cr, t);
    Grid g{32, 32, 50, 10};
    paintGrid(cr, g, [&](cairo_t* c, int f) {
        if (f <= 9) {
            if (t.spikes == SpikeStyle::Pixel)
                pixelated(c, 32, 32, 2, [&](cairo_t* lc) { paintCharacter(lc, t, f, 16, 30, 25); });
            else
                paintCharacter(c, t, f, 16, 30.5, 25);
        } else if (f <= 18) {
            paintSpike(c, t, f - 9, 16, 16);
        } else if (f == 40 && variant != 2) {
            pickup(c, t);
        } else if (f >= 40 && f <= 43 && variant == 2) {
            // Quarters of the 64 x 64 bubble: 40 top-left, 41 top-right,
            // 42 bottom-left, 43 bottom-right.
            int q = f - 40;
            cairo_translate(c, -32 * (q % 2), -32 * (q / 2));
            bubble(c);
        } else if (f == 44) {
            popupIcon(c);
        }
    });
}
