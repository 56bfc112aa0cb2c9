// The graphics context: drawing primitives, images and the font.
#include <cstring>

#include "graphics/context.h"

namespace {

int draw_frame_judging(gxtkGraphics* r, bb_graphics_Image* image, bb_graphics_Frame* frame, float x, float y);

// Draws `frame` of `image` with its top-left corner at (x, y) under the
// renderer's current matrix. A frame not yet judged opaque or not is judged
// in a tail call, so that the common case needs no stack frame.
inline int draw_frame(gxtkGraphics* r, bb_graphics_Image* image, bb_graphics_Frame* frame, float x, float y) {
  gxtkSurface* s = image->m_surface;
  if (!s) return 0;
  if (!image->OpacityJudged(frame)) return draw_frame_judging(r, image, frame, x, y);
  bool opaque = frame->m_opaque;
  if (image->m_flags & bb_graphics_Image::WholeSurfaceFlag) return r->DrawSurfaceAs(opaque, s, x, y);
  return r->DrawSurface2As(opaque, s, x, y, frame->m_x, frame->m_y, image->m_width, image->m_height);
}

__attribute__((noinline)) int draw_frame_judging(gxtkGraphics* r, bb_graphics_Image* image,
                                                 bb_graphics_Frame* frame, float x, float y) {
  image->JudgeOpacity(frame);
  return draw_frame(r, image, frame, x, y);
}

// Saves the matrix on the C++ stack rather than the context's stack, so
// drawing an image works the same however deep the caller has pushed.
struct SavedMatrix {
  float m[6];
  SavedMatrix() { std::memcpy(m, bb_graphics_context->m_matrix, sizeof m); }
  ~SavedMatrix() { bb_graphics_context->SetMatrix(m); }  // leaves the matrix dirty for the next draw
};

}  // namespace

int bb_graphics_DrawRect(float x, float y, float w, float h) {
  if (!bb_graphics_renderDevice) return 0;
  bb_graphics_context->m_Validate();
  bb_graphics_renderDevice->DrawRect(x, y, w, h);
  return 0;
}

int bb_graphics_DrawLine(float x1, float y1, float x2, float y2) {
  if (!bb_graphics_renderDevice) return 0;
  bb_graphics_context->m_Validate();
  bb_graphics_renderDevice->DrawLine(x1, y1, x2, y2);
  return 0;
}

int bb_graphics_DrawEllipse(float x, float y, float xr, float yr) {
  if (!bb_graphics_renderDevice) return 0;
  bb_graphics_context->m_Validate();
  bb_graphics_renderDevice->DrawOval(x - xr, y - yr, xr * 2, yr * 2);
  return 0;
}

namespace {

// An image drawn under a matrix, which moves to its corner for the draw and
// back after it; or one that must first hand a changed matrix to the renderer.
__attribute__((noinline)) int draw_image_with_matrix(gxtkGraphics* r, bb_graphics_Image* image,
                                                     bb_graphics_Frame* f, float x, float y) {
  bb_graphics_GraphicsContext* ctx = bb_graphics_context;
  if (!ctx->m_transformed) {
    ctx->m_Validate();
    return draw_frame(r, image, f, x, y);
  }
  SavedMatrix saved;
  bb_graphics_Transform(1, 0, 0, 1, x, y);
  ctx->m_Validate();
  return draw_frame(r, image, f, 0, 0);
}

}  // namespace

int bb_graphics_DrawImage(bb_graphics_Image* image, float x, float y, int frame) {
  gxtkGraphics* r = bb_graphics_renderDevice;
  bb_graphics_Frame* f = image ? image->FrameAt(frame) : nullptr;
  if (!r || !f) return 0;
  bb_graphics_GraphicsContext* ctx = bb_graphics_context;
  x -= image->m_handleX;
  y -= image->m_handleY;
  if (ctx->m_transformed || ctx->m_matrixDirty) return draw_image_with_matrix(r, image, f, x, y);
  // Untransformed: no matrix work at all, the offset goes into the vertices.
  return draw_frame(r, image, f, x, y);
}

// Every sprite of the game comes here. The matrix is worked out as the
// context's transforms would work it out (to the bit: the same steps in the
// same order), but on the stack, and handed with the one quad rather than
// set on the renderer and restored after.
int bb_graphics_DrawImage2(bb_graphics_Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                           int frame) {
  gxtkGraphics* r = bb_graphics_renderDevice;
  bb_graphics_Frame* f = image ? image->FrameAt(frame) : nullptr;
  if (!r || !f || !image->m_surface) return 0;
  float m[6];
  std::memcpy(m, bb_graphics_context->m_matrix, sizeof m);
  bb_graphics_Compose(m, 1, 0, 0, 1, x, y);
  float s, c;
  bb_graphics_RotationSinCos(rotation, &s, &c);
  bb_graphics_Compose(m, c, -s, s, c, 0, 0);
  bb_graphics_Compose(m, scaleX, 0, 0, scaleY, 0, 0);
  bb_graphics_Compose(m, 1, 0, 0, 1, -image->m_handleX, -image->m_handleY);
  bool opaque = image->FrameOpaque(f);
  if (image->m_flags & bb_graphics_Image::WholeSurfaceFlag)
    return r->DrawSurfaceThrough(m, opaque, image->m_surface, 0, 0);
  return r->DrawSurface2Through(m, opaque, image->m_surface, 0, 0, f->m_x, f->m_y, image->m_width, image->m_height);
}

int bb_graphics_SetFont(bb_graphics_Image* font, int firstChar) {
  bb_graphics_GraphicsContext* ctx = bb_graphics_context;
  if (!font) {
    if (!ctx->m_defaultFont)
      gc_assign(ctx->m_defaultFont, bb_graphics_LoadImage(String("velk_font.png"), 96, bb_graphics_Image::PadXFlag));
    if (!ctx->m_defaultFont) {
      // No font file: text simply has no font to draw with.
      ctx->m_font = nullptr;
      ctx->m_firstChar = 32;
      return 0;
    }
    font = ctx->m_defaultFont;
    firstChar = 32;
  }
  gc_assign(ctx->m_font, font);
  ctx->m_firstChar = firstChar;
  return 0;
}
