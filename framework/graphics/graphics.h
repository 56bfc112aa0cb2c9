// The renderer over OpenGL 1.x: a window-sized 2D projection, the current colour
// and 2D matrix, and one vertex batch that gathers primitives of one kind and
// texture so that they reach OpenGL in a single draw call.
//
// Sprites are the hot path: DrawSurface and DrawSurface2 cannot be overridden,
// so calls to them bind directly and queue their quad inline.
//
// Filling is what costs on a software rasteriser, so two kinds of drawing that
// need no blending get none, with the same pixels as a blended draw: a
// rectangle that covers the whole window at alpha 1 is a glClear, and a source
// its caller knows to be fully opaque (DrawSurfaceAs and the like), drawn at
// alpha 1 with alpha blending, is drawn with blending off. A large unturned
// image that is partly clear or partly opaque is drawn cell by cell of the
// window under the scissor (graphics/cells.cpp): its clear cells not at all,
// its opaque ones without blending.
#pragma once

#include <vector>

#include "graphics/surface.h"
#include "runtime/object.h"

class gxtkGraphics : public gxtkObject {
 public:
  // Primitive kinds held by the batch.
  enum { kPoints = 1, kLines = 2, kQuads = 4, kFan = 5 };
  static constexpr int kMaxVertices = 1024;
  static constexpr int kMaxQuads = kMaxVertices / 4;
  // Window cells of this many pixels a side, on a grid from the window's
  // corner, are what a large image is judged by.
  static constexpr int kFillCell = 32;
  // Images covering fewer pixels than this are drawn whole.
  static constexpr float kCellsMinArea = 256.0f * 256.0f;
  // Pixels (or texels) [first, end) along one axis.
  struct Span {
    int first, end;
  };

  // One vertex exactly as OpenGL reads it (20-byte stride).
  struct Vertex {
    float x, y;
    float u, v;
    unsigned int color;  // bytes red, green, blue, alpha in memory order
  };

  int renderMode;
  int windowWidth, windowHeight;
  unsigned int packedColor;
  float red, green, blue;
  float alpha;
  float matrix[6];  // a, b, c, d, tx, ty: (x, y) -> (a x + c y + tx, b x + d y + ty)
  bool transformed;
  Vertex vertexBuffer[kMaxVertices];
  unsigned short quadIndexTable[kMaxQuads * 6];
  int batchKind;
  int batchCount;
  gxtkSurface* batchSurface;  // not marked: the batch never outlives a frame
  bool batchOpaque;           // the batch is drawn with blending off
  // Alpha is 1 and the blend is alpha blending: what is drawn now covers what
  // is below it wherever its source is opaque.
  bool opaqueDraws;
  bool additive;  // SetBlend(1) in force
  // Off, every rectangle and frame is blended as it is drawn: the pixels the
  // clear and the unblended frames must reproduce, for the comparison on a
  // real GL (tests/real). On from construction.
  bool fillShortcuts;
  // Whether GL_BLEND is on as far as this renderer last set it. BeginRender
  // sets it afresh; between batches it changes only where they differ.
  bool blending;
  // Whether GL_TEXTURE_2D is on as far as this renderer last set it, so that
  // consecutive textured batches leave it on. BeginRender sets it afresh.
  bool texturing;
  // The scissor the caller set (window pixels, rows from the top); off when
  // it is the whole window. Cells are drawn within it.
  bool scissorOn;
  int scissorBox[4];

  gxtkGraphics();

