// Renderer: state, batch admission and flushing, primitives and the frame bracket.
#include "graphics/graphics.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>

#include "graphics/surface.h"
#include "seam/window.h"

static_assert(sizeof(gxtkGraphics::Vertex) == 20, "OpenGL reads vertices with a 20-byte stride");

namespace {

const int kMaxFanVertices = gxtkGraphics::kMaxVertices;
const int kMinOvalSegments = 12;
const float kTwoPi = 6.2831855f;

// A float to one colour byte, clamped: out of range would wrap into another
// colour or be undefined. NaN gives 0.
unsigned int ColourByte(float value) {
  if (!(value > 0)) return 0;
  if (value >= 255) return 255;
  return static_cast<unsigned int>(value);
}

}  // namespace

gxtkGraphics::gxtkGraphics()
    : renderMode(1),
      windowWidth(0),
      windowHeight(0),
      packedColor(0),
      red(0),
      green(0),
      blue(0),
      alpha(0),
      matrix{1, 0, 0, 1, 0, 0},
      transformed(false),
      vertexBuffer(),
      batchKind(0),
      batchCount(0),
      batchSurface(nullptr),
      batchOpaque(false),
      opaqueDraws(false),
      additive(false),
      fillShortcuts(true),
      blending(true),
      texturing(false),
      scissorOn(false),
      scissorBox{0, 0, 0, 0} {
  for (int q = 0; q < kMaxQuads; ++q) {
    unsigned short k = static_cast<unsigned short>(q * 4);
    unsigned short* e = &quadIndexTable[q * 6];
    e[0] = k;
    e[1] = static_cast<unsigned short>(k + 1);
    e[2] = static_cast<unsigned short>(k + 2);
    e[3] = k;
    e[4] = static_cast<unsigned short>(k + 2);
    e[5] = static_cast<unsigned short>(k + 3);
  }
}

int gxtkGraphics::Mode() { return renderMode; }
int gxtkGraphics::Width() { return windowWidth; }
int gxtkGraphics::Height() { return windowHeight; }

// ---------------------------------------------------------------------------
// State

void gxtkGraphics::PackColor() {
  // Premultiplied here once, so textured and untextured vertices blend alike.
  // Alpha is clamped to 0..1 first: faded shapes compute it and may overshoot.
  float a = !(alpha > 0) ? 0.0f : alpha > 1 ? 1.0f : alpha;
  packedColor = ColourByte(a * 255.0f) << 24 | ColourByte(blue * a) << 16 | ColourByte(green * a) << 8 |
                ColourByte(red * a);
  UpdateOpaqueDraws();
}

void gxtkGraphics::UpdateOpaqueDraws() { opaqueDraws = fillShortcuts && (packedColor >> 24) == 255 && !additive; }

void gxtkGraphics::SetFillShortcuts(bool on) {
  Flush();
  fillShortcuts = on;
  UpdateOpaqueDraws();
}

int gxtkGraphics::Cls(float r, float g, float b) {
  batchCount = 0;
  glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  return 0;
}

// The game sets colour and alpha before every record, mostly to what they
// already are (a run of text, a row of tiles): then there is nothing to pack.
int gxtkGraphics::SetAlpha(float a) {
  if (a == alpha) return 0;  // zeros of either sign pack alike; a NaN never matches
  alpha = a;
  PackColor();
  return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
  if (r == red && g == green && b == blue) return 0;
  red = r;
  green = g;
  blue = b;
  PackColor();
  return 0;
}

int gxtkGraphics::SetBlend(int blend) {
  Flush();
  additive = blend == 1;
  UpdateOpaqueDraws();
  if (additive)
    glBlendFunc(GL_ONE, GL_ONE);
  else
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
  Flush();
  scissorOn = !(x == 0 && y == 0 && w == Width() && h == Height());
  scissorBox[0] = x;
  scissorBox[1] = y;
  scissorBox[2] = w;
  scissorBox[3] = h;
  if (scissorOn) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, Height() - y - h, w, h);  // OpenGL counts rows from the bottom
  } else {
    glDisable(GL_SCISSOR_TEST);
  }
  return 0;
}

