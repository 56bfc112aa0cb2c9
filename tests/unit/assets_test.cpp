// Checks the committed art and sound files against what the game loads:
// every sheet at every art scale holds exactly its grid, the fonts have the
// cell layout the text code cuts, and every sound file is clean 16-bit PCM.
#include <gtest/gtest.h>

#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string dataPath(const std::string& rel) { return std::string(VW_SOURCE_DIR) + "/data/" + rel; }

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

uint32_t be32(const std::vector<unsigned char>& b, size_t at) {
    return (uint32_t)b[at] << 24 | (uint32_t)b[at + 1] << 16 | (uint32_t)b[at + 2] << 8 | b[at + 3];
}
uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
    return (uint32_t)b[at] | (uint32_t)b[at + 1] << 8 | (uint32_t)b[at + 2] << 16 | (uint32_t)b[at + 3] << 24;
}
uint16_t le16(const std::vector<unsigned char>& b, size_t at) { return (uint16_t)(b[at] | b[at + 1] << 8); }

struct PngInfo {
    bool ok = false;
    uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
};

// Reads the IHDR chunk, which the PNG format requires to come first.
PngInfo pngInfo(const std::string& path) {
    static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PngInfo info;
    auto b = readFile(path);
    if (b.size() < 33 || !std::equal(sig, sig + 8, b.begin())) return info;
    if (be32(b, 8) != 13 || std::string(b.begin() + 12, b.begin() + 16) != "IHDR") return info;
    info.ok = true;
    info.width = be32(b, 16);
    info.height = be32(b, 20);
    info.bitDepth = b[24];
    info.colourType = b[25];
    return info;
}

// Frame cutting as the graphics layer does it: left to right, wrapping to the
// next row when a frame would cross the right edge; false where a frame would
// fall outside the surface.
bool gridFits(uint32_t w, uint32_t h, uint32_t fw, uint32_t fh, int frames) {
    uint32_t x = 0, y = 0;
    for (int i = 0; i < frames; ++i) {
        if (x + fw > w) {
            if (fw > w) return false;
            x = 0;
            y += fh;
        }
        if (y + fh > h) return false;
        x += fw;
    }
    return true;
}

struct Sheet {
    const char* stem;
    int width, height;  // whole sheet at scale 1
    int frameW, frameH, frames;
};

// Image slots of the loader with the sheet sizes the art is drawn at.
const Sheet kSheets[] = {
    {"world001", 320, 160, 32, 32, 50}, {"world002", 320, 160, 32, 32, 50}, {"world003", 320, 160, 32, 32, 50},
    {"world004", 320, 160, 32, 32, 50}, {"world005", 320, 160, 32, 32, 50}, {"world006", 320, 160, 32, 32, 50},
    {"world007", 320, 160, 32, 32, 50}, {"world008", 320, 160, 32, 32, 50}, {"world009", 320, 160, 32, 32, 50},
    {"heart", 32, 32, 32, 32, 1},       {"MenuButtonsA", 320, 160, 80, 32, 20},
    {"BadgesA", 512, 512, 64, 64, 64},  {"fonts/editundo", 256, 128, 16, 16, 128},
    {"common/icade", 128, 64, 64, 64, 2}, {"common/QorvLogo", 256, 256, 256, 256, 1},
    {"common/dpad", 128, 128, 32, 32, 16}, {"parts", 32, 32, 8, 8, 16},
    {"common/icons", 128, 128, 32, 32, 16}, {"logo", 256, 128, 256, 128, 1},
    {"menu", 512, 512, 256, 256, 4},
};

const char* suffix(int scale) { return scale == 1 ? "" : scale == 2 ? "-hd" : "-hd2"; }

TEST(AssetSheets, EveryScaleHasExactlyTheGridSize) {
    for (const Sheet& s : kSheets)
        for (int scale : {1, 2, 4}) {
            std::string file = std::string(s.stem) + suffix(scale) + ".png";
            SCOPED_TRACE(file);
            PngInfo p = pngInfo(dataPath(file));
            ASSERT_TRUE(p.ok) << "missing or not a PNG";
            EXPECT_EQ(p.width, (uint32_t)(s.width * scale));
            EXPECT_EQ(p.height, (uint32_t)(s.height * scale));
            // 8-bit truecolour (RGBA, or RGB for a fully opaque sheet).
            EXPECT_EQ(p.bitDepth, 8);
            EXPECT_TRUE(p.colourType == 6 || p.colourType == 2) << p.colourType;
            EXPECT_TRUE(gridFits(p.width, p.height, s.frameW * scale, s.frameH * scale, s.frames));
            // No spare column or row: the sheet is exactly whole frames.
            EXPECT_EQ(p.width % (s.frameW * scale), 0u);
            EXPECT_EQ(p.height % (s.frameH * scale), 0u);
        }
}

