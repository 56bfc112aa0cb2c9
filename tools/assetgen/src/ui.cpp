#include "ui.h"

#include <cmath>

#include "pixelfont.h"
#include "world.h"

const char* const kModeNames[10] = {"Vaultwick", "Hardcore", "Moonlake", "Runner", "Sky High",
                                    "Retro",     "Super\nVaultwick", "Carnival", "Shields", "Smash!"};

void drawTextGradient(cairo_t* cr, double cx, double cy, const std::string& s, double px, Rgb top, Rgb bottom,
                      double outline, int depth) {
    double w = textWidth(s) * px, x = cx - w / 2, y = cy - kCapH * px / 2;
    // Extruded dark layers give the letters depth.
    for (int d = depth; d >= 1; --d) drawText(cr, x + d * px * 0.5, y + d * px * 0.5, s, px, kInk, outline);
    drawText(cr, x, y, s, px, kInk, outline);
    cairo_push_group(cr);
    drawText(cr, x, y, s, px, {1, 1, 1});
    cairo_pattern_t* mask = cairo_pop_group(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + kCapH * px);
    cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, g);
    cairo_mask(cr, mask);
    cairo_pattern_destroy(g);
    cairo_pattern_destroy(mask);
    // A one-pixel shine on the top row of every letter.
    cairo_push_group(cr);
    drawText(cr, x, y, s, px, {1, 1, 1});
    cairo_pattern_t* m2 = cairo_pop_group(cr);
    cairo_save(cr);
    cairo_rectangle(cr, x - px, y, w + 2 * px, px);
    cairo_clip(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
    cairo_mask(cr, m2);
    cairo_restore(cr);
    cairo_pattern_destroy(m2);
}

void paintHeart(cairo_t* cr, int) {
    heartPath(cr, 16, 17, 27);
    fillShaded(cr, hex(0xFF3B5C), 1.6);
    cairo_save(cr);
    cairo_translate(cr, 10.5, 11);
    cairo_rotate(cr, -0.6);
    cairo_scale(cr, 3.2, 1.8);
    circlePath(cr, 0, 0, 1);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill(cr);
}

