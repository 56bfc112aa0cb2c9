// Renderer: window validation and the frame bracket.
#include "graphics/graphics.h"

#include <GL/gl.h>

#include "host/window.h"

gxtkGraphics::gxtkGraphics() {}

bool gxtkGraphics::Validate() {
  wlGetWindowSize(&windowWidth, &windowHeight);
  return windowWidth > 0 && windowHeight > 0;
}

int gxtkGraphics::BeginRender() {
  mode = 1;
  glViewport(0, 0, windowWidth, windowHeight);
  return 0;
}

void gxtkGraphics::EndRender() {
  mode = 0;
  wlSwapBuffers();
}