TEST(AssetSheets, WorldSheetAlsoCutsIntoTenBackgroundStrips) {
    for (int v = 1; v <= 9; ++v)
        for (int scale : {1, 2, 4}) {
            char name[32];
            std::snprintf(name, sizeof name, "world%03d%s.png", v, suffix(scale));
            PngInfo p = pngInfo(dataPath(name));
            ASSERT_TRUE(p.ok) << name;
            EXPECT_TRUE(gridFits(p.width, p.height, 320 * scale, 16 * scale, 10)) << name;
            EXPECT_TRUE(gridFits(p.width, p.height, 32 * scale, 32 * scale, 50)) << name;
        }
}

TEST(AssetSheets, GridCheckRejectsSheetsThatAreTooSmall) {
    // The check itself must notice a sheet one row short or too narrow.
    EXPECT_TRUE(gridFits(64, 64, 32, 32, 4));
    EXPECT_FALSE(gridFits(64, 64, 32, 32, 5));
    EXPECT_FALSE(gridFits(16, 64, 32, 32, 1));
    EXPECT_TRUE(gridFits(320, 32, 32, 32, 10));
}

TEST(AssetFonts, BuiltInFontIsOneStripOfNinetySixPaddedCells) {
    PngInfo p = pngInfo(dataPath("velk_font.png"));
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.width % 96, 0u);
    uint32_t cell = p.width / 96;
    // A spacer column each side still leaves room for a glyph and its gap.
    EXPECT_GE(cell, 6u);
    EXPECT_GE(p.height, 8u);
    EXPECT_LE(p.height, 16u);
    EXPECT_EQ(p.colourType, 6);
}

TEST(AssetFonts, GameFontHasOneHundredTwentyEightCellsAtEveryScale) {
    for (int scale : {1, 2, 4}) {
        PngInfo p = pngInfo(dataPath(std::string("fonts/editundo") + suffix(scale) + ".png"));
        ASSERT_TRUE(p.ok);
        uint32_t cell = 16 * scale;
        EXPECT_EQ((p.width / cell) * (p.height / cell), 128u);
    }
}

struct Wav {
    bool ok = false;
    int format = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    std::vector<int16_t> samples;
};

// Walks the RIFF chunks; the data chunk need not follow fmt directly.
Wav readWav(const std::string& path) {
    Wav w;
    auto b = readFile(path);
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return w;
    if (le32(b, 4) + 8 != b.size()) return w;
    bool haveFmt = false, haveData = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id(b.begin() + at, b.begin() + at + 4);
        uint32_t len = le32(b, at + 4);
        if (at + 8 + len > b.size()) return w;
        if (id == "fmt " && len >= 16) {
            w.format = le16(b, at + 8);
            w.channels = le16(b, at + 10);
            w.rate = le32(b, at + 12);
            w.bits = le16(b, at + 22);
            haveFmt = true;
        } else if (id == "data") {
            for (uint32_t i = 0; i + 1 < len; i += 2) w.samples.push_back((int16_t)le16(b, at + 8 + i));
            haveData = true;
        }
        at += 8 + len + (len & 1);
    }
    w.ok = haveFmt && haveData;
    return w;
}

// File name of a sound slot, by the loader's rule (three digits, then an
// optional "_" and three-digit variant).
std::string sfxName(int slot, int variant) {
    char n[32];
    if (variant > 0) std::snprintf(n, sizeof n, "sfx/%03d_%03d.wav", slot, variant);
    else std::snprintf(n, sizeof n, "sfx/%03d.wav", slot);
    return n;
}

std::vector<std::string> loaderSounds() {
    std::vector<std::string> names;
    for (int slot : {1, 95, 98, 99, 2, 13}) names.push_back(sfxName(slot, 0));
    for (int slot = 3; slot <= 12; ++slot) names.push_back(sfxName(slot, 0));
    for (int slot = 14; slot <= 22; ++slot) names.push_back(sfxName(slot, 0));
    // Variants with their own pass, bounce and SUPER sounds.
    for (int variant : {2, 3, 5, 8})
        for (int slot = 2; slot <= 4; ++slot) names.push_back(sfxName(slot, variant));
    return names;
}

TEST(AssetSounds, LoaderFileNamesFollowTheSlotRule) {
    EXPECT_EQ(sfxName(7, 0), "sfx/007.wav");
    EXPECT_EQ(sfxName(13, 0), "sfx/013.wav");
    EXPECT_EQ(sfxName(3, 5), "sfx/003_005.wav");
    EXPECT_EQ(loaderSounds().size(), 37u);
}