// One button per play mode; frames 10..19 are the same modes in a dimmed,
// padlocked style for modes that are not yet on offer.
void paintMenuButton(cairo_t* cr, int frame) {
    int mode = frame % 10 + 1;
    bool dim = frame >= 10;
    int variant = mode <= 2 ? 1 : mode - 1;
    const Theme& t = themeFor(variant);
    static const unsigned hue[10] = {0xFF8A3D, 0xE0443A, 0x3D7BFF, 0xF2A33A, 0x4AB8F0,
                                     0xB44FFF, 0x5C7A9A, 0xFF5FA8, 0x7A5CFF, 0xD8322A};
    Rgb c = dim ? hex(0x8A8A96) : hex(hue[mode - 1]);
    roundRect(cr, 2, 2.5, 76, 28, 7);
    fillShaded(cr, c, 1.6);
    roundRect(cr, 5, 5, 70, 9, 4.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
    cairo_fill(cr);
    // The world's character peeks from the left end.
    cairo_save(cr);
    roundRect(cr, 2, 2.5, 76, 28, 7);
    cairo_clip(cr);
    if (!dim) paintCharacter(cr, t, 3, 11, 29, 18);
    cairo_restore(cr);
    std::string name = kModeNames[mode - 1];
    Rgb ink = dim ? hex(0xD8D8E0) : hex(0xFFFFFF);
    size_t nl = name.find('\n');
    if (nl == std::string::npos) {
        drawTextCentred(cr, 46, 16, name, 1, ink, 1, darker(c, 0.6));
    } else {
        drawTextCentred(cr, 46, 11, name.substr(0, nl), 1, ink, 1, darker(c, 0.6));
        drawTextCentred(cr, 46, 21.5, name.substr(nl + 1), 1, ink, 1, darker(c, 0.6));
    }
    if (dim) {
        roundRect(cr, 6.5, 14, 10, 9, 1.5);
        fillInk(cr, hex(0xFFD23F), 1);
        cairo_arc(cr, 11.5, 14, 3.2, M_PI, 2 * M_PI);
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
}

void paintIcade(cairo_t* cr, int frame) {
    bool on = frame == 1;
    Rgb body = on ? hex(0xE8453C) : hex(0x7A7A86);
    // Cabinet seen from the front, with its control deck.
    cairo_move_to(cr, 16, 6);
    cairo_line_to(cr, 48, 6);
    cairo_line_to(cr, 50, 40);
    cairo_line_to(cr, 56, 46);
    cairo_line_to(cr, 56, 60);
    cairo_line_to(cr, 8, 60);
    cairo_line_to(cr, 8, 46);
    cairo_line_to(cr, 14, 40);
    cairo_close_path(cr);
    fillShaded(cr, body, 1.8);
    roundRect(cr, 18, 12, 28, 22, 3);
    fillInk(cr, on ? hex(0x2AD0FF) : hex(0x30343C), 1.4);
    if (on) {
        glow(cr, 32, 23, 14, hex(0xBFF4FF), 0.6);
        drawTextCentred(cr, 32, 23, "ON", 1.4, hex(0xFFFFFF));
    }
    cairo_rectangle(cr, 10, 44, 44, 6);
    fillInk(cr, darker(body, 0.3), 1.2);
    cairo_move_to(cr, 20, 47);
    cairo_line_to(cr, 20, 40);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    circlePath(cr, 20, 39, 3);
    fillInk(cr, on ? hex(0xFFE14A) : hex(0xB0B0B0), 1.2);
    for (int i = 0; i < 3; ++i) {
        circlePath(cr, 34 + i * 6, 47, 2);
        fillInk(cr, on ? spikeColour(i * 2 + 1, false) : hex(0xB0B0B0), 1);
    }
}

void paintStudioLogo(cairo_t* cr, int) {
    double cx = 128, cy = 104;
    glow(cr, cx, cy, 90, hex(0xFFF1C0), 0.55);
    // An orbit ring crossed by a comet: the studio's Q.
    circlePath(cr, cx, cy, 58);
    circlePath(cr, cx, cy, 40);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    fillShaded(cr, hex(0x6A3CFF), 3);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_move_to(cr, cx + 18, cy + 18);
    cairo_line_to(cr, cx + 66, cy + 62);
    cairo_line_to(cr, cx + 52, cy + 72);
    cairo_line_to(cr, cx + 8, cy + 30);
    cairo_close_path(cr);
    fillShaded(cr, hex(0xFF8A3D), 3);
    circlePath(cr, cx, cy, 22);
    fillBall(cr, cx, cy, 22, hex(0xFFD23F), 3);
    starPath(cr, cx - 34, cy - 44, 4, 10, 3, 0);
    fillInk(cr, hex(0xFFFFFF), 2);
    drawTextGradient(cr, cx, 198, "QORV", 7, hex(0xFFFFFF), hex(0xC7B8FF), 1, 2);
    drawTextCentred(cr, cx, 238, "GAMES", 3, hex(0xFFFFFF), 1, kInk);
}

void paintDpad(cairo_t* cr, int frame) {
    auto arrowPad = [&](double rotDeg) {
        roundRect(cr, 3, 3, 26, 26, 6);
        fillShaded(cr, hex(0xC8CCD8), 1.6);
        cairo_save(cr);
        cairo_translate(cr, 16, 16);
        cairo_rotate(cr, rotDeg * M_PI / 180);
        cairo_move_to(cr, 0, -8);
        cairo_line_to(cr, 7, 3);
        cairo_line_to(cr, -7, 3);
        cairo_close_path(cr);
        cairo_restore(cr);
        fillInk(cr, hex(0x3A3F4E), 0);
    };
    switch (frame) {
    case 0:  // the round action button
        circlePath(cr, 16, 17, 13.5);
        fillInk(cr, hex(0x5A1010), 0);
        circlePath(cr, 16, 15, 13);
        fillBall(cr, 16, 15, 13, hex(0xFF3B3B), 1.6);
        drawTextCentred(cr, 16, 15, "FIRE", 1, hex(0xFFFFFF), 1, hex(0x7A1010));
        break;
    case 1: arrowPad(0); break;
    case 4: arrowPad(-90); break;
    case 6: arrowPad(90); break;
    case 9: arrowPad(180); break;
    case 5:
        roundRect(cr, 3, 3, 26, 26, 6);
        fillShaded(cr, hex(0xB0B4C2), 1.6);
        circlePath(cr, 16, 16, 5);
        fillInk(cr, hex(0x8A8E9C), 1);
        break;
    case 2: case 3:
        circlePath(cr, 16, 16, 11);
        fillBall(cr, 16, 16, 11, frame == 2 ? hex(0x3BD16A) : hex(0x3B8BFF), 1.6);
        drawTextCentred(cr, 16, 16, frame == 2 ? "A" : "B", 1.6, hex(0xFFFFFF), 1, kInk);
        break;
    case 12:  // stick base and knob for the on-screen stick
        circlePath(cr, 16, 16, 14);
        fillShaded(cr, hex(0x5A5E6C), 1.6, 0.8);
        break;
    case 13:
        circlePath(cr, 16, 16, 9);
        fillBall(cr, 16, 16, 9, hex(0xD8DCE8), 1.6);
        break;
    default:
        break;
    }
}

void paintParticle(cairo_t* cr, int frame) {
    // Light shapes: the game tints them with the colour of the smashed spike.
    Rgb w = hex(0xFFFFFF), g = hex(0xC8C8C8);
    switch (frame % 4) {
    case 0: circlePath(cr, 4, 4, 2.2); break;
    case 1: starPath(cr, 4, 4, 4, 3.8, 1.2, frame * 11.0); break;
    case 2:
        cairo_move_to(cr, 1, 6.5);
        cairo_line_to(cr, 4.5, 0.8);
        cairo_line_to(cr, 7, 5.5);
        cairo_close_path(cr);
        break;
    default: circlePath(cr, 4, 4, 3.2); break;
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 8);
    cairo_pattern_add_color_stop_rgb(p, 0, w.r, w.g, w.b);
    cairo_pattern_add_color_stop_rgb(p, 1, g.r, g.g, g.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.55, 0.55, 0.6, 0.9);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
    if (frame % 4 == 3) {
        circlePath(cr, 3.2, 3.2, 1);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill(cr);
    }
}

static void speaker(cairo_t* cr) {
    cairo_move_to(cr, 8, 13);
    cairo_line_to(cr, 12, 13);
    cairo_line_to(cr, 17, 8.5);
    cairo_line_to(cr, 17, 23.5);
    cairo_line_to(cr, 12, 19);
    cairo_line_to(cr, 8, 19);
    cairo_close_path(cr);
    setRgb(cr, kInk);
    cairo_fill(cr);
}

static void note(cairo_t* cr, double x, double y, double s) {
    circlePath(cr, x, y, 2.6 * s);
    cairo_fill(cr);
    cairo_rectangle(cr, x + 1.6 * s, y - 10 * s, 1.4 * s, 10 * s);
    cairo_fill(cr);
    cairo_move_to(cr, x + 3 * s, y - 10 * s);
    cairo_line_to(cr, x + 7 * s, y - 7 * s);
    cairo_line_to(cr, x + 3 * s, y - 6.5 * s);
    cairo_fill(cr);
}

// A four-pointed spark: the mark of sound effects.
static void spark(cairo_t* cr, double x, double y, double r) {
    starPath(cr, x, y, 4, r, r * 0.38, 0);
    cairo_fill(cr);
}

// Badges beside the sound button for its states with music: frame 8 effects
// and music (a note and a spark), 9 effects only (the spark), 10 music only
// (the note). Smaller than the other icons, they sit over the button's edge.
static void soundState(cairo_t* cr, int frame) {
    circlePath(cr, 16, 16, 11);
    fillShaded(cr, hex(0xF4F4F4), 1.5);
    setRgb(cr, kInk);
    if (frame == 8) {
        note(cr, 12.5, 21, 0.95);
        spark(cr, 21.5, 11.5, 4.3);
    } else if (frame == 9) {
        spark(cr, 16, 16, 7.5);
    } else {
        note(cr, 14.2, 21.5, 1.15);
    }
}

// The options button's gear: eight square teeth round a ring with a hole.
static void gear(cairo_t* cr) {
    const int teeth = 8;
    const double outer = 9.5, inner = 7, half = M_PI / teeth * 0.5;
    for (int i = 0; i < teeth; ++i) {
        double a = i * 2 * M_PI / teeth;
        cairo_move_to(cr, 16 + inner * std::cos(a - half * 1.3), 16 + inner * std::sin(a - half * 1.3));
        cairo_line_to(cr, 16 + outer * std::cos(a - half), 16 + outer * std::sin(a - half));
        cairo_line_to(cr, 16 + outer * std::cos(a + half), 16 + outer * std::sin(a + half));
        cairo_line_to(cr, 16 + inner * std::cos(a + half * 1.3), 16 + inner * std::sin(a + half * 1.3));
        cairo_close_path(cr);
    }
    setRgb(cr, kInk);
    cairo_fill(cr);
    circlePath(cr, 16, 16, 7.2);
    circlePath(cr, 16, 16, 3);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

// Icons are white discs with dark symbols: the game tints the disc.
void paintIcon(cairo_t* cr, int frame) {
    auto disc = [&] {
        circlePath(cr, 16, 16, 13.5);
        fillShaded(cr, hex(0xF4F4F4), 1.8);
    };
    setRgb(cr, kInk);
    switch (frame) {
    case 0:
        disc();
        setRgb(cr, kInk);
        cairo_rectangle(cr, 10.5, 9, 4, 14);
        cairo_rectangle(cr, 17.5, 9, 4, 14);
        cairo_fill(cr);
        break;
    case 1:
        disc();
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 3.5);
        cairo_move_to(cr, 10.5, 10.5);
        cairo_line_to(cr, 21.5, 21.5);
        cairo_move_to(cr, 21.5, 10.5);
        cairo_line_to(cr, 10.5, 21.5);
        cairo_stroke(cr);
        break;
    case 2:
        disc();
        setRgb(cr, kInk);
        cairo_move_to(cr, 9, 16);
        cairo_line_to(cr, 16, 9);
        cairo_line_to(cr, 23, 16);
        cairo_line_to(cr, 20.5, 16);
        cairo_line_to(cr, 20.5, 23);
        cairo_line_to(cr, 11.5, 23);
        cairo_line_to(cr, 11.5, 16);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case 3:
        disc();
        setRgb(cr, kInk);
        cairo_move_to(cr, 12, 8.5);
        cairo_line_to(cr, 23.5, 16);
        cairo_line_to(cr, 12, 23.5);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case 4: case 5:
        disc();
        speaker(cr);
        cairo_set_line_width(cr, 1.8);
        if (frame == 4) {
            cairo_arc(cr, 17, 16, 4, -0.9, 0.9);
            cairo_stroke(cr);
            cairo_arc(cr, 17, 16, 7.5, -0.9, 0.9);
            cairo_stroke(cr);
        } else {
            cairo_move_to(cr, 19.5, 12.5);
            cairo_line_to(cr, 25.5, 19.5);
            cairo_move_to(cr, 25.5, 12.5);
            cairo_line_to(cr, 19.5, 19.5);
            cairo_stroke(cr);
        }
        break;
    case 6:  // focus ring
        circlePath(cr, 16, 16, 14.5);
        circlePath(cr, 16, 16, 11.5);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        fillInk(cr, hex(0xFFFFFF), 0.7);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        break;
    case 7:  // tilt: a tilted phone between two arrows
        disc();
        cairo_save(cr);
        cairo_translate(cr, 16, 16);
        cairo_rotate(cr, 0.35);
        roundRect(cr, -4.5, -8, 9, 16, 1.8);
        cairo_restore(cr);
        setRgb(cr, kInk);
        cairo_fill(cr);
        cairo_set_line_width(cr, 1.5);
        cairo_arc(cr, 16, 16, 10, M_PI * 0.8, M_PI * 1.2);
        cairo_stroke(cr);
        cairo_arc(cr, 16, 16, 10, -M_PI * 0.2, M_PI * 0.2);
        cairo_stroke(cr);
        break;
    case 8: case 9: case 10:
        soundState(cr, frame);
        break;
    case 11:
        disc();
        starPath(cr, 16, 16.5, 5, 9, 4, 0);
        setRgb(cr, kInk);
        cairo_fill(cr);
        break;
    case 12:
        disc();
        heartPath(cr, 16, 16.5, 16);
        setRgb(cr, kInk);
        cairo_fill(cr);
        break;
    case 13:  // options
        disc();
        gear(cr);
        break;
    default:
        break;
    }
}

void paintTitleLogo(cairo_t* cr, int) {
    // Elliptical glow that fades out before the image edges.
    cairo_save(cr);
    cairo_translate(cr, 128, 62);
    cairo_scale(cr, 2, 1);
    glow(cr, 0, 0, 60, hex(0xFFB347), 0.3);
    cairo_restore(cr);
    // The hero vaults over the title's first spike.
    drawTextGradient(cr, 128, 60, "VAULTWICK", 4, hex(0xFFE45C), hex(0xFF6A2A), 1, 5);
    const Theme& t = themeFor(1);
    paintSpike(cr, t, 1, 222, 24);
    paintCharacter(cr, t, 0, 40, 38, 36);
    roundRect(cr, 58, 88, 140, 18, 9);
    fillShaded(cr, hex(0x2A3A8A), 1.5, 0.85);
    drawTextCentred(cr, 128, 97, "HOLD  BOUNCE  VAULT", 1, hex(0xFFFFFF), 1, kInk);
}

void paintMenuArt(cairo_t* cr, int frame) {
    Rng r(frame * 7 + 3);
    switch (frame) {
    case 0: {  // sky with a sunburst, drawn 3x behind everything
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 256);
        cairo_pattern_add_color_stop_rgb(p, 0, 0.05, 0.04, 0.25);
        cairo_pattern_add_color_stop_rgb(p, 0.55, 0.20, 0.12, 0.50);
        cairo_pattern_add_color_stop_rgb(p, 1, 0.95, 0.45, 0.35);
        cairo_rectangle(cr, 0, 0, 256, 256);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        for (int i = 0; i < 16; ++i) {
            double a0 = i * M_PI / 8, a1 = a0 + M_PI / 16;
            cairo_move_to(cr, 128, 150);
            cairo_line_to(cr, 128 + 300 * std::cos(a0), 150 + 300 * std::sin(a0));
            cairo_line_to(cr, 128 + 300 * std::cos(a1), 150 + 300 * std::sin(a1));
            cairo_close_path(cr);
            cairo_set_source_rgba(cr, 1, 0.9, 0.7, 0.06);
            cairo_fill(cr);
        }
        glow(cr, 128, 150, 60, hex(0xFFD27A), 0.35);
        for (int i = 0; i < 70; ++i) {
            circlePath(cr, r.range(0, 256), r.range(0, 120), r.range(0.3, 0.9));
            cairo_set_source_rgba(cr, 1, 1, 1, r.range(0.3, 0.9));
            cairo_fill(cr);
        }
        break;
    }
    case 1: {  // foreground: hills and a spike fence, drawn 3x
        cairo_move_to(cr, 0, 256);
        for (int x = 0; x <= 256; x += 4) cairo_line_to(cr, x, 186 + 8 * std::sin(x / 30.0) + 4 * std::sin(x / 9.0));
        cairo_line_to(cr, 256, 256);
        cairo_close_path(cr);
        fillShaded(cr, hex(0x3A2A6A), 1.2);
        cairo_move_to(cr, 0, 256);
        for (int x = 0; x <= 256; x += 4) cairo_line_to(cr, x, 200 + 6 * std::sin(x / 22.0 + 2));
        cairo_line_to(cr, 256, 256);
        cairo_close_path(cr);
        fillShaded(cr, hex(0x23184A), 1.2);
        for (int i = 0; i < 9; ++i) {
            double x = 24 + i * 26;
            starPath(cr, x, 198 + 6 * std::sin(x / 22.0 + 2), 8, 5.5, 3, 0);
            fillShaded(cr, spikeColour(i + 1, false), 0.8);
        }
        break;
    }
    case 2: {  // middle layer: the hero and floating spikes, drawn 2x
        const Theme& t = themeFor(1);
        // Spots clear of the menu's buttons, coin and score strip.
        const double spots[4][2] = {{62, 18}, {222, 40}, {214, 128}, {196, 200}};
        for (int i = 0; i < 4; ++i) {
            cairo_save(cr);
            cairo_translate(cr, spots[i][0], spots[i][1]);
            cairo_scale(cr, 0.8, 0.8);
            paintSpike(cr, t, (i * 4) % 9 + 1, 0, 0);
            cairo_restore(cr);
        }
        glow(cr, 40, 200, 36, hex(0xFFD27A), 0.35);
        paintCharacter(cr, t, 1, 40, 228, 60);
        break;
    }
    default:  // spare glow disc
        glow(cr, 128, 128, 128, hex(0xFFE2A0), 0.5);
        break;
    }
}