namespace {

bool IsIdentity(const float* m) { return m[0] == 1 && m[1] == 0 && m[2] == 0 && m[3] == 1 && m[4] == 0 && m[5] == 0; }

}  // namespace

int gxtkGraphics::SetMatrix(float a, float b, float c, float d, float x, float y) {
  matrix[0] = a;
  matrix[1] = b;
  matrix[2] = c;
  matrix[3] = d;
  matrix[4] = x;
  matrix[5] = y;
  transformed = !IsIdentity(matrix);
  return 0;
}

// ---------------------------------------------------------------------------
// The batch

int gxtkGraphics::Admit(int kind, int limit, int verticesPer, gxtkSurface* surface, bool opaque) {
  if (batchKind != kind || batchCount == limit || batchSurface != surface || batchOpaque != opaque)
    StartBatch(kind, surface, opaque);
  return batchCount++ * verticesPer;
}

void gxtkGraphics::StartBatch(int kind, gxtkSurface* surface, bool opaque) {
  DrawBatch();
  batchKind = kind;
  batchSurface = surface;
  batchOpaque = opaque;
}

void gxtkGraphics::BeginFan() { StartBatch(kFan, nullptr, false); }

void gxtkGraphics::Put(int index, float x, float y) {
  Vertex& v = vertexBuffer[index];
  if (transformed) {
    v.x = matrix[0] * x + matrix[2] * y + matrix[4];
    v.y = matrix[1] * x + matrix[3] * y + matrix[5];
  } else {
    v.x = x;
    v.y = y;
  }
  v.color = packedColor;
}

// A quad that starts a batch, or goes through the matrix.
int gxtkGraphics::QueueQuadSlow(gxtkSurface* surface, bool opaque, float x0, float y0, float x1, float y1, float u0,
                                float v0, float u1, float v1) {
  return QueueQuadThrough(matrix, transformed, surface, opaque, x0, y0, x1, y1, u0, v0, u1, v1);
}

namespace {

// The four corners of a quad through the matrix `m` (the identity when
// `through` is false), each a·x + c·y + tx, b·x + d·y + ty; the products are
// shared.
inline void PutCorners(gxtkGraphics::Vertex* q, const float* m, bool through, float x0, float y0, float x1, float y1,
                       float u0, float v0, float u1, float v1, unsigned int c) {
  if (!through) {
    q[0] = gxtkGraphics::Vertex{x0, y0, u0, v0, c};
    q[1] = gxtkGraphics::Vertex{x1, y0, u1, v0, c};
    q[2] = gxtkGraphics::Vertex{x1, y1, u1, v1, c};
    q[3] = gxtkGraphics::Vertex{x0, y1, u0, v1, c};
    return;
  }
  const float ax0 = m[0] * x0, ax1 = m[0] * x1, bx0 = m[1] * x0, bx1 = m[1] * x1;
  const float cy0 = m[2] * y0, cy1 = m[2] * y1, dy0 = m[3] * y0, dy1 = m[3] * y1;
  q[0] = gxtkGraphics::Vertex{ax0 + cy0 + m[4], bx0 + dy0 + m[5], u0, v0, c};
  q[1] = gxtkGraphics::Vertex{ax1 + cy0 + m[4], bx1 + dy0 + m[5], u1, v0, c};
  q[2] = gxtkGraphics::Vertex{ax1 + cy1 + m[4], bx1 + dy1 + m[5], u1, v1, c};
  q[3] = gxtkGraphics::Vertex{ax0 + cy1 + m[4], bx0 + dy1 + m[5], u0, v1, c};
}

// Whether the quad covers at least the area that makes cells worth judging
// (its area through the matrix; NaN is not large).
inline bool LargeQuad(const float* m, bool through, float x0, float y0, float x1, float y1) {
  const float area = (x1 - x0) * (y1 - y0);
  return std::fabs(through ? (m[0] * m[3] - m[1] * m[2]) * area : area) >= gxtkGraphics::kCellsMinArea;
}

}  // namespace