TEST(AssetSounds, EverySoundIsSixteenBitMonoPcm) {
    for (const std::string& name : loaderSounds()) {
        SCOPED_TRACE(name);
        Wav w = readWav(dataPath(name));
        ASSERT_TRUE(w.ok) << "missing or malformed";
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_TRUE(w.rate == 44100 || w.rate == 22050) << w.rate;
        EXPECT_FALSE(w.samples.empty());
    }
}

TEST(AssetSounds, SoundsAreShortClickFreeAndBelowFullScale) {
    for (const std::string& name : loaderSounds()) {
        SCOPED_TRACE(name);
        Wav w = readWav(dataPath(name));
        ASSERT_TRUE(w.ok);
        double seconds = (double)w.samples.size() / w.rate;
        EXPECT_GT(seconds, 0.02);
        EXPECT_LT(seconds, 1.5);
        // Starts and ends on silence, so playback never clicks.
        EXPECT_LT(std::abs(w.samples.front()), 200);
        EXPECT_LT(std::abs(w.samples.back()), 200);
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs((int)s));
        EXPECT_LT(peak, 32000) << "clips";
        EXPECT_GT(peak, 8000) << "too quiet to hear over the others";
    }
}

TEST(AssetSounds, EachEventHasItsOwnSound) {
    // Two slots holding the same bytes would make two events sound alike.
    std::vector<std::vector<unsigned char>> seen;
    for (const std::string& name : loaderSounds()) {
        auto bytes = readFile(dataPath(name));
        for (const auto& other : seen) EXPECT_NE(bytes, other) << name << " duplicates another sound";
        seen.push_back(bytes);
    }
}

}  // namespace

// ---- pixel checks (decoded with a private copy of stb_image) ----
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace {

struct Pixels {
    int w = 0, h = 0;
    std::vector<unsigned char> rgba;
    const unsigned char* at(int x, int y) const { return &rgba[(size_t)(y * w + x) * 4]; }
};

Pixels decode(const std::string& rel) {
    Pixels p;
    int n = 0;
    unsigned char* d = stbi_load(dataPath(rel).c_str(), &p.w, &p.h, &n, 4);
    if (d) {
        p.rgba.assign(d, d + (size_t)p.w * p.h * 4);
        stbi_image_free(d);
    }
    return p;
}

struct Region {
    int opaque = 0, edgeInk = 0;
    double r = 0, g = 0, b = 0;  // mean colour of the clearly visible pixels
};

Region scan(const Pixels& p, int x0, int y0, int w, int h) {
    Region s;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const unsigned char* c = p.at(x, y);
            if (c[3] < 128) continue;
            ++s.opaque;
            s.r += c[0], s.g += c[1], s.b += c[2];
            if (x == x0 || y == y0 || x == x0 + w - 1 || y == y0 + h - 1) ++s.edgeInk;
        }
    if (s.opaque) s.r /= s.opaque, s.g /= s.opaque, s.b /= s.opaque;
    return s;
}

std::string worldName(int v, int scale) {
    char n[32];
    std::snprintf(n, sizeof n, "world%03d%s.png", v, suffix(scale));
    return n;
}

TEST(AssetPixels, WorldSpritesAreDrawnAndKeepAClearBorder) {
    for (int v = 1; v <= 9; ++v)
        for (int scale : {1, 2, 4}) {
            Pixels p = decode(worldName(v, scale));
            ASSERT_EQ(p.w, 320 * scale) << worldName(v, scale);
            int f = 32 * scale;
            // Character 0..9 and spikes 10..18 must show something, and stay off
            // the frame edge so rotated drawing never picks up a neighbour.
            for (int frame = 0; frame <= 18; ++frame) {
                Region r = scan(p, (frame % 10) * f, (frame / 10) * f, f, f);
                EXPECT_GT(r.opaque, f * f / 8) << worldName(v, scale) << " frame " << frame;
                EXPECT_EQ(r.edgeInk, 0) << worldName(v, scale) << " frame " << frame;
            }
        }
}

