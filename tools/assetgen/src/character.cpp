// The hero: a round little wick creature with a flame on its head. Ten frames
// make one squash-and-stretch wobble; the game loops them while it bounces.
#include <cmath>

#include "world.h"

static void flame(cairo_t* cr, double x, double y, double h, double sway, Rgb c) {
    // Outer flame, then a bright core.
    for (int layer = 0; layer < 2; ++layer) {
        double k = layer ? 0.55 : 1.0;
        cairo_new_path(cr);
        cairo_move_to(cr, x - 3.2 * k, y);
        cairo_curve_to(cr, x - 3.6 * k, y - h * 0.45 * k, x + sway - 1, y - h * 0.6 * k, x + sway, y - h * k);
        cairo_curve_to(cr, x + sway + 1.5, y - h * 0.55 * k, x + 3.6 * k, y - h * 0.4 * k, x + 3.2 * k, y);
        cairo_close_path(cr);
        if (layer == 0) {
            fillInk(cr, c, 1.0);
        } else {
            setRgb(cr, lighter(c, 0.75));
            cairo_fill(cr);
        }
    }
}

static void eye(cairo_t* cr, double x, double y, double h, bool closed) {
    if (closed) {
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 1.1);
        cairo_move_to(cr, x - 1.6, y);
        cairo_line_to(cr, x + 1.6, y);
        cairo_stroke(cr);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1, h / 2.4);
    circlePath(cr, 0, 0, 2.4);
    cairo_restore(cr);
    fillInk(cr, {1, 1, 1}, 0.8);
    circlePath(cr, x + 0.6, y + 0.2, 1.25);
    setRgb(cr, kInk);
    cairo_fill(cr);
    circlePath(cr, x + 1.0, y - 0.6, 0.45);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
}

static void gear(cairo_t* cr, const Theme& t, double cx, double top, double w, double h) {
    switch (t.gear) {
    case Gear::Bandana:
        cairo_rectangle(cr, cx - w * 0.5, top + h * 0.18, w, h * 0.16);
        fillInk(cr, hex(0xD83A3A), 0.8);
        cairo_move_to(cr, cx - w * 0.5, top + h * 0.26);
        cairo_line_to(cr, cx - w * 0.5 - 4, top + h * 0.18);
        cairo_line_to(cr, cx - w * 0.5 - 3.5, top + h * 0.36);
        cairo_close_path(cr);
        fillInk(cr, hex(0xD83A3A), 0.8);
        break;
    case Gear::Goggles:
        cairo_rectangle(cr, cx - w * 0.5, top + h * 0.14, w, h * 0.1);
        fillInk(cr, hex(0x7A4A2A), 0.7);
        circlePath(cr, cx - 2, top + h * 0.18, 2.6);
        circlePath(cr, cx + 4, top + h * 0.18, 2.6);
        fillInk(cr, hex(0x9FE8FF), 0.8);
        break;
    case Gear::Visor:
        roundRect(cr, cx - w * 0.2, top + h * 0.3, w * 0.62, h * 0.2, 1.5);
        fillInk(cr, hex(0x40E0FF), 0.8);
        break;
    case Gear::Crown:
        cairo_move_to(cr, cx - 5, top + 2);
        cairo_line_to(cr, cx - 5, top - 3);
        cairo_line_to(cr, cx - 2.5, top - 0.5);
        cairo_line_to(cr, cx, top - 4);
        cairo_line_to(cr, cx + 2.5, top - 0.5);
        cairo_line_to(cr, cx + 5, top - 3);
        cairo_line_to(cr, cx + 5, top + 2);
        cairo_close_path(cr);
        fillInk(cr, hex(0xFFD23F), 0.8);
        break;
    case Gear::Horns:
        for (int s = -1; s <= 1; s += 2) {
            cairo_move_to(cr, cx + s * w * 0.28, top + 2.5);
            cairo_line_to(cr, cx + s * w * 0.42, top - 3.5);
            cairo_line_to(cr, cx + s * w * 0.12, top + 1.2);
            cairo_close_path(cr);
            fillInk(cr, hex(0xF0E6D0), 0.8);
        }
        break;
    case Gear::Headphones:
        cairo_set_line_width(cr, 1.6);
        setRgb(cr, kInk);
        cairo_arc(cr, cx, top + h * 0.45, w * 0.5, M_PI * 1.1, M_PI * 1.9);
        cairo_stroke(cr);
        for (int s = -1; s <= 1; s += 2) {
            roundRect(cr, cx + s * w * 0.5 - 2.2, top + h * 0.35, 4.4, 6, 1.5);
            fillInk(cr, hex(0xFF4FD8), 0.8);
        }
        break;
    case Gear::Leaf:
        cairo_move_to(cr, cx + 3, top + 1);
        cairo_curve_to(cr, cx + 5, top - 4, cx + 10, top - 3, cx + 11, top - 1);
        cairo_curve_to(cr, cx + 8, top + 1, cx + 6, top + 2, cx + 3, top + 1);
        fillInk(cr, hex(0x7BE07B), 0.8);
        break;
    case Gear::Halo:
        cairo_save(cr);
        cairo_translate(cr, cx - 5, top - 1);
        cairo_scale(cr, 1, 0.35);
        circlePath(cr, 0, 0, 4.5);
        cairo_restore(cr);
        cairo_set_line_width(cr, 1.3);
        setRgb(cr, hex(0xFFE27A));
        cairo_stroke(cr);
        break;
    case Gear::None:
        break;
    }
}

