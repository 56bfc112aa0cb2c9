// Images: a surface cut into frames, with a handle and flags.
#pragma once

#include "graphics/surface.h"
#include "runtime/object.h"

class bb_graphics_Frame : public Object {
 public:
  int m_x = 0, m_y = 0;  // top-left corner in the surface
  // Whether every texel of the frame is fully opaque, as judged against the
  // surface's opacity version m_opacityVersion (0: not judged yet).
  bool m_opaque = false;
  unsigned m_opacityVersion = 0;

  bb_graphics_Frame* g_new(int x, int y);
  bb_graphics_Frame* g_new2();
};

class bb_graphics_Image : public Object {
 public:
  static constexpr int CentreHandleFlag = 1;
  static constexpr int PadXFlag = 2;
  static constexpr int PadYFlag = 4;
  // Set only by m_ApplyFlags: one frame covering the whole surface.
  static constexpr int WholeSurfaceFlag = 65536;

  static int g_DefaultFlags;

  gxtkSurface* m_surface = nullptr;
  int m_width = 0, m_height = 0;  // one frame
  Array<bb_graphics_Frame*> m_frames;
  int m_flags = 0;
  float m_handleX = 0, m_handleY = 0;
  bb_graphics_Image* m_source = nullptr;  // the image a grabbed one was cut from

  bb_graphics_Image* g_new() { return this; }
  void mark() override;

  virtual int m_SetHandle(float x, float y);
  virtual int m_ApplyFlags(int flags);
  // A horizontal strip of frameCount frames. A frameCount below 1 gives an
  // image with no frames, which draws nothing.
  virtual bb_graphics_Image* m_Init(gxtkSurface* surface, int frameCount, int flags);
  // A grid of frames cut from `source`, row by row; a frame beyond the source
  // is the runtime error "Image frame outside surface".
  virtual bb_graphics_Image* m_Grab(int x, int y, int width, int height, int frameCount, int flags,
                                    bb_graphics_Image* source);
  // Null unless this image has exactly one frame.
  virtual bb_graphics_Image* m_GrabImage(int x, int y, int width, int height, int frameCount, int flags);

  // Whether frame `f` of this image is fully opaque. Judged on its first draw
  // (JudgeOpacity) and again only when the surface's texels have changed
  // since; an image with frames always has a surface.
  bool OpacityJudged(const bb_graphics_Frame* f) const { return f->m_opacityVersion == m_surface->opacityVersion; }
  void JudgeOpacity(bb_graphics_Frame* f);
  bool FrameOpaque(bb_graphics_Frame* f) {
    if (!OpacityJudged(f)) JudgeOpacity(f);
    return f->m_opaque;
  }

  // Frame `index`, or null when there is no such frame.
  bb_graphics_Frame* FrameAt(int index) {
    // One unsigned comparison covers both ends.
    return static_cast<unsigned>(index) < static_cast<unsigned>(m_frames.Length()) ? m_frames[index] : nullptr;
  }
};

bb_graphics_Image* bb_graphics_LoadImage(String path, int frameCount, int flags);
bb_graphics_Image* bb_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags);
