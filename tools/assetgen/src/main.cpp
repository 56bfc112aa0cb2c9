// assetgen DATA_DIR [CONTACT_SHEET_PNG] [--scenes DIR]
// Writes every image sheet (at scales 1, 2 and 4), both fonts, every sound
// effect, the music loops and the application icon into DATA_DIR, and optionally the contact sheet.
// Output depends only on this program and its scores (tools/assetgen/music): fixed seeds, no clocks.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "appicon.h"
#include "contact.h"
#include "music.h"
#include "pixelfont.h"
#include "sheets.h"
#include "sounds.h"
#include "ui.h"
#include "world.h"

std::string scaleSuffix(int scale) { return scale == 1 ? "" : scale == 2 ? "-hd" : "-hd2"; }

static std::function<void(cairo_t*)> grid(Grid g, void (*fn)(cairo_t*, int)) {
    return [g, fn](cairo_t* cr) { paintGrid(cr, g, fn); };
}

std::vector<SheetDef> allSheets() {
    std::vector<SheetDef> v;
    for (int w = 1; w <= 9; ++w) {
        char stem[16];
        std::snprintf(stem, sizeof stem, "world%03d", w);
        v.push_back({stem, Grid{32, 32, 50, 10}, [w](cairo_t* cr) { paintWorldSheet(cr, w); }});
    }
    auto add = [&](const char* stem, Grid g, void (*fn)(cairo_t*, int)) { v.push_back({stem, g, grid(g, fn)}); };
    add("heart", {32, 32, 1, 1}, paintHeart);
    add("MenuButtonsA", {80, 32, 20, 4}, paintMenuButton);
    add("BadgesA", {64, 64, 64, 8}, paintBadge);
    v.push_back({"fonts/editundo", Grid{16, 16, 128, 16}, paintGameFont});
    add("common/icade", {64, 64, 2, 2}, paintIcade);
    add("common/QorvLogo", {256, 256, 1, 1}, paintStudioLogo);
    add("common/dpad", {32, 32, 16, 4}, paintDpad);
    add("parts", {8, 8, 16, 4}, paintParticle);
    add("common/icons", {32, 32, 16, 4}, paintIcon);
    add("logo", {256, 128, 1, 1}, paintTitleLogo);
    add("menu", {256, 256, 4, 2}, paintMenuArt);
    return v;
}

static void writeSheet(const std::string& dataDir, const SheetDef& d, int scale) {
    cairo_surface_t* s = newSurface(d.grid.width(), d.grid.height(), scale);
    cairo_t* cr = unitContext(s, scale);
    d.paint(cr);
    cairo_destroy(cr);
    writePng(s, dataDir + "/" + d.stem + scaleSuffix(scale) + ".png");
    cairo_surface_destroy(s);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR [CONTACT_SHEET_PNG] [--scenes DIR]\n", argv[0]);
        return 2;
    }
    try {
        std::string data = argv[1], contact, scenes;
        for (int i = 2; i < argc; ++i) {
            if (!std::strcmp(argv[i], "--scenes") && i + 1 < argc) scenes = argv[++i];
            else contact = argv[i];
        }
        for (const char* sub : {"", "/fonts", "/common", "/sfx", "/music"}) ensureDir(data + sub);
        auto sheets = allSheets();
        for (auto& d : sheets)
            for (int scale : {1, 2, 4}) writeSheet(data, d, scale);
        // The framework's own font exists at one scale only.
        cairo_surface_t* velk = newSurface(kVelkW, kVelkH, 1);
        cairo_t* cr = unitContext(velk, 1);
        paintVelkFont(cr);
        cairo_destroy(cr);
        writePng(velk, data + "/velk_font.png");
        cairo_surface_destroy(velk);
        writeSounds(data);
        writeMusic(data);
        writeAppIcons(data);
        if (!contact.empty()) {
            auto slash = contact.rfind('/');
            if (slash != std::string::npos) ensureDir(contact.substr(0, slash));
            writeContactSheet(data, sheets, contact);
        }
        if (!scenes.empty()) writeScenes(data, scenes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