void paintCharacter(cairo_t* cr, const Theme& t, int frame, double cx, double bottom, double size) {
    cairo_save(cr);
    double k = size / 32.0;
    cairo_translate(cr, cx, bottom);
    cairo_scale(cr, k, k);
    // Squash and stretch keep the volume: tall and thin at frame 0, wide and
    // flat half way through the loop.
    double p = 2 * M_PI * frame / 10.0;
    double st = 1 + 0.2 * std::cos(p);
    double w = 23 / std::sqrt(st), h = 19 * st;
    double lean = 1.2 * std::sin(p);
    double top = -2 - h;
    // Feet.
    for (int s = -1; s <= 1; s += 2) {
        cairo_save(cr);
        cairo_translate(cr, s * w * 0.24, -2.2);
        cairo_scale(cr, 1.5, 1);
        circlePath(cr, 0, 0, 2.4);
        cairo_restore(cr);
        fillInk(cr, darker(t.body, 0.35), 1.0);
    }
    // Body.
    cairo_save(cr);
    cairo_translate(cr, lean, -2 - h / 2);
    cairo_scale(cr, w / 2, h / 2);
    circlePath(cr, 0, 0, 1);
    cairo_restore(cr);
    cairo_pattern_t* pat = cairo_pattern_create_radial(lean - w * 0.18, top + h * 0.28, 1, lean, top + h * 0.5, w * 0.62);
    Rgb hi = lighter(t.body, 0.5), lo = darker(t.body, 0.3);
    cairo_pattern_add_color_stop_rgb(pat, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(pat, 0.55, t.body.r, t.body.g, t.body.b);
    cairo_pattern_add_color_stop_rgb(pat, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, pat);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pat);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // Belly shine.
    cairo_save(cr);
    cairo_translate(cr, lean - w * 0.2, top + h * 0.3);
    cairo_rotate(cr, -0.5);
    cairo_scale(cr, 2.4, 1.3);
    circlePath(cr, 0, 0, 1);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_fill(cr);
    // Face: looks right, the way the track scrolls in from.
    double ey = top + h * 0.45;
    bool blink = frame == 7;
    eye(cr, lean + 1.5, ey, 2.6 * std::sqrt(st), blink);
    eye(cr, lean + 7.0, ey, 2.6 * std::sqrt(st), blink);
    cairo_set_line_width(cr, 1.0);
    setRgb(cr, kInk);
    cairo_arc(cr, lean + 4.6, ey + 3.2, 1.6, 0.2, M_PI - 0.2);
    cairo_stroke(cr);
    circlePath(cr, lean - 1.5, ey + 3.0, 1.3);
    cairo_set_source_rgba(cr, 1, 0.35, 0.4, 0.45);
    cairo_fill(cr);
    gear(cr, t, lean, top, w, h);
    // Wick and flame; the flame lags the body like a pennant.
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, lean - 1, top + 0.6);
    cairo_line_to(cr, lean - 1.5 - lean * 0.5, top - 2.0);
    cairo_stroke(cr);
    flame(cr, lean - 1.5 - lean * 0.5, top - 1.8, 7.5 + 1.5 * std::sin(p * 2), -1.8 * std::sin(p), t.flame);
    cairo_restore(cr);
}
