// Background strips of each world. Strips 4 and 5 alternate up the sky, each
// row scrolling at its own speed, so both are bands over the same flat sky
// colour; strip 6 is the ground row and strip 7 repeats below it. Every shape
// is drawn wrapped at 320 units so the strips tile seamlessly.
#include <cmath>

#include "world.h"

namespace {

constexpr double kW = 320, kH = 16;

Rgb skyOf(const Theme& t) { return mix(t.skyTop, t.skyLow, 0.55); }

void flat(cairo_t* cr, Rgb c) {
    cairo_rectangle(cr, 0, 0, kW, kH);
    setRgb(cr, c);
    cairo_fill(cr);
}

void puff(cairo_t* cr, double x, double y, double w, Rgb c, double alpha) {
    wrapped(x, kW, [&](double px) {
        circlePath(cr, px, y, w * 0.28);
        circlePath(cr, px - w * 0.3, y + w * 0.08, w * 0.2);
        circlePath(cr, px + w * 0.32, y + w * 0.06, w * 0.22);
        cairo_rectangle(cr, px - w * 0.48, y + w * 0.08, w * 0.96, w * 0.2);
        setRgb(cr, c, alpha);
        cairo_fill(cr);
    });
}

void dots(cairo_t* cr, int n, int seed, Rgb c, double rMin, double rMax, double alpha, double y0 = 2,
          double y1 = 14) {
    Rng r(seed);
    for (int i = 0; i < n; ++i) {
        double x = r.range(0, kW), y = r.range(y0, y1), rad = r.range(rMin, rMax), a = r.range(0.4, 1) * alpha;
        wrapped(x, kW, [&](double px) {
            circlePath(cr, px, y, rad);
            setRgb(cr, c, a);
            cairo_fill(cr);
        });
    }
}

void stones(cairo_t* cr, int n, int seed, Rgb c, double y0, double y1) {
    Rng r(seed);
    for (int i = 0; i < n; ++i) {
        double x = r.range(0, kW), y = r.range(y0, y1), w = r.range(2.5, 5.5);
        wrapped(x, kW, [&](double px) {
            cairo_save(cr);
            cairo_translate(cr, px, y);
            cairo_scale(cr, w, w * 0.6);
            circlePath(cr, 0, 0, 1);
            cairo_restore(cr);
            fillInk(cr, c, 0.6);
        });
    }
}

// A lit top edge line shared by the ground rows.
void edge(cairo_t* cr, double y, double h, Rgb c) {
    cairo_rectangle(cr, 0, y, kW, h);
    setRgb(cr, c);
    cairo_fill(cr);
}

// ---- per world ----

void birds(cairo_t* cr, int n, int seed, Rgb c) {
    Rng r(seed);
    cairo_set_line_width(cr, 0.7);
    for (int i = 0; i < n; ++i) {
        double x = r.range(0, kW), y = r.range(3, 9), s = r.range(1.2, 2);
        wrapped(x, kW, [&](double px) {
            cairo_move_to(cr, px - s, y - s * 0.4);
            cairo_line_to(cr, px, y);
            cairo_line_to(cr, px + s, y - s * 0.4);
            setRgb(cr, c, 0.7);
            cairo_stroke(cr);
        });
    }
}

void bulbs(cairo_t* cr, int seed, double y, double sag, int per) {
    // Strings of carnival bulbs, 80 units per span.
    for (int g = 0; g < 4; ++g) {
        double x0 = g * 80;
        cairo_set_line_width(cr, 0.5);
        cairo_set_source_rgba(cr, 0.15, 0.05, 0.2, 0.8);
        cairo_move_to(cr, x0, y);
        cairo_curve_to(cr, x0 + 25, y + sag * 1.3, x0 + 55, y + sag * 1.3, x0 + 80, y);
        cairo_stroke(cr);
        for (int f = 1; f < per; ++f) {
            double u = (double)f / per, fx = x0 + u * 80, fy = y + sag * 4 * u * (1 - u);
            Rgb c = spikeColour(1 + (f * 3 + g + seed) % 8, true);
            glow(cr, fx, fy + 1, 3, c, 0.5);
            circlePath(cr, fx, fy + 1, 0.9);
            setRgb(cr, lighter(c, 0.4));
            cairo_fill(cr);
        }
    }
}

void farBand(cairo_t* cr, const Theme& t) {
    Rgb sky = skyOf(t);
    flat(cr, sky);
    Rng r(t.variant * 31);
    switch (t.variant) {
    case 1:  // high soft clouds and a few birds
        for (int i = 0; i < 4; ++i) puff(cr, i * 80 + r.range(0, 40), r.range(9, 11), r.range(26, 36), lighter(sky, 0.55), 0.9);
        birds(cr, 4, 11, darker(sky, 0.5));
        break;
    case 2:  // dense star field
        dots(cr, 60, 21, hex(0xFFFFFF), 0.2, 0.45, 0.9, 0.5, 15.5);
        dots(cr, 6, 22, hex(0xFFE9A0), 0.5, 0.8, 1, 2, 14);
        break;
    case 3:  // sun streaks
        for (int i = 0; i < 8; ++i) {
            double x = r.range(0, kW), y = r.range(3, 13), w = r.range(30, 70);
            wrapped(x, kW, [&](double px) {
                roundRect(cr, px, y, w, 1.6, 0.8);
                setRgb(cr, t.nearC, 0.5);
                cairo_fill(cr);
            });
        }
        birds(cr, 3, 33, darker(t.far, 0.3));
        break;
    case 4:  // big cumulus
        for (int i = 0; i < 6; ++i) puff(cr, i * 53 + r.range(0, 20), r.range(8, 11), r.range(18, 30), t.far, 0.9);
        break;
    case 5:  // pixel invaders drifting through a starry sky
        pixelated(cr, kW, kH, 2, [&](cairo_t* c) {
            static const char* inv[4] = {".#...#.", "#######", "##.#.##", "#.#.#.#"};
            Rng q(55);
            for (int i = 0; i < 5; ++i) {
                double x = i * 64 + q.range(0, 40), y = q.range(3, 7);
                Rgb col = i % 2 ? t.nearC : t.groundTop;
                for (int yy = 0; yy < 4; ++yy)
                    for (int xx = 0; xx < 7; ++xx)
                        if (inv[yy][xx] == '#') {
                            cairo_rectangle(c, x + xx * 2, y + yy * 2, 2, 2);
                            setRgb(c, col, 0.55);
                            cairo_fill(c);
                        }
            }
            for (int i = 0; i < 20; ++i) {
                cairo_rectangle(c, (int)q.range(0, kW / 2 - 1) * 2, (int)q.range(0, kH / 2) * 2, 2, 2);
                setRgb(c, hex(0xFFFFFF), q.range(0.3, 0.8));
                cairo_fill(c);
            }
        });
        break;
    case 6:  // steel trusses
        cairo_set_line_width(cr, 1.2);
        setRgb(cr, t.far);
        cairo_rectangle(cr, 0, 2, kW, 1.5);
        cairo_rectangle(cr, 0, 12.5, kW, 1.5);
        cairo_fill(cr);
        for (int x = 0; x < kW; x += 16) {
            cairo_move_to(cr, x, 3);
            cairo_line_to(cr, x + 8, 13);
            cairo_line_to(cr, x + 16, 3);
            cairo_stroke(cr);
        }
        dots(cr, 5, 61, hex(0xFF5A3A), 0.6, 0.9, 1, 2.5, 3);
        break;
    case 7:  // strings of lights
        bulbs(cr, 1, 3, 6, 8);
        break;
    case 8:  // glowing crystal clusters
        for (int i = 0; i < 10; ++i) {
            double x = i * 32 + r.range(0, 20), h = r.range(5, 12);
            wrapped(x, kW, [&](double px) {
                glow(cr, px, kH - 2, 9, t.nearC, 0.25);
                for (int s = -1; s <= 1; ++s) {
                    double hh = h * (s ? 0.6 : 1);
                    cairo_move_to(cr, px + s * 3 - 2, kH);
                    cairo_line_to(cr, px + s * 3 + s * 1.5, kH - hh);
                    cairo_line_to(cr, px + s * 3 + 2, kH);
                    cairo_close_path(cr);
                    setRgb(cr, mix(t.far, t.nearC, s ? 0.2 : 0.4));
                    cairo_fill(cr);
                }
            });
        }
        break;
    default:  // ash clouds lit from below
        for (int i = 0; i < 5; ++i) {
            double x = i * 64 + r.range(0, 30), y = r.range(7, 10), w = r.range(24, 34);
            puff(cr, x, y + 1.2, w, t.nearC, 0.35);
            puff(cr, x, y, w, t.far, 1);
        }
        break;
    }
}

void nearBand(cairo_t* cr, const Theme& t) {
    Rgb sky = skyOf(t);
    flat(cr, sky);
    Rng r(t.variant * 57);
    switch (t.variant) {
    case 1: case 4:
        for (int i = 0; i < 5; ++i) puff(cr, i * 64 + r.range(0, 30), r.range(6, 9), r.range(14, 22), t.nearC, t.variant == 1 ? 0.95 : 0.75);
        break;
    case 2: {  // stars and an aurora ribbon
        dots(cr, 25, 23, hex(0xFFFFFF), 0.25, 0.6, 1, 1, 15);
        cairo_set_line_width(cr, 4);
        cairo_move_to(cr, 0, 8);
        for (int x = 0; x <= kW; x += 4) cairo_line_to(cr, x, 8 + 3 * std::sin(2 * M_PI * x / kW * 3));
        cairo_set_source_rgba(cr, 0.45, 1, 0.75, 0.14);
        cairo_stroke(cr);
        break;
    }
    case 3:  // heat haze and drifting sand
        for (int i = 0; i < 12; ++i) {
            double x = r.range(0, kW), y = r.range(3, 13), w = r.range(10, 30);
            wrapped(x, kW, [&](double px) {
                cairo_rectangle(cr, px, y, w, 0.8);
                setRgb(cr, t.nearC, 0.45);
                cairo_fill(cr);
            });
        }
        break;
    case 5:
        pixelated(cr, kW, kH, 2, [&](cairo_t* c) {
            Rng q(77);
            for (int i = 0; i < 30; ++i) {
                cairo_rectangle(c, (int)q.range(0, kW / 2 - 1) * 2, (int)q.range(0, kH / 2) * 2, 2, 2);
                setRgb(c, q.next() < 0.3 ? t.nearC : hex(0xFFFFFF), q.range(0.4, 1));
                cairo_fill(c);
            }
        });
        break;
    case 6:  // pipes with warning lamps
        cairo_rectangle(cr, 0, 5, kW, 5);
        fillShaded(cr, t.far, 0);
        for (int x = 0; x < kW; x += 40) {
            cairo_rectangle(cr, x + 2, 4, 3, 7);
            fillShaded(cr, t.groundTop, 0);
        }
        dots(cr, 8, 67, t.nearC, 0.8, 1.1, 1, 12.5, 13);
        break;
    case 7: {  // bunting garlands
        for (int g = 0; g < 4; ++g) {
            double x0 = g * 80, sag = 5;
            cairo_set_line_width(cr, 0.6);
            setRgb(cr, t.nearC, 0.8);
            cairo_move_to(cr, x0, 2);
            cairo_curve_to(cr, x0 + 25, 2 + sag * 1.3, x0 + 55, 2 + sag * 1.3, x0 + 80, 2);
            cairo_stroke(cr);
            for (int f = 1; f < 8; ++f) {
                double fx = x0 + f * 10, fy = 2 + sag * 4 * (f / 8.0) * (1 - f / 8.0);
                cairo_move_to(cr, fx - 2.5, fy);
                cairo_line_to(cr, fx + 2.5, fy);
                cairo_line_to(cr, fx, fy + 5);
                cairo_close_path(cr);
                setRgb(cr, spikeColour(1 + (f + g) % 8, false), 0.85);
                cairo_fill(cr);
            }
        }
        break;
    }
    case 8:  // stalactites and motes
        for (int i = 0; i < 14; ++i) {
            double x = i * 23 + r.range(0, 10), h = r.range(4, 10);
            wrapped(x, kW, [&](double px) {
                cairo_move_to(cr, px - 3, 0);
                cairo_line_to(cr, px, h);
                cairo_line_to(cr, px + 3, 0);
                cairo_close_path(cr);
                setRgb(cr, t.far);
                cairo_fill(cr);
            });
        }
        dots(cr, 16, 83, t.groundTop, 0.3, 0.7, 0.9);
        break;
    default:  // smoke and embers
        for (int i = 0; i < 5; ++i) puff(cr, i * 64 + r.range(0, 30), r.range(6, 10), r.range(14, 24), hex(0x3A2222), 0.6);
        dots(cr, 18, 97, t.nearC, 0.3, 0.7, 1);
        break;
    }
}

void groundBand(cairo_t* cr, const Theme& t) {
    flat(cr, t.ground);
    Rng r(t.variant * 71);
    switch (t.variant) {
    case 2:  // water surface with moonlit glints
        edge(cr, 0, 1.5, t.groundTop);
        for (int i = 0; i < 24; ++i) {
            double x = r.range(0, kW), y = r.range(3, 14), w = r.range(4, 12);
            wrapped(x, kW, [&](double px) {
                cairo_rectangle(cr, px, y, w, 0.7);
                setRgb(cr, t.groundTop, 0.5 - y / 40);
                cairo_fill(cr);
            });
        }
        break;
    case 4:  // cloud bank
        flat(cr, skyOf(t));
        for (int i = 0; i < 14; ++i) puff(cr, i * 23 + r.range(0, 8), r.range(9, 12), r.range(16, 22), t.groundTop, 1);
        cairo_rectangle(cr, 0, 12, kW, 4);
        setRgb(cr, t.groundTop);
        cairo_fill(cr);
        break;
    case 5:  // neon floor
        pixelated(cr, kW, kH, 2, [&](cairo_t* c) {
            edge(c, 0, 2, t.nearC);
            for (int x = 0; x < kW; x += 16) {
                cairo_rectangle(c, x, 2, 2, kH);
                setRgb(c, t.far, 0.9);
                cairo_fill(c);
            }
            edge(c, 8, 2, mix(t.ground, t.far, 0.6));
        });
        break;
    case 6:  // hazard-striped catwalk
        edge(cr, 0, 4, t.groundTop);
        for (int x = 0; x < kW; x += 8) {
            cairo_move_to(cr, x, 4);
            cairo_line_to(cr, x + 4, 0);
            cairo_line_to(cr, x + 8, 0);
            cairo_line_to(cr, x + 4, 4);
            cairo_close_path(cr);
            setRgb(cr, kInk);
            cairo_fill(cr);
        }
        edge(cr, 4, 1, darker(t.ground, 0.4));
        for (int x = 6; x < kW; x += 20) {
            circlePath(cr, x, 9, 0.9);
            setRgb(cr, lighter(t.ground, 0.3));
            cairo_fill(cr);
        }
        break;
    case 7:  // candy stripe with icing drips
        for (int x = 0; x < kW; x += 8) {
            cairo_move_to(cr, x, 0);
            cairo_line_to(cr, x + 4, 0);
            cairo_line_to(cr, x + 8, 6);
            cairo_line_to(cr, x + 4, 6);
            cairo_close_path(cr);
            setRgb(cr, t.groundTop);
            cairo_fill(cr);
        }
        cairo_rectangle(cr, 0, 0, kW, 6);
        setRgb(cr, t.ground, 0.35);
        cairo_fill(cr);
        for (int i = 0; i < 20; ++i) {
            double x = i * 16 + r.range(0, 8), d = r.range(2, 6);
            wrapped(x, kW, [&](double px) {
                roundRect(cr, px - 1.5, 5, 3, d + 2, 1.5);
                setRgb(cr, t.groundTop);
                cairo_fill(cr);
            });
        }
        break;
    default: {  // earth-like ground with a lit top layer
        double top = t.variant == 9 ? 2 : 4;
        edge(cr, 0, top, t.groundTop);
        if (t.variant == 1)
            for (int x = 0; x < kW; x += 3) {
                cairo_move_to(cr, x, top);
                cairo_line_to(cr, x + 1.5, top + 2 + (x * 7 % 5) * 0.4);
                cairo_line_to(cr, x + 3, top);
                setRgb(cr, t.groundTop);
                cairo_fill(cr);
            }
        edge(cr, 0, 0.8, lighter(t.groundTop, 0.4));
        if (t.variant == 9)
            for (int i = 0; i < 10; ++i) {
                double x = r.range(0, kW);
                double a = r.range(-2, 2), b = r.range(-2, 2);
                wrapped(x, kW, [&](double px) {
                    glow(cr, px, 8, 6, t.nearC, 0.3);
                    cairo_move_to(cr, px, 2);
                    cairo_line_to(cr, px + a, 6);
                    cairo_line_to(cr, px - a + b, 10);
                    cairo_line_to(cr, px + b, 15);
                    setRgb(cr, lighter(t.nearC, 0.3));
                    cairo_set_line_width(cr, 0.8);
                    cairo_stroke(cr);
                });
            }
        stones(cr, 12, t.variant * 5, lighter(t.ground, 0.2), 8, 13);
        break;
    }
    }
}

void deepBand(cairo_t* cr, const Theme& t) {
    flat(cr, t.deep);
    Rng r(t.variant * 89);
    switch (t.variant) {
    case 2:
        dots(cr, 14, 29, t.groundTop, 0.4, 1.2, 0.35);
        break;
    case 4:
        flat(cr, t.deep);
        for (int i = 0; i < 10; ++i) puff(cr, i * 32 + r.range(0, 10), r.range(6, 10), r.range(14, 20), t.ground, 1);
        break;
    case 5:
        pixelated(cr, kW, kH, 2, [&](cairo_t* c) {
            for (int x = 0; x < kW; x += 16) {
                cairo_rectangle(c, x, 0, 2, kH);
                setRgb(c, t.far, 0.6);
                cairo_fill(c);
            }
            edge(c, 8, 2, mix(t.deep, t.far, 0.5));
        });
        break;
    case 6:
        for (int x = 0; x < kW; x += 32) {
            roundRect(cr, x + 1, 1, 30, 14, 2);
            fillShaded(cr, t.deep, 0);
            for (int k = 0; k < 4; ++k) {
                circlePath(cr, x + (k % 2 ? 28 : 4), k / 2 ? 12.5 : 3.5, 0.8);
                setRgb(cr, lighter(t.deep, 0.35));
                cairo_fill(cr);
            }
        }
        break;
    case 7:  // chocolate wafer
        for (int x = 0; x < kW; x += 10) {
            roundRect(cr, x + 1, 1, 8, 6, 1.5);
            roundRect(cr, x + 1, 9, 8, 6, 1.5);
            setRgb(cr, lighter(t.deep, 0.15));
            cairo_fill(cr);
        }
        break;
    case 8:
        stones(cr, 10, 88, t.ground, 3, 13);
        dots(cr, 6, 87, t.groundTop, 0.7, 1.2, 0.9, 4, 12);
        break;
    case 9:
        glow(cr, 80, 8, 30, t.nearC, 0.18);
        glow(cr, 240, 8, 30, t.nearC, 0.18);
        stones(cr, 10, 99, t.ground, 3, 13);
        break;
    default:
        stones(cr, 14, t.variant * 13, darker(t.ground, 0.1), 3, 13);
        break;
    }
}

}  // namespace

void paintStrips(cairo_t* cr, const Theme& t) {
    inCell(cr, 0, 64, kW, kH, [&] { farBand(cr, t); });
    inCell(cr, 0, 80, kW, kH, [&] { nearBand(cr, t); });
    inCell(cr, 0, 96, kW, kH, [&] { groundBand(cr, t); });
    inCell(cr, 0, 112, kW, kH, [&] { deepBand(cr, t); });
}
