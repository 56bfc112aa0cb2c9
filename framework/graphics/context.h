// The graphics context: the framework's drawing state (colour, alpha, blend,
// scissor, the 2D matrix and its stack, the font) and the bb_graphics_ module
// through which the game draws. Matrix changes reach the renderer lazily, on
// the next drawing call.
//
// Drawing and state functions act on the renderer only between
// bb_graphics_BeginRender and bb_graphics_EndRender; outside a frame they
// draw nothing.
#pragma once

#include "graphics/graphics.h"
#include "graphics/image.h"

class bb_graphics_GraphicsContext : public Object {
 public:
  static constexpr int kStackMatrices = 32;

  bb_graphics_Image* m_defaultFont = nullptr;
  bb_graphics_Image* m_font = nullptr;
  int m_firstChar = 0;
  int m_stackTop = 0;  // floats in use in m_matrixStack, 6 per saved matrix
  float m_matrix[6] = {1, 0, 0, 1, 0, 0};  // a, b, c, d, tx, ty
  int m_transformed = 0;
  int m_matrixDirty = 0;  // the renderer has not been given m_matrix yet
  float m_red = 0, m_green = 0, m_blue = 0;
  float m_alpha = 0;
  int m_blend = 0;
  float m_scissor[4] = {0, 0, 0, 0};
  Array<float> m_matrixStack;

  bb_graphics_GraphicsContext();
  bb_graphics_GraphicsContext* g_new() { return this; }
  void mark() override;

  // Hands a changed matrix to the renderer. Every drawing call makes it, so
  // the common case (nothing changed) stays inline.
  virtual int m_Validate() final;

  // Replaces the matrix, keeping the derived flags in step.
  void SetMatrix(const float m[6]);

 private:
  void SendMatrix();
};

extern gxtkGraphics* bb_graphics_device;
extern gxtkGraphics* bb_graphics_renderDevice;
extern bb_graphics_GraphicsContext* bb_graphics_context;
extern const float D2R;

inline int bb_graphics_GraphicsContext::m_Validate() {
  if (m_matrixDirty) SendMatrix();
  return 0;
}

// m := m followed by (a2, b2, c2, d2, tx2, ty2) applied to points first: the
// arithmetic of bb_graphics_Transform, shared with the image path so that
// both give the same bits.
inline void bb_graphics_Compose(float m[6], float a2, float b2, float c2, float d2, float tx2, float ty2) {
  const float a = m[0], b = m[1], c = m[2], d = m[3], tx = m[4], ty = m[5];
  m[0] = a2 * a + b2 * c;
  m[1] = a2 * b + b2 * d;
  m[2] = c2 * a + d2 * c;
  m[3] = c2 * b + d2 * d;
  m[4] = a * tx2 + c * ty2 + tx;
  m[5] = b * tx2 + d * ty2 + ty;
}

// The sine and cosine bb_graphics_Rotate turns by.
void bb_graphics_RotationSinCos(float degrees, float* s, float* c);

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device);
int bb_graphics_BeginRender();
int bb_graphics_EndRender();
int bb_graphics_DeviceWidth();
int bb_graphics_DeviceHeight();

int bb_graphics_SetColor(float r, float g, float b);
int bb_graphics_SetAlpha(float alpha);
int bb_graphics_SetBlend(int blend);
int bb_graphics_SetScissor(float x, float y, float w, float h);

int bb_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty);
int bb_graphics_SetMatrix2(Array<float> m);
int bb_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
int bb_graphics_Transform2(Array<float> m);
int bb_graphics_Translate(float x, float y);
int bb_graphics_Scale(float sx, float sy);
int bb_graphics_Rotate(float degrees);
// The stack holds 32 matrices: a push beyond that, or a pop of an empty
// stack, is ignored and leaves the matrix as it was.
int bb_graphics_PushMatrix();
int bb_graphics_PopMatrix();

int bb_graphics_DrawRect(float x, float y, float w, float h);
int bb_graphics_DrawLine(float x1, float y1, float x2, float y2);
int bb_graphics_DrawEllipse(float x, float y, float xr, float yr);
// A frame number outside the image, or a null image, draws nothing.
int bb_graphics_DrawImage(bb_graphics_Image* image, float x, float y, int frame);
int bb_graphics_DrawImage2(bb_graphics_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame);

// Null selects the built-in font "velk_font.png" (first character 32).
int bb_graphics_SetFont(bb_graphics_Image* font, int firstChar);
