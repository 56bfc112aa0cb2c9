// Small drawing kit over Cairo shared by every sheet painter.
// All painters work in "units" (scale-1 pixels); a sheet is rendered once per
// art scale with the Cairo matrix scaled, so every picture is drawn afresh at
// 1x, 2x and 4x instead of being resampled.
#pragma once
#include <cairo.h>
#include <functional>
#include <string>

struct Rgb {
    double r, g, b;
};

Rgb hex(unsigned v);                 // 0xRRGGBB
Rgb mix(Rgb a, Rgb b, double t);     // t = 0 gives a, 1 gives b
Rgb darker(Rgb c, double t);         // towards black by t
Rgb lighter(Rgb c, double t);        // towards white by t
void setRgb(cairo_t* cr, Rgb c, double alpha = 1.0);

// Outline colour used by every sprite: a very dark warm ink instead of black.
extern const Rgb kInk;

// A grid of equal frames, rows filled left to right, top to bottom.
struct Grid {
    int frameW, frameH, frames, cols;
    int width() const { return frameW * cols; }
    int height() const { return frameH * ((frames + cols - 1) / cols); }
};

using FramePainter = std::function<void(cairo_t*, int frame)>;

// Creates a transparent surface of w x h units at the given scale and returns
// a context whose user space is in units.
cairo_surface_t* newSurface(int w, int h, int scale);
cairo_t* unitContext(cairo_surface_t* s, int scale);

// Paints each frame of a grid clipped to its own cell, origin at the cell's top-left.
void paintGrid(cairo_t* cr, const Grid& g, const FramePainter& paint);
// Runs fn clipped to the rectangle (x, y, w, h), origin moved to (x, y).
void inCell(cairo_t* cr, double x, double y, double w, double h, const std::function<void()>& fn);

void writePng(cairo_surface_t* s, const std::string& path);
void ensureDir(const std::string& path);

// ---- shape helpers (build paths; callers fill/stroke) ----
void roundRect(cairo_t* cr, double x, double y, double w, double h, double r);
void starPath(cairo_t* cr, double cx, double cy, int points, double rOut, double rIn, double rotDeg);
void circlePath(cairo_t* cr, double cx, double cy, double r);
void heartPath(cairo_t* cr, double cx, double cy, double size);

// Fills the current path with a top-lit vertical gradient and strokes it in ink.
void fillShaded(cairo_t* cr, Rgb base, double lineW, double alpha = 1.0);
// Fills with a radial highlight from the upper left, then strokes in ink.
void fillBall(cairo_t* cr, double cx, double cy, double r, Rgb base, double lineW);
// Fills the path with a flat colour and strokes it in ink.
void fillInk(cairo_t* cr, Rgb base, double lineW, double alpha = 1.0);
// Soft round glow.
void glow(cairo_t* cr, double cx, double cy, double r, Rgb c, double alpha);

// Calls fn(x) for x, x - period and x + period so shapes wrap across a tiling edge.
void wrapped(double x, double period, const std::function<void(double)>& fn);

// Deterministic pseudo random numbers (fixed seeds, no global state).
struct Rng {
    unsigned s;
    explicit Rng(unsigned seed) : s(seed * 2654435761u + 12345u) {}
    double next() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / 16777216.0;
    }
    double range(double a, double b) { return a + (b - a) * next(); }
};
