#include "contact.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "pixelfont.h"

namespace {

cairo_surface_t* load(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot read " + path);
    return s;
}

// Draws a region of a sheet with nearest-neighbour sampling, as the game does.
void blit(cairo_t* cr, cairo_surface_t* s, double sx, double sy, double sw, double sh, double dx, double dy,
          double scale, double alpha = 1, double scaleY = -1) {
    if (scaleY < 0) scaleY = scale;
    cairo_save(cr);
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, scale, scaleY);
    cairo_rectangle(cr, 0, 0, sw, sh);
    cairo_clip(cr);
    cairo_set_source_surface(cr, s, -sx, -sy);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

std::string worldFile(const std::string& dataDir, int v) {
    char n[32];
    std::snprintf(n, sizeof n, "/world%03d-hd.png", v);
    return dataDir + n;
}

// One 640 x 480 frame of play in world v, following the game's row rules for
// the background (asset scale 2: strips 1:1, 32-unit frames drawn at half).
void scene(cairo_t* cr, cairo_surface_t* w, int v, double scroll) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    const double h = 480, ground = 100, H = h - ground;
    int n = (int)(-1 - H / 32);
    for (int j = n; j <= (int)(ground / 32) + 1; ++j) {
        double a = 1 - std::abs(j) / 24.0;
        if (v == 3) a -= 0.75;
        if (j >= 0) a = std::min(1.0, a + 0.25);
        a = std::max(0.0, a);
        double f = v == 2 ? (j < 0 ? 0.5 : 1) : 2 - (double)(n + j) / n;
        int r = j % 2;
        int frame = j == 0 ? 6 : j < 0 ? 5 + r : 7;
        double y = j * 32 + H;
        if (v == 4) {
            a = 1;
            if (j < -7) f = 2 - (double)(n + (-7 - j)) / n;
            else if (j < 0) f = std::fabs(std::sin((-3 * j - 12) * M_PI / 180)) + 0.4, a = 0.5;
            if (j < -7) frame = 7 + r;
            if (j > 0) frame = 6 + j % 2;
            if (j <= -7) y += 16;
        }
        double off = std::floor(-std::fmod(f * scroll, 640));
        for (int k = 0; k < 3; ++k) blit(cr, w, 0, frame * 32, 640, 32, off + 640 * k, y, 1, a);
    }
    auto sprite = [&](int frame, double cx, double cy, double size, double alpha = 1) {
        blit(cr, w, (frame % 10) * 64, (frame / 10) * 64, 64, 64, cx - 16 * size, cy - 16 * size, size * 0.5, alpha);
    };
    auto base = [&](int k) { return h - (ground + 8) - 24 * k; };
    if (v == 2) {
        double x = 470, y = base(6);
        for (int q = 0; q < 4; ++q) sprite(40 + q, x + (q % 2 ? 24 : -24), y + (q / 2 ? 24 : -24), 1.5);
    } else if (v == 3 || v == 7) {
        sprite(40, 470, base(5), 1.5, 0.75);
    }
    int kinds[6] = {1, 9, 5, 3, 7, 2};
    for (int i = 0; i < 6; ++i) {
        double x = 250 + i * 70;
        if (v == 3)
            for (int s = 1; s < kinds[i]; ++s) sprite(18, x, (int)base(s), 1);
        sprite(9 + kinds[i], x, (int)base(kinds[i]), 1);
    }
    double bounceY = H - 32 - std::fabs(std::sin(50 * M_PI / 180)) * 180;
    if (v != 3 && v != 5 && v != 7 && v != 9)
        for (int i = 0; i < 20; i += 3) sprite(v == 4 ? 40 : i % 10, 128 - (20 - i) * 4, bounceY + (20 - i) * 3, 1, i / 24.0);
    sprite(2, 128, bounceY, 1);
    sprite(7, 60, H - 32, 1);
}

void label(cairo_t* cr, double x, double y, const std::string& s) {
    drawText(cr, x, y, s, 2, hex(0xFFFFFF), 1, hex(0x2A2A30));
}

}  // namespace

