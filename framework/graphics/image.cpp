// Images and frames: strips, grids, padding, handles and loading.
#include "graphics/image.h"

#include <cstdint>
#include <cstdlib>

#include "files/files.h"
#include "graphics/context.h"
#include "runtime/errors.h"

int bb_graphics_Image::g_DefaultFlags = 0;

bb_graphics_Frame* bb_graphics_Frame::g_new(int x, int y) {
  m_x = x;
  m_y = y;
  return this;
}

bb_graphics_Frame* bb_graphics_Frame::g_new2() { return this; }

void bb_graphics_Image::mark() {
  gc_mark_q(m_surface);
  gc_mark_q(m_frames);
  gc_mark_q(m_source);
}

int bb_graphics_Image::m_SetHandle(float x, float y) {
  m_handleX = x;
  m_handleY = y;
  m_flags &= ~CentreHandleFlag;
  return 0;
}

int bb_graphics_Image::m_ApplyFlags(int flags) {
  m_flags = flags;
  if (flags & PadXFlag) {
    for (bb_graphics_Frame* f : m_frames) f->m_x += 1;
    m_width -= 2;
  }
  if (flags & PadYFlag) {
    for (bb_graphics_Frame* f : m_frames) f->m_y += 1;
    m_height -= 2;
  }
  if (flags & CentreHandleFlag) m_SetHandle(static_cast<float>(m_width) * 0.5f, static_cast<float>(m_height) * 0.5f);
  if (m_frames.Length() == 1 && m_frames[0]->m_x == 0 && m_frames[0]->m_y == 0 &&
      m_width == m_surface->Width() && m_height == m_surface->Height())
    m_flags |= WholeSurfaceFlag;
  return 0;
}

namespace {

Array<bb_graphics_Frame*> new_frames(int count) { return Array<bb_graphics_Frame*>(count > 0 ? count : 0); }

[[noreturn]] void frame_outside_surface() {
  Error(String("Image frame outside surface"));
  std::exit(-1);  // Error only returns for an empty message
}

}  // namespace

bb_graphics_Image* bb_graphics_Image::m_Init(gxtkSurface* surface, int frameCount, int flags) {
  gc_assign(m_surface, surface);
  m_width = frameCount > 0 ? surface->Width() / frameCount : 0;
  m_height = surface->Height();
  gc_assign(m_frames, new_frames(frameCount));
  for (int i = 0; i < m_frames.Length(); ++i) m_frames.Set(i, (new bb_graphics_Frame())->g_new(i * m_width, 0));
  m_ApplyFlags(flags);
  return this;
}

bb_graphics_Image* bb_graphics_Image::m_Grab(int x, int y, int width, int height, int frameCount, int flags,
                                             bb_graphics_Image* source) {
  gc_assign(m_source, source);
  gc_assign(m_surface, source ? source->m_surface : nullptr);
  m_width = width;
  m_height = height;
  gc_assign(m_frames, new_frames(frameCount));
  if (m_frames.Length() > 0 && (!source || !source->FrameAt(0))) frame_outside_surface();
  int64_t ix = x, iy = y;  // 64 bits: hostile sizes cannot wrap the cursor
  for (int i = 0; i < m_frames.Length(); ++i) {
    if (ix + width > source->m_width) {
      if (width > source->m_width) frame_outside_surface();
      ix = 0;
      iy += height;
    }
    if (iy + height > source->m_height) frame_outside_surface();
    bb_graphics_Frame* origin = source->m_frames[0];
    m_frames.Set(i, (new bb_graphics_Frame())->g_new(static_cast<int>(ix) + origin->m_x,
                                                      static_cast<int>(iy) + origin->m_y));
    ix += width;
  }
  m_ApplyFlags(flags);
  return this;
}

void bb_graphics_Image::JudgeOpacity(bb_graphics_Frame* f) {
  f->m_opaque = m_surface->Opaque(f->m_x, f->m_y, m_width, m_height);
  f->m_opacityVersion = m_surface->opacityVersion;
}

bb_graphics_Image* bb_graphics_Image::m_GrabImage(int x, int y, int width, int height, int frameCount,
                                                  int flags) {
  if (m_frames.Length() != 1) return nullptr;
  return (new bb_graphics_Image())->m_Grab(x, y, width, height, frameCount, flags, this);
}

bb_graphics_Image* bb_graphics_LoadImage(String path, int frameCount, int flags) {
  if (!bb_graphics_device) return nullptr;
  gxtkSurface* surface = bb_graphics_device->LoadSurface(bb_data_FixDataPath(path));
  if (!surface) return nullptr;
  return (new bb_graphics_Image())->g_new()->m_Init(surface, frameCount, flags);
}

bb_graphics_Image* bb_graphics_LoadImage2(String path, int frameWidth, int frameHeight, int frameCount, int flags) {
  bb_graphics_Image* atlas = bb_graphics_LoadImage(path, 1, 0);
  if (!atlas) return nullptr;
  return atlas->m_GrabImage(0, 0, frameWidth, frameHeight, frameCount, flags);
}
