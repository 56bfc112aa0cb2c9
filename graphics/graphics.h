// The renderer over OpenGL 1.x: a window-sized 2D projection, the current colour
// and 2D matrix, and one vertex batch that gathers primitives of one kind and
// texture so that they reach OpenGL in a single draw call.
#pragma once

#include "runtime/object.h"

class gxtkSurface;

class gxtkGraphics : public gxtkObject {
 public:
  // Primitive kinds held by the batch.
  enum { kPoints = 1, kLines = 2, kQuads = 4, kFan = 5 };
  static constexpr int kMaxVertices = 1024;
  static constexpr int kMaxQuads = kMaxVertices / 4;

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
  virtual int DrawSurface(gxtkSurface* surface, float x, float y);
  virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcW, int srcH);
  virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
  virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h, int offset,
                           int pitch);

  // Reads the window size; false when the window has no drawable area.
  bool Validate();
  int BeginRender();
  // Flushes what is queued and presents the frame.
  void EndRender();
  // Draws and empties the batch if it holds anything.
  void Flush();

 private:
  // Makes room for one primitive of `kind` on `surface` and returns the index
  // of its first vertex.
  int Admit(int kind, int limit, int verticesPer, gxtkSurface* surface);
  // Starts a triangle fan that is drawn at once.
  void BeginFan();
  // Stores one vertex, transformed by the current matrix.
  void Put(int index, float x, float y);
  void PutTextured(int index, float x, float y, float u, float v);
  // Queues a textured quad (x0, y0)-(x1, y1) with texture corners (u0, v0)-(u1, v1).
  void QueueTexturedQuad(gxtkSurface* surface, float x0, float y0, float x1, float y1, float u0, float v0,
                         float u1, float v1);
  void PackColor();
};