TEST(AssetPixels, SpikesCarryTheirKindColours) {
    // Mean colour of each spike frame must be nearest to its own kind's colour
    // (the lake world, variant 2, uses the light shades).
    const double base[9][3] = {{255, 80, 80},   {255, 180, 80}, {255, 255, 80}, {80, 255, 80},  {80, 255, 255},
                               {130, 130, 255}, {180, 80, 255}, {255, 80, 180}, {255, 255, 255}};
    const double light[9][3] = {{255, 140, 140}, {255, 210, 140}, {255, 255, 140}, {140, 255, 140}, {140, 255, 255},
                                {180, 180, 255}, {210, 140, 255}, {255, 140, 210}, {255, 255, 255}};
    for (int v = 1; v <= 9; ++v) {
        const auto& kind = v == 2 ? light : base;
        Pixels p = decode(worldName(v, 2));
        for (int k = 1; k <= 9; ++k) {
            int frame = 9 + k;
            Region r = scan(p, (frame % 10) * 64, (frame / 10) * 64, 64, 64);
            int best = 0;
            double bestD = 1e18;
            for (int j = 0; j < 9; ++j) {
                // Compare chromaticity so outlines and shading do not decide.
                double s = r.r + r.g + r.b + 1, t = kind[j][0] + kind[j][1] + kind[j][2];
                double d = 0;
                d += std::pow(r.r / s - kind[j][0] / t, 2);
                d += std::pow(r.g / s - kind[j][1] / t, 2);
                d += std::pow(r.b / s - kind[j][2] / t, 2);
                if (d < bestD) bestD = d, best = j + 1;
            }
            EXPECT_EQ(best, k) << worldName(v, 2) << " spike kind " << k;
        }
    }
}

TEST(AssetPixels, GroundAndSkyStripsAreOpaqueAndTileAcrossTheEdge) {
    for (int v = 1; v <= 9; ++v) {
        Pixels p = decode(worldName(v, 2));
        for (int strip = 4; strip <= 7; ++strip) {
            int y0 = strip * 32;
            Region r = scan(p, 0, y0, p.w, 32);
            EXPECT_EQ(r.opaque, p.w * 32) << worldName(v, 2) << " strip " << strip;
            // The last column must continue into the first: their difference is
            // no sharper than the sharpest step between two columns inside.
            auto step = [&](int xa, int xb) {
                double d = 0;
                for (int y = y0; y < y0 + 32; ++y)
                    for (int c = 0; c < 3; ++c) d += std::abs(p.at(xa, y)[c] - p.at(xb, y)[c]);
                return d;
            };
            double sharpest = 0;
            for (int x = 1; x < p.w; ++x) sharpest = std::max(sharpest, step(x - 1, x));
            EXPECT_LE(step(p.w - 1, 0), sharpest) << worldName(v, 2) << " strip " << strip;
        }
    }
}

TEST(AssetPixels, TintedSpritesAreDrawnLight) {
    // The game multiplies particles and icons by a colour; dark art would turn black.
    Pixels parts = decode("parts-hd.png");
    for (int frame = 1; frame <= 3; ++frame) {
        Region r = scan(parts, (frame % 4) * 16, (frame / 4) * 16, 16, 16);
        EXPECT_GT(r.opaque, 0) << "particle " << frame;
        EXPECT_GT((r.r + r.g + r.b) / 3, 170) << "particle " << frame;
    }
    Pixels icons = decode("common/icons-hd.png");
    for (int frame : {0, 1, 3, 4, 5, 6}) {
        Region r = scan(icons, (frame % 4) * 64, (frame / 4) * 64, 64, 64);
        EXPECT_GT((r.r + r.g + r.b) / 3, 140) << "icon " << frame;
    }
}

TEST(AssetPixels, FontCellsHoldGlyphsWithinTheirAdvance) {
    for (int scale : {1, 2}) {
        Pixels p = decode(std::string("fonts/editundo") + suffix(scale) + ".png");
        int cell = 16 * scale;
        for (int ch = 33; ch <= 126; ++ch) {
            int k = ch - 32, x0 = (k % 16) * cell, y0 = (k / 16) * cell;
            Region r = scan(p, x0, y0, cell, cell);
            EXPECT_GT(r.opaque, 0) << "char " << ch;
            // Bright ink lies inside the 7-unit advance centred on the cell.
            for (int y = y0; y < y0 + cell; ++y)
                for (int x = x0; x < x0 + cell; ++x) {
                    const unsigned char* c = p.at(x, y);
                    bool ink = c[3] > 200 && c[0] > 200;
                    int ux = (x - x0) / scale;
                    if (ink) {
                        EXPECT_TRUE(ux >= 5 && ux <= 11) << "char " << ch << " at unit column " << ux;
                    }
                }
        }
    }
    Pixels v = decode("velk_font.png");
    int cell = v.w / 96;
    for (int k = 0; k < 96; ++k) {
        // The spacer columns either side of each cell stay empty.
        for (int y = 0; y < v.h; ++y) {
            EXPECT_EQ(v.at(k * cell, y)[3], 0) << "cell " << k;
            EXPECT_EQ(v.at(k * cell + cell - 1, y)[3], 0) << "cell " << k;
        }
        if (k >= 1 && k <= 94) {
            EXPECT_GT(scan(v, k * cell, 0, cell, v.h).opaque, 0) << "cell " << k;
        }
    }
}

}  // namespace
