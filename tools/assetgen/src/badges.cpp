// Badge icons: a medal per badge id; the look says which family of feat it is.
#include <cmath>
#include <string>

#include "pixelfont.h"
#include "ui.h"
#include "world.h"

namespace {

void medal(cairo_t* cr, Rgb rim, Rgb face, Rgb ribbon) {
    for (int s = -1; s <= 1; s += 2) {
        cairo_move_to(cr, 32 + s * 4, 40);
        cairo_line_to(cr, 32 + s * 15, 62);
        cairo_line_to(cr, 32 + s * 9, 58);
        cairo_line_to(cr, 32 + s * 6, 62);
        cairo_line_to(cr, 32 + s * 0, 42);
        cairo_close_path(cr);
        fillShaded(cr, ribbon, 1.4);
    }
    starPath(cr, 32, 29, 16, 27, 24, 0);
    fillShaded(cr, rim, 1.6);
    circlePath(cr, 32, 29, 20);
    fillBall(cr, 32, 29, 20, face, 1.4);
}

void label(cairo_t* cr, const std::string& s, double y = 38) {
    double px = s.size() > 4 ? 1.5 : 2;
    drawTextCentred(cr, 32, y, s, px, hex(0xFFFFFF), 1, kInk);
}

void arrowOverUnder(cairo_t* cr, bool over, Rgb spike) {
    const Theme& t = themeFor(1);
    cairo_save(cr);
    cairo_translate(cr, 32, over ? 31 : 22);
    cairo_scale(cr, 0.55, 0.55);
    cairo_translate(cr, -16, -16);
    int kind = 9;
    for (int k = 1; k <= 9; ++k)
        if (spikeColour(k, false).r == spike.r && spikeColour(k, false).g == spike.g &&
            spikeColour(k, false).b == spike.b)
            kind = k;
    paintSpike(cr, t, kind, 16, 16);
    cairo_restore(cr);
    // The hero's path: an arc over or under the spike.
    cairo_set_line_width(cr, 2.2);
    setRgb(cr, hex(0xFFFFFF));
    double y = over ? 24 : 30;
    cairo_move_to(cr, 17, y);
    cairo_curve_to(cr, 24, over ? 12 : 42, 40, over ? 12 : 42, 46, y);
    cairo_stroke(cr);
    cairo_move_to(cr, 47, y + (over ? 3 : -3));
    cairo_line_to(cr, 48, y - (over ? 4 : -4));
    cairo_line_to(cr, 42, y);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void colourBadge(cairo_t* cr, int kind, bool over, bool five) {
    Rgb c = spikeColour(kind, false);
    medal(cr, hex(0xE8E8F0), darker(c, 0.45), darker(c, 0.2));
    arrowOverUnder(cr, over, c);
    if (five) label(cr, "x5", over ? 45 : 43);
}

void passedBadge(cairo_t* cr, int id) {
    static const char* n[7] = {"25", "50", "100", "250", "500", "1000", "2500"};
    Rgb metal = id < 2 ? hex(0xC8814A) : id < 4 ? hex(0xC8CCD8) : hex(0xFFC93C);
    medal(cr, metal, darker(metal, 0.15), hex(0x3A6AD8));
    const Theme& t = themeFor(1);
    cairo_save(cr);
    cairo_translate(cr, 32, 22);
    cairo_scale(cr, 0.45, 0.45);
    paintSpike(cr, t, 1 + id % 9, 0, 0);
    cairo_restore(cr);
    label(cr, n[id], 36);
}

void comboBadge(cairo_t* cr, int id) {
    static const char* n[8] = {"10", "20", "50", "75", "100", "200", "500", "1000"};
    Rgb face = mix(hex(0x2A8AFF), hex(0xFF3BD0), (id - 7) / 7.0);
    medal(cr, hex(0xFFE14A), face, hex(0xFF5050));
    drawTextCentred(cr, 32, 20, "COMBO", 1, hex(0xFFF3A0), 1, kInk);
    label(cr, n[id - 7], 33);
}

void superBadge(cairo_t* cr, int id) {
    static const char* n[4] = {"3", "5", "8", "10"};
    medal(cr, hex(0xFFE14A), hex(0xB44FFF), hex(0x7A2AD8));
    starPath(cr, 32, 27, 5, 15, 7, 0);
    fillShaded(cr, hex(0xFFE14A), 1.2);
    label(cr, n[id - 15], 28);
    drawTextCentred(cr, 32, 43, "SUPER", 1, hex(0xFFFFFF), 1, kInk);
}

void waveBadge(cairo_t* cr, int id) {
    medal(cr, hex(0x7AE0FF), hex(0x1A4A8A), hex(0x2AB0C8));
    cairo_set_line_width(cr, 2);
    setRgb(cr, hex(0xFFFFFF));
    cairo_move_to(cr, 15, 30);
    for (int x = 15; x <= 49; ++x) cairo_line_to(cr, x, 30 - 7 * std::sin((x - 15) / 34.0 * 2 * M_PI));
    cairo_stroke(cr);
    static const int kinds[4][4] = {{4, 4, 0, 0}, {5, 5, 0, 0}, {7, 7, 0, 0}, {1, 2, 3, 4}};
    for (int i = 0; i < 4; ++i) {
        if (!kinds[id - 27][i]) continue;
        double x = id == 30 ? 20 + i * 8 : 24 + i * 16;
        circlePath(cr, x, id == 30 ? 37 : 38, 3.2);
        fillInk(cr, spikeColour(kinds[id - 27][i], false), 1);
    }
    label(cr, std::to_string(id - 26), 20);
}

void bulletBadge(cairo_t* cr, bool five) {
    medal(cr, hex(0xFFB13A), hex(0x4A2A1A), hex(0xD8322A));
    for (int i = 0; i < (five ? 3 : 1); ++i) {
        double y = five ? 20 + i * 8 : 27;
        roundRect(cr, 20, y - 3.5, 20, 7, 3.5);
        fillShaded(cr, hex(0xFF7D1A), 1.2);
        cairo_rectangle(cr, 12, y - 1, 7, 2);
        setRgb(cr, hex(0xFFE14A), 0.8);
        cairo_fill(cr);
    }
    if (five) label(cr, "x5", 44);
}

void dohBadge(cairo_t* cr) {
    medal(cr, hex(0xC8CCD8), hex(0x5A5E6C), hex(0x8A8E9C));
    const Theme& t = themeFor(1);
    cairo_save(cr);
    cairo_translate(cr, 32, 30);
    cairo_scale(cr, 0.7, 0.7);
    paintSpike(cr, t, 1, 0, 0);
    cairo_restore(cr);
    for (int i = 0; i < 3; ++i) {
        starPath(cr, 22 + i * 10, 14 + (i % 2) * 3, 5, 3.5, 1.5, i * 20.0);
        fillInk(cr, hex(0xFFE14A), 0.7);
    }
    label(cr, "D'OH", 44);
}

void lockedBadge(cairo_t* cr) {
    medal(cr, hex(0x9A9AA6), hex(0x4A4A56), hex(0x6A6A76));
    label(cr, "?", 29);
}

}  // namespace

void paintBadge(cairo_t* cr, int id) {
    if (id <= 6) passedBadge(cr, id);
    else if (id <= 14) comboBadge(cr, id);
    else if (id <= 18) superBadge(cr, id);
    else if (id <= 20) colourBadge(cr, 4, false, id == 20);
    else if (id <= 22) colourBadge(cr, 6, true, id == 22);
    else if (id <= 24) colourBadge(cr, 7, true, id == 24);
    else if (id == 25) dohBadge(cr);
    else if (id == 26) {
        medal(cr, hex(0xFF5050), hex(0x8A1A1A), hex(0x5A1010));
        label(cr, "!$%?", 29);
    } else if (id <= 30) waveBadge(cr, id);
    else if (id <= 32) bulletBadge(cr, id == 32);
    else lockedBadge(cr);
}
