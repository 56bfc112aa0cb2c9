// Graphics context module functions.
#include "graphics/context.h"

int bb_graphics_Image::g_DefaultFlags = 0;
gxtkGraphics* bb_graphics_device = nullptr;
bb_graphics_GraphicsContext* bb_graphics_context = nullptr;
bb_graphics_GraphicsContext* bb_graphics_renderDevice = nullptr;

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device) {
  gc_assign(bb_graphics_device, device);
  return 0;
}

int bb_graphics_SetFont(bb_graphics_Image*, int) { return 0; }

int bb_graphics_BeginRender() {
  gc_assign(bb_graphics_renderDevice, bb_graphics_context);
  return 0;
}

int bb_graphics_EndRender() {
  bb_graphics_renderDevice = nullptr;
  return 0;
}