void writeScenes(const std::string& dataDir, const std::string& dir) {
    ensureDir(dir);
    for (int v = 1; v <= 9; ++v) {
        cairo_surface_t* w = load(worldFile(dataDir, v));
        cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 640, 480);
        cairo_t* cr = cairo_create(out);
        scene(cr, w, v, 1234);
        cairo_destroy(cr);
        writePng(out, dir + "/scene" + std::to_string(v) + ".png");
        cairo_surface_destroy(out);
        cairo_surface_destroy(w);
    }
}

void writeContactSheet(const std::string& dataDir, const std::vector<SheetDef>& sheets, const std::string& out) {
    const int W = 1984, gap = 24;
    struct Item {
        std::string name;
        cairo_surface_t* s;
        Grid g;
        double scale;
    };
    std::vector<Item> items;
    for (auto& d : sheets)
        items.push_back({d.stem + "-hd.png", load(dataDir + "/" + d.stem + "-hd.png"), d.grid, 1});
    items.push_back({"velk_font.png (x2)", load(dataDir + "/velk_font.png"), Grid{kVelkCellW, kVelkCellH, 96, 96}, 2});
    // Flow layout, left to right, wrapping at the page width.
    std::vector<std::pair<double, double>> pos;
    double x = gap, y = gap, rowH = 0;
    for (auto& it : items) {
        double w = cairo_image_surface_get_width(it.s) * it.scale, h = cairo_image_surface_get_height(it.s) * it.scale;
        w = std::max(w, (double)textWidth(it.name) * 2 + 4);
        if (x + w > W - gap) x = gap, y += rowH + gap, rowH = 0;
        pos.push_back({x, y});
        x += w + gap;
        rowH = std::max(rowH, h + 28);
    }
    double scenesY = y + rowH + gap;
    int H = (int)(scenesY + 3 * (240 + 28 + gap) + gap);
    cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, W, H);
    cairo_t* cr = cairo_create(page);
    cairo_set_source_rgb(cr, 0.42, 0.43, 0.46);
    cairo_paint(cr);
    for (size_t i = 0; i < items.size(); ++i) {
        auto& it = items[i];
        double px = pos[i].first, py = pos[i].second;
        label(cr, px, py, it.name);
        double w = cairo_image_surface_get_width(it.s) * it.scale, h = cairo_image_surface_get_height(it.s) * it.scale;
        cairo_rectangle(cr, px, py + 28, w, h);
        cairo_set_source_rgb(cr, 0.36, 0.37, 0.40);
        cairo_fill(cr);
        blit(cr, it.s, 0, 0, w / it.scale, h / it.scale, px, py + 28, it.scale);
        // Faint frame borders show the grid the game cuts.
        double fw = it.g.frameW * 2, fh = it.g.frameH * 2;
        cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
        cairo_set_line_width(cr, 1);
        for (double gx = fw; gx < w - 0.5; gx += fw) cairo_move_to(cr, px + gx + 0.5, py + 28), cairo_line_to(cr, px + gx + 0.5, py + 28 + h);
        for (double gy = fh; gy < h - 0.5; gy += fh) cairo_move_to(cr, px, py + 28 + gy + 0.5), cairo_line_to(cr, px + w, py + 28 + gy + 0.5);
        cairo_stroke(cr);
        cairo_surface_destroy(it.s);
    }
    for (int v = 1; v <= 9; ++v) {
        double sx = gap + ((v - 1) % 3) * (320 + gap), sy = scenesY + ((v - 1) / 3) * (240 + 28 + gap);
        cairo_surface_t* w = load(worldFile(dataDir, v));
        cairo_surface_t* sc = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 640, 480);
        cairo_t* c2 = cairo_create(sc);
        scene(c2, w, v, 1234 + v * 97);
        cairo_destroy(c2);
        label(cr, sx, sy, "world " + std::to_string(v) + " in play (half size)");
        cairo_save(cr);
        cairo_translate(cr, sx, sy + 28);
        cairo_scale(cr, 0.5, 0.5);
        cairo_set_source_surface(cr, sc, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(sc);
        cairo_surface_destroy(w);
    }
    cairo_destroy(cr);
    writePng(page, out);
    cairo_surface_destroy(page);
}
