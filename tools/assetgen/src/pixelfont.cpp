#include "pixelfont.h"

const Glyph* findGlyph(int code) {
    for (int i = 0; i < kGlyphCount; ++i)
        if (kGlyphs[i].code == code) return &kGlyphs[i];
    return nullptr;
}

bool glyphInk(const Glyph* g, int col, int row) {
    if (!g || row < 0 || row >= kGlyphH || col < 0 || col >= kGlyphW) return false;
    const char* r = g->rows[row];
    return r && r[col] == '#';
}

int textWidth(const std::string& s, int advance) {
    if (s.empty()) return 0;
    return advance * (int)(s.size() - 1) + kGlyphW;
}

// Fills one glyph's pixels, each grown by `grow` font pixels on every side.
static void glyphPixels(cairo_t* cr, const Glyph* g, double x, double y, double px, double grow) {
    for (int row = 0; row < kGlyphH; ++row)
        for (int col = 0; col < kGlyphW; ++col)
            if (glyphInk(g, col, row))
                cairo_rectangle(cr, x + (col - grow) * px, y + (row - grow) * px, (1 + 2 * grow) * px,
                                (1 + 2 * grow) * px);
    cairo_fill(cr);
}

void drawText(cairo_t* cr, double x, double y, const std::string& s, double px, Rgb fill, double outline,
              Rgb rim, int advance) {
    cairo_save(cr);
    // Rim first for the whole run so one glyph's rim never covers its neighbour's ink.
    if (outline > 0) {
        setRgb(cr, rim);
        for (size_t i = 0; i < s.size(); ++i)
            glyphPixels(cr, findGlyph((unsigned char)s[i]), x + i * advance * px, y, px, outline);
    }
    setRgb(cr, fill);
    for (size_t i = 0; i < s.size(); ++i)
        glyphPixels(cr, findGlyph((unsigned char)s[i]), x + i * advance * px, y, px, 0);
    cairo_restore(cr);
}

void drawTextCentred(cairo_t* cr, double cx, double cy, const std::string& s, double px, Rgb fill,
                     double outline, Rgb rim, int advance) {
    double w = textWidth(s, advance) * px;
    drawText(cr, cx - w / 2, cy - kCapH * px / 2, s, px, fill, outline, rim, advance);
}

void paintGameFont(cairo_t* cr) {
    // Crisp squares: no antialiasing on the pixel grid.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    Grid grid{16, 16, 128, 16};
    paintGrid(cr, grid, [](cairo_t* c, int cell) {
        const Glyph* g = findGlyph(cell + 32);
        if (!g) return;
        // Glyph at columns 6..10 and capitals on rows 5..11: the cell centre
        // (the drawing handle) sits in the middle of the capitals.
        const double gx = 6, gy = 5;
        // A soft dark rim keeps tinted text readable on any background.
        cairo_set_source_rgba(c, kInk.r, kInk.g, kInk.b, 0.55);
        glyphPixels(c, g, gx, gy, 1, 1);
        cairo_set_source_rgb(c, 1, 1, 1);
        glyphPixels(c, g, gx, gy, 1, 0);
    });
}

void paintVelkFont(cairo_t* cr) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int i = 0; i < 96; ++i) {
        const Glyph* g = findGlyph(32 + i);
        if (!g) continue;
        // Column 0 and column 7 of each cell are the spacers; the glyph takes
        // columns 1..5 and column 6 is the gap before the next character.
        cairo_set_source_rgb(cr, 1, 1, 1);
        glyphPixels(cr, g, i * kVelkCellW + 1, 0, 1, 0);
    }
}