int gxtkGraphics::QueueQuadThrough(const float* m, bool through, gxtkSurface* surface, bool opaque, float x0,
                                   float y0, float x1, float y1, float u0, float v0, float u1, float v1) {
  opaque = opaque && opaqueDraws;
  if (!opaque && fillShortcuts && surface && LargeQuad(m, through, x0, y0, x1, y1)) {
    Vertex corners[4];
    PutCorners(corners, m, through, x0, y0, x1, y1, u0, v0, u1, v1, packedColor);
    if (DrawByCells(surface, corners)) return 0;
  }
  PutCorners(&vertexBuffer[Admit(kQuads, kMaxQuads, 4, surface, opaque)], m, through, x0, y0, x1, y1, u0, v0, u1, v1,
             packedColor);
  return 0;
}

int gxtkGraphics::DrawSurfaceThrough(const float m[6], bool opaque, gxtkSurface* surface, float x, float y) {
  if (!surface) return 0;
  float w = static_cast<float>(surface->Width()), h = static_cast<float>(surface->Height());
  return QueueQuadThrough(m, !IsIdentity(m), surface, opaque, x, y, x + w, y + h, 0, 0, w * surface->uScale,
                          h * surface->vScale);
}

int gxtkGraphics::DrawSurface2Through(const float m[6], bool opaque, gxtkSurface* surface, float x, float y,
                                      int srcX, int srcY, int srcW, int srcH) {
  if (!surface) return 0;
  const float sx = static_cast<float>(srcX), sy = static_cast<float>(srcY);
  const float sw = static_cast<float>(srcW), sh = static_cast<float>(srcH);
  const float u = surface->uScale, v = surface->vScale;
  return QueueQuadThrough(m, !IsIdentity(m), surface, opaque, x, y, x + sw, y + sh, sx * u, sy * v, (sx + sw) * u,
                          (sy + sh) * v);
}

// Runs of textured batches keep texturing on and rebind only on a change of
// texture: each switch costs the driver a state validation per draw call.
void gxtkGraphics::SetTexturing(gxtkSurface* surface) {
  if (surface) {
    if (!texturing) glEnable(GL_TEXTURE_2D);
    texturing = true;
    BindTextureIfChanged(surface->texture);
  } else if (texturing) {
    glDisable(GL_TEXTURE_2D);
    texturing = false;
  }
}

void gxtkGraphics::SetBlending(bool on) {
  if (on == blending) return;
  if (on)
    glEnable(GL_BLEND);
  else
    glDisable(GL_BLEND);
  blending = on;
}

void gxtkGraphics::DrawBatch() {
  if (batchCount == 0) return;
  SetTexturing(batchSurface);
  SetBlending(!batchOpaque);
  switch (batchKind) {
    case kPoints:
      glDrawArrays(GL_POINTS, 0, batchCount);
      break;
    case kLines:
      glDrawArrays(GL_LINES, 0, batchCount * 2);
      break;
    case kQuads:
      glDrawElements(GL_TRIANGLES, batchCount * 6, GL_UNSIGNED_SHORT, quadIndexTable);
      break;
    case kFan:
      glDrawArrays(GL_TRIANGLE_FAN, 0, batchCount);
      break;
  }
  batchCount = 0;
}

void gxtkGraphics::Flush() {
  DrawBatch();
  SetTexturing(nullptr);
  SetBlending(true);
}

// ---------------------------------------------------------------------------
// Primitives

int gxtkGraphics::DrawPoint(float x, float y) {
  Put(Admit(kPoints, kMaxVertices, 1, nullptr), x, y);
  return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
  int k = Admit(kLines, kMaxVertices / 2, 2, nullptr);
  Put(k, x1, y1);
  Put(k + 1, x2, y2);
  return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
  float x1 = x + w, y1 = y + h;
  if (opaqueDraws && CoversWindow(x, y, x1, y1)) {
    ClearToColour();
    return 0;
  }
  int k = Admit(kQuads, kMaxQuads, 4, nullptr);
  Put(k, x, y);
  Put(k + 1, x1, y);
  Put(k + 2, x1, y1);
  Put(k + 3, x, y1);
  return 0;
}

