// Interface sheets: buttons, icons, logos, hearts, particles and the menu art.
#pragma once
#include <cairo.h>
#include <string>

#include "canvas.h"

// Play mode names, as printed on the menu buttons (index = play mode - 1).
extern const char* const kModeNames[10];

void paintHeart(cairo_t* cr, int frame);
void paintMenuButton(cairo_t* cr, int frame);
void paintIcade(cairo_t* cr, int frame);
void paintStudioLogo(cairo_t* cr, int frame);
void paintDpad(cairo_t* cr, int frame);
void paintParticle(cairo_t* cr, int frame);
void paintIcon(cairo_t* cr, int frame);
void paintTitleLogo(cairo_t* cr, int frame);
void paintMenuArt(cairo_t* cr, int frame);
void paintBadge(cairo_t* cr, int frame);

// Paints pixel text filled with a vertical gradient from top to bottom colour.
void drawTextGradient(cairo_t* cr, double cx, double cy, const std::string& s, double px, Rgb top, Rgb bottom,
                      double outline, int depth);
