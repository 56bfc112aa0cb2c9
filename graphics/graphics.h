// The renderer over OpenGL: projection, batching and flushing of primitives.
#pragma once

#include "runtime/object.h"

class gxtkGraphics : public gxtkObject {
 public:
  int mode = 0;  // 1 between BeginRender and EndRender
  int windowWidth = 0, windowHeight = 0;

  gxtkGraphics();
  virtual int Mode() { return mode; }
  virtual int Width() { return windowWidth; }
  virtual int Height() { return windowHeight; }

  // Reads the window size; valid when both sides are positive.
  bool Validate();
  int BeginRender();
  // Flushes the pending batch and swaps buffers.
  void EndRender();
};