// Only an unturned matrix is worked out: a turned rectangle that covers the
// window is not worth the geometry.
bool gxtkGraphics::CoversWindow(float x0, float y0, float x1, float y1) const {
  if (transformed) {
    if (matrix[1] != 0 || matrix[2] != 0) return false;
    x0 = matrix[0] * x0 + matrix[4];
    x1 = matrix[0] * x1 + matrix[4];
    y0 = matrix[3] * y0 + matrix[5];
    y1 = matrix[3] * y1 + matrix[5];
  }
  const float w = static_cast<float>(windowWidth), h = static_cast<float>(windowHeight);
  // Every pixel's centre lies inside; NaN fails every comparison.
  return std::fmin(x0, x1) <= 0 && std::fmin(y0, y1) <= 0 && std::fmax(x0, x1) >= w && std::fmax(y0, y1) >= h;
}

// The clear writes exactly the bytes the blended rectangle would: each
// premultiplied colour byte, alpha 255. The scissor limits both alike.
void gxtkGraphics::ClearToColour() {
  batchCount = 0;
  const float kByte = 255.0f;
  glClearColor(static_cast<float>(packedColor & 0xff) / kByte, static_cast<float>(packedColor >> 8 & 0xff) / kByte,
               static_cast<float>(packedColor >> 16 & 0xff) / kByte, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

namespace {

// Segments for an ellipse whose (transformed) radii, truncated, sum to
// `radiusSum`: about one per pixel of radius, at least 12, at most a full batch, and a
// multiple of 4 so the outline stays symmetric on both axes.
int oval_segments(float radiusSum) {
  if (!(radiusSum >= kMinOvalSegments)) return kMinOvalSegments;  // also NaN
  if (radiusSum > kMaxFanVertices) return kMaxFanVertices;
  return static_cast<int>(radiusSum) & ~3;
}

}  // namespace

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
  BeginFan();
  float rx = w * 0.5f, ry = h * 0.5f;
  float sum;
  if (transformed) {
    sum = std::trunc(std::sqrt((rx * matrix[0]) * (rx * matrix[0]) + (rx * matrix[1]) * (rx * matrix[1])) +
                     std::sqrt((ry * matrix[2]) * (ry * matrix[2]) + (ry * matrix[3]) * (ry * matrix[3])));
  } else {
    sum = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
  }
  int n = oval_segments(sum);
  float cx = x + rx, cy = y + ry;
  for (int i = 0; i < n; ++i) {
    float theta = (kTwoPi * static_cast<float>(i)) / static_cast<float>(n);
    Put(i, cx + std::cos(theta) * rx, cy - std::sin(theta) * ry);
  }
  batchCount = n;
  DrawBatch();
  return 0;
}

int gxtkGraphics::DrawPoly(Array<float> verts) {
  int n = verts.Length() / 2;
  if (n < 3 || n > kMaxFanVertices) return 0;
  BeginFan();
  for (int i = 0; i < n; ++i) Put(i, verts[2 * i], verts[2 * i + 1]);
  batchCount = n;
  DrawBatch();
  return 0;
}

// ---------------------------------------------------------------------------
// The frame bracket

bool gxtkGraphics::Validate() {
  windowWidth = windowHeight = 0;
  wlGetWindowSize(&windowWidth, &windowHeight);
  return windowWidth > 0 && windowHeight > 0;
}

int gxtkGraphics::BeginRender() {
  if (!renderMode) return 0;
  glViewport(0, 0, windowWidth, windowHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, windowWidth, windowHeight, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  const GLsizei stride = sizeof(Vertex);
  glVertexPointer(2, GL_FLOAT, stride, &vertexBuffer[0].x);
  glTexCoordPointer(2, GL_FLOAT, stride, &vertexBuffer[0].u);
  glColorPointer(4, GL_UNSIGNED_BYTE, stride, &vertexBuffer[0].color);

  glEnable(GL_BLEND);
  blending = true;
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  additive = false;
  UpdateOpaqueDraws();
  // GL may have been changed since the last frame (a new context, another
  // drawer): state is set afresh and nothing remembered is trusted.
  glDisable(GL_TEXTURE_2D);
  texturing = false;
  ForgetTextureBinding();
  batchCount = 0;
  batchOpaque = false;
  return 0;
}

void gxtkGraphics::EndRender() {
  if (renderMode) Flush();
  wlSwapBuffers();
}
