// The graphics context: module globals, frame reset, state and the matrix.
#include "graphics/context.h"

#include <cmath>
#include <cstring>

gxtkGraphics* bb_graphics_device = nullptr;
gxtkGraphics* bb_graphics_renderDevice = nullptr;
bb_graphics_GraphicsContext* bb_graphics_context = nullptr;
const float D2R = static_cast<float>(3.14159265358979323846 / 180.0);

namespace {

const float kIdentity[6] = {1, 0, 0, 1, 0, 0};

bool is_identity(const float m[6]) {
  return m[0] == 1 && m[1] == 0 && m[2] == 0 && m[3] == 1 && m[4] == 0 && m[5] == 0;
}

// Truncation toward zero that saturates instead of overflowing.
int trunc_to_int(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0f) return 2147483647;
  if (v <= -2147483648.0f) return -2147483647 - 1;
  return static_cast<int>(v);
}

}  // namespace

// ---------------------------------------------------------------------------
// The context object

bb_graphics_GraphicsContext::bb_graphics_GraphicsContext() {
  gc_assign(m_matrixStack, Array<float>(kStackMatrices * 6));
}

void bb_graphics_GraphicsContext::mark() {
  gc_mark_q(m_defaultFont);
  gc_mark_q(m_font);
  gc_mark_q(m_matrixStack);
}

void bb_graphics_GraphicsContext::SendMatrix() {
  if (!bb_graphics_renderDevice) return;
  const float* m = m_matrix;
  bb_graphics_renderDevice->SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
  m_matrixDirty = 0;
}

void bb_graphics_GraphicsContext::SetMatrix(const float m[6]) {
  std::memcpy(m_matrix, m, sizeof m_matrix);
  m_transformed = is_identity(m_matrix) ? 0 : 1;
  m_matrixDirty = 1;
}

// ---------------------------------------------------------------------------
// Devices and the frame

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device) {
  gc_assign(bb_graphics_device, device);
  return 0;
}

int bb_graphics_BeginRender() {
  if (!bb_graphics_device || !bb_graphics_device->Mode()) return 0;
  gc_assign(bb_graphics_renderDevice, bb_graphics_device);
  bb_graphics_GraphicsContext* ctx = bb_graphics_context;
  ctx->m_stackTop = 0;
  ctx->SetMatrix(kIdentity);
  bb_graphics_SetColor(255, 255, 255);
  bb_graphics_SetAlpha(1);
  bb_graphics_SetBlend(0);
  bb_graphics_SetScissor(0, 0, static_cast<float>(bb_graphics_device->Width()),
                         static_cast<float>(bb_graphics_device->Height()));
  return 0;
}

int bb_graphics_EndRender() {
  bb_graphics_renderDevice = nullptr;
  return 0;
}

int bb_graphics_DeviceWidth() { return bb_graphics_device ? bb_graphics_device->Width() : 0; }
int bb_graphics_DeviceHeight() { return bb_graphics_device ? bb_graphics_device->Height() : 0; }

// ---------------------------------------------------------------------------
// Colour, alpha, blend, scissor

int bb_graphics_SetColor(float r, float g, float b) {
  bb_graphics_GraphicsContext* ctx = bb_graphics_context;
  ctx->m_red = r;
  ctx->m_green = g;
  ctx->m_blue = b;
  if (bb_graphics_renderDevice) bb_graphics_renderDevice->SetColor(r, g, b);
  return 0;
}

int bb_graphics_SetAlpha(float alpha) {
  bb_graphics_context->m_alpha = alpha;
  if (bb_graphics_renderDevice) bb_graphics_renderDevice->SetAlpha(alpha);
  return 0;
}

int bb_graphics_SetBlend(int blend) {
  bb_graphics_context->m_blend = blend;
  if (bb_graphics_renderDevice) bb_graphics_renderDevice->SetBlend(blend);
  return 0;
}

int bb_graphics_SetScissor(float x, float y, float w, float h) {
  float* s = bb_graphics_context->m_scissor;
  s[0] = x;
  s[1] = y;
  s[2] = w;
  s[3] = h;
  if (bb_graphics_renderDevice)
    bb_graphics_renderDevice->SetScissor(trunc_to_int(x), trunc_to_int(y), trunc_to_int(w), trunc_to_int(h));
  return 0;
}

// ---------------------------------------------------------------------------
// The matrix

int bb_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty) {
  const float m[6] = {a, b, c, d, tx, ty};
  bb_graphics_context->SetMatrix(m);
  return 0;
}

int bb_graphics_SetMatrix2(Array<float> m) { return bb_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]); }

// The given transform applies to points first, the current one after it.
int bb_graphics_Transform(float a2, float b2, float c2, float d2, float tx2, float ty2) {
  float r[6];
  std::memcpy(r, bb_graphics_context->m_matrix, sizeof r);
  bb_graphics_Compose(r, a2, b2, c2, d2, tx2, ty2);
  bb_graphics_context->SetMatrix(r);
  return 0;
}

int bb_graphics_Transform2(Array<float> m) { return bb_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]); }

int bb_graphics_Translate(float x, float y) { return bb_graphics_Transform(1, 0, 0, 1, x, y); }

int bb_graphics_Scale(float sx, float sy) { return bb_graphics_Transform(sx, 0, 0, sy, 0, 0); }

// Most images are drawn unrotated: the sine of a zero angle is that zero
// itself (of either sign) and its cosine 1, exactly what the library gives.
void bb_graphics_RotationSinCos(float degrees, float* s, float* c) {
  float r = degrees * D2R;
  if (r == 0) {
    *s = r;
    *c = 1;
    return;
  }
  *s = static_cast<float>(std::sin(static_cast<double>(r)));
  *c = static_cast<float>(std::cos(static_cast<double>(r)));
}

// With y pointing down, a positive angle turns the drawing counter-clockwise.
int bb_graphics_Rotate(float degrees) {
  float s, c;
  bb_graphics_RotationSinCos(degrees, &s, &c);
  return bb_graphics_Transform(c, -s, s, c, 0, 0);
}

int bb_graphics_PushMatrix() {
  bb_graphics_GraphicsContext* ctx = bb_graphics_context;
  if (ctx->m_stackTop + 6 > ctx->m_matrixStack.Length()) return 0;
  std::memcpy(&ctx->m_matrixStack[ctx->m_stackTop], ctx->m_matrix, sizeof ctx->m_matrix);
  ctx->m_stackTop += 6;
  return 0;
}

int bb_graphics_PopMatrix() {
  bb_graphics_GraphicsContext* ctx = bb_graphics_context;
  if (ctx->m_stackTop < 6) return 0;
  ctx->m_stackTop -= 6;
  ctx->SetMatrix(&ctx->m_matrixStack[ctx->m_stackTop]);
  return 0;
}