  virtual int Mode();
  virtual int Width();
  virtual int Height();
  virtual gxtkSurface* LoadSurface(String path);
  virtual gxtkSurface* LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
  virtual gxtkSurface* CreateSurface(int width, int height);
  virtual int Cls(float r, float g, float b);
  virtual int SetAlpha(float alpha);
  virtual int SetColor(float r, float g, float b);
  virtual int SetBlend(int blend);
  virtual int SetScissor(int x, int y, int w, int h);
  virtual int SetMatrix(float a, float b, float c, float d, float tx, float ty);
  virtual int DrawPoint(float x, float y);
  virtual int DrawRect(float x, float y, float w, float h);
  virtual int DrawLine(float x1, float y1, float x2, float y2);
  virtual int DrawOval(float x, float y, float w, float h);
  virtual int DrawPoly(Array<float> verts);
  virtual int DrawSurface(gxtkSurface* surface, float x, float y) final;
  virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH) final;
  // DrawSurface and DrawSurface2 of a source that is fully opaque (every texel
  // drawn has alpha 255) when `opaque` is true, as the caller has found.
  int DrawSurfaceAs(bool opaque, gxtkSurface* surface, float x, float y);
  int DrawSurface2As(bool opaque, gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH);
  // The same through the matrix `m` (a, b, c, d, tx, ty) instead of the
  // current one, which stays as it is: the graphics context draws turned and
  // scaled images so, without a matrix change per image.
  int DrawSurfaceThrough(const float m[6], bool opaque, gxtkSurface* surface, float x, float y);
  int DrawSurface2Through(const float m[6], bool opaque, gxtkSurface* surface, float x, float y, int srcX, int srcY,
                          int srcW, int srcH);
  virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
  virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                           int pitch);

  void SetFillShortcuts(bool on);

  // Reads the window size; false when the window has no drawable area.
  bool Validate();
  int BeginRender();
  // Flushes what is queued and presents the frame.
  void EndRender();
  // Draws and empties the batch if it holds anything, and leaves texturing
  // off and blending on for whoever draws with GL next.
  void Flush();

 private:
  // Makes room for one primitive of `kind` on `surface`, drawn with blending
  // off when `opaque`, and returns the index of its first vertex.
  int Admit(int kind, int limit, int verticesPer, gxtkSurface* surface, bool opaque = false);
  // Draws the batch (if any) and starts an empty one of `kind` on `surface`.
  void StartBatch(int kind, gxtkSurface* surface, bool opaque);
  // Draws and empties the batch, switching texturing, the bound texture and
  // blending only where they differ from what the batch needs.
  void DrawBatch();
  void SetTexturing(gxtkSurface* surface);
  void SetBlending(bool on);
  // Whether the rectangle (x0, y0)-(x1, y1), through the current matrix,
  // covers every pixel of the window.
  bool CoversWindow(float x0, float y0, float x1, float y1) const;
  // Fills the window with the current colour at alpha 1, as a rectangle over
  // all of it would; what is queued would be covered and is dropped.
  void ClearToColour();
  // Starts a triangle fan that is drawn at once.
  void BeginFan();
  // Stores one vertex, transformed by the current matrix.
  void Put(int index, float x, float y);
  // Queues a textured quad (x0, y0)-(x1, y1) with texture corners (u0, v0)-
  // (u1, v1), of a fully opaque source when `opaque`. Inline only while it
  // joins the batch, no matrix applies and it is not `large` enough for
  // cells, and leaves the rest to QueueQuadSlow in a tail call, so the common
  // case needs no stack frame.
  int QueueQuad(gxtkSurface* surface, bool opaque, bool large, float x0, float y0, float x1, float y1, float u0,
                float v0, float u1, float v1);
  int QueueQuadSlow(gxtkSurface* surface, bool opaque, float x0, float y0, float x1, float y1, float u0, float v0,
                    float u1, float v1);
  // The same through the matrix `m`, the identity when `through` is false.
  int QueueQuadThrough(const float* m, bool through, gxtkSurface* surface, bool opaque, float x0, float y0, float x1,
                       float y1, float u0, float v0, float u1, float v1);
  void PackColor();
  // opaqueDraws from the alpha, the blend and the switch above.
  void UpdateOpaqueDraws();

  // Cells (graphics/cells.cpp). A window rectangle, rows from the top, and
  // how it is drawn.
  enum CellKind { kCellSkipped, kCellUnblended, kCellBlended };
  struct CellRect {
    int x0, y0, x1, y1;
    CellKind kind;
  };

  // Draws the quad (corners as queued) cell by cell and returns true when it
  // is large, unturned and has a clear cell or an opaque one it may draw
  // unblended; otherwise false and nothing is drawn.
  bool DrawByCells(gxtkSurface* surface, const Vertex quad[4]);
  // The quad's cells merged into rectangles of one kind, in cellRects.
  bool PlanCells(gxtkSurface* surface, const Vertex quad[4]);
  bool PlanCellRow(gxtkSurface* surface, const Vertex quad[4], Span across, int top, int bottom, int texelTop,
                   int texelBottom);
  void DrawCellRects(gxtkSurface* surface, const Vertex quad[4]);
  std::vector<CellRect> cellRects;
  std::vector<int> cellRowRuns, cellLastRowRuns;  // indices into cellRects
};

// ---------------------------------------------------------------------------
// The sprite path, inline

inline int gxtkGraphics::QueueQuad(gxtkSurface* surface, bool opaque, bool large, float x0, float y0, float x1,
                                  float y1, float u0, float v0, float u1, float v1) {
  opaque = opaque & opaqueDraws;
  if (batchKind != kQuads || batchCount == kMaxQuads || batchSurface != surface || batchOpaque != opaque ||
      transformed || large)
    return QueueQuadSlow(surface, opaque, x0, y0, x1, y1, u0, v0, u1, v1);
  Vertex* q = &vertexBuffer[batchCount++ * 4];
  const unsigned int c = packedColor;
  q[0] = Vertex{x0, y0, u0, v0, c};
  q[1] = Vertex{x1, y0, u1, v0, c};
  q[2] = Vertex{x1, y1, u1, v1, c};
  q[3] = Vertex{x0, y1, u0, v1, c};
  return 0;
}

inline int gxtkGraphics::DrawSurfaceAs(bool opaque, gxtkSurface* surface, float x, float y) {
  if (!surface) return 0;
  float w = static_cast<float>(surface->Width()), h = static_cast<float>(surface->Height());
  return QueueQuad(surface, opaque, w * h >= kCellsMinArea, x, y, x + w, y + h, 0, 0, w * surface->uScale,
                   h * surface->vScale);
}

inline int gxtkGraphics::DrawSurface2As(bool opaque, gxtkSurface* surface, float x, float y, int srcX, int srcY,
                                        int srcW, int srcH) {
  if (!surface) return 0;
  // Surface coordinates are far below 2^24, so these sums are exact in float
  // (and cannot overflow as int sums could).
  const float sx = static_cast<float>(srcX), sy = static_cast<float>(srcY);
  const float sw = static_cast<float>(srcW), sh = static_cast<float>(srcH);
  const float u = surface->uScale, v = surface->vScale;
  return QueueQuad(surface, opaque, sw * sh >= kCellsMinArea, x, y, x + sw, y + sh, sx * u, sy * v, (sx + sw) * u,
                   (sy + sh) * v);
}

// Nothing is known of a source drawn through these: it is blended.
inline int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
  return DrawSurfaceAs(false, surface, x, y);
}

inline int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW,
                                      int srcH) {
  return DrawSurface2As(false, surface, x, y, srcX, srcY, srcW, srcH);
}
