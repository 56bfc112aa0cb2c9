// Pixel font shared by both font sheets and by every label painted on art.
#pragma once
#include <cairo.h>
#include <string>

#include "canvas.h"

struct Glyph {
    int code;
    const char* rows[9];
};
extern const Glyph kGlyphs[];
extern const int kGlyphCount;

constexpr int kGlyphW = 5, kGlyphH = 9, kCapH = 7;

// The glyph for a character code, or null when the font has none.
const Glyph* findGlyph(int code);
bool glyphInk(const Glyph* g, int col, int row);

// Width in font pixels of text with the given advance (last glyph without gap).
int textWidth(const std::string& s, int advance = 6);

// Paints text with its top-left capital corner at (x, y). px is the size of
// one font pixel in units. outline > 0 adds a dark rim that many font pixels wide.
void drawText(cairo_t* cr, double x, double y, const std::string& s, double px, Rgb fill,
              double outline = 0, Rgb rim = kInk, int advance = 6);
// Same, centred horizontally on cx with the capitals centred on cy.
void drawTextCentred(cairo_t* cr, double cx, double cy, const std::string& s, double px, Rgb fill,
                     double outline = 0, Rgb rim = kInk, int advance = 6);

// The 128-cell game font sheet (16 x 16 unit cells, cell k = character k + 32).
void paintGameFont(cairo_t* cr);
constexpr int kGameFontW = 256, kGameFontH = 128;

// The framework's built-in strip: 96 cells for characters 32..127, each a
// spacer column, the glyph area and another spacer column.
constexpr int kVelkCellW = 8, kVelkCellH = 10;
constexpr int kVelkW = 96 * kVelkCellW, kVelkH = kVelkCellH;
void paintVelkFont(cairo_t* cr);
