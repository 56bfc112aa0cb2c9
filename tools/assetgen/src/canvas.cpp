#include "canvas.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>

const Rgb kInk = {0.10, 0.07, 0.12};

Rgb hex(unsigned v) {
    return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0};
}
Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb darker(Rgb c, double t) { return mix(c, {0, 0, 0}, t); }
Rgb lighter(Rgb c, double t) { return mix(c, {1, 1, 1}, t); }
void setRgb(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

cairo_surface_t* newSurface(int w, int h, int scale) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * scale, h * scale);
}

cairo_t* unitContext(cairo_surface_t* s, int scale) {
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, scale, scale);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    return cr;
}

void inCell(cairo_t* cr, double x, double y, double w, double h, const std::function<void()>& fn) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_clip(cr);
    fn();
    cairo_restore(cr);
}

void paintGrid(cairo_t* cr, const Grid& g, const FramePainter& paint) {
    for (int i = 0; i < g.frames; ++i) {
        double x = (i % g.cols) * g.frameW, y = (i / g.cols) * g.frameH;
        inCell(cr, x, y, g.frameW, g.frameH, [&] { paint(cr, i); });
    }
}

void ensureDir(const std::string& path) {
    std::string cur;
    for (size_t i = 0; i < path.size(); ++i) {
        cur += path[i];
        if (path[i] == '/' || i + 1 == path.size()) mkdir(cur.c_str(), 0755);
    }
}

void writePng(cairo_surface_t* s, const std::string& path) {
    cairo_surface_flush(s);
    if (cairo_surface_write_to_png(s, path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path);
}

void roundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void starPath(cairo_t* cr, double cx, double cy, int points, double rOut, double rIn, double rotDeg) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        double a = (rotDeg - 90) * M_PI / 180 + i * M_PI / points;
        double r = (i % 2) ? rIn : rOut;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

void circlePath(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

void heartPath(cairo_t* cr, double cx, double cy, double s) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy + 0.42 * s);
    cairo_curve_to(cr, cx - 0.1 * s, cy + 0.3 * s, cx - 0.5 * s, cy + 0.05 * s, cx - 0.5 * s, cy - 0.17 * s);
    cairo_curve_to(cr, cx - 0.5 * s, cy - 0.45 * s, cx - 0.12 * s, cy - 0.5 * s, cx, cy - 0.25 * s);
    cairo_curve_to(cr, cx + 0.12 * s, cy - 0.5 * s, cx + 0.5 * s, cy - 0.45 * s, cx + 0.5 * s, cy - 0.17 * s);
    cairo_curve_to(cr, cx + 0.5 * s, cy + 0.05 * s, cx + 0.1 * s, cy + 0.3 * s, cx, cy + 0.42 * s);
    cairo_close_path(cr);
}

// Strokes the current path with the ink outline, or just drops the path when
// the shape has no outline.
static void outlineOrClear(cairo_t* cr, double lineW, double alpha) {
    if (lineW > 0) {
        setRgb(cr, kInk, alpha);
        cairo_set_line_width(cr, lineW);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}

void fillShaded(cairo_t* cr, Rgb base, double lineW, double alpha) {
    double x0, y0, x1, y1;
    cairo_path_extents(cr, &x0, &y0, &x1, &y1);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    Rgb top = lighter(base, 0.35), bot = darker(base, 0.3);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.45, base.r, base.g, base.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, bot.r, bot.g, bot.b, alpha);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    outlineOrClear(cr, lineW, alpha);
}

void fillBall(cairo_t* cr, double cx, double cy, double r, Rgb base, double lineW) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r * 1.05);
    Rgb hi = lighter(base, 0.55), lo = darker(base, 0.35);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, base.r, base.g, base.b);
    cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    outlineOrClear(cr, lineW, 1.0);
}

void fillInk(cairo_t* cr, Rgb base, double lineW, double alpha) {
    setRgb(cr, base, alpha);
    cairo_fill_preserve(cr);
    outlineOrClear(cr, lineW, alpha);
}

void glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
    cairo_set_source(cr, p);
    circlePath(cr, cx, cy, r);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void wrapped(double x, double period, const std::function<void(double)>& fn) {
    fn(x - period);
    fn(x);
    fn(x + period);
}
