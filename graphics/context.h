// The graphics context: the framework's drawing state and the bb_graphics_ module.
#pragma once

#include "graphics/graphics.h"

class bb_graphics_GraphicsContext : public Object {
 public:
  void mark() override {}
};

class bb_graphics_Image : public Object {
 public:
  static int g_DefaultFlags;
};

extern gxtkGraphics* bb_graphics_device;
extern bb_graphics_GraphicsContext* bb_graphics_context;
extern bb_graphics_GraphicsContext* bb_graphics_renderDevice;

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device);
int bb_graphics_SetFont(bb_graphics_Image* font, int firstChar);
int bb_graphics_BeginRender();
int bb_graphics_EndRender();
