// Large images drawn cell by cell. Backdrop layers (hills along the bottom,
// figures scattered over a sky, a panel with a frame) are often screen-sized
// images of mostly clear texels: blended whole, every pixel under them is
// read and written again for nothing, which on a software rasteriser is most
// of a frame's cost.
//
// The quad is drawn exactly as it would be, the same vertices and texture
// coordinates, only under the scissor, once for each rectangle of window
// cells whose texels are not all clear; rectangles whose texels are all
// opaque are drawn without blending. A pixel is so drawn at most once, with
// the fragment it would have had, and a pixel left out is one whose fragment
// is all zeros, which the blend (premultiplied, or additive) leaves as it is.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "graphics/graphics.h"
#include "graphics/surface.h"

namespace {

using Span = gxtkGraphics::Span;

// Whole pixels or texels as an int, for coordinates that may be anything:
// far outside any window or texture is as good as just outside it.
int Whole(double value) {
  const double kFar = 1 << 30;
  return static_cast<int>(std::max(-kFar, std::min(kFar, value)));
}

// The texels a span of pixels can sample along one axis of an unturned quad
// from window coordinate p0 (texture coordinate t0) to p1 (t1), in texels of
// a texture `texels` wide. Sampling is nearest, so a pixel's centre picks one
// texel; one more on each side allows for the rasteriser's rounding.
// Texels past the texture's edge sample the edge (clamped); when the texture
// is larger than the image, the caller's coverage query refuses them.
Span TexelsUnder(Span pixels, double p0, double p1, double t0, double t1, int texels, int imageTexels) {
  const double scale = (t1 - t0) * texels / (p1 - p0);
  const double a = (t0 * texels) + (pixels.first + 0.5 - p0) * scale;
  const double b = (t0 * texels) + (pixels.end - 0.5 - p0) * scale;
  int first = Whole(std::floor(std::min(a, b))) - 1;
  int last = Whole(std::floor(std::max(a, b))) + 1;
  if (texels == imageTexels) {
    first = std::max(first, 0);
    last = std::min(last, texels - 1);
  }
  return Span{first, last + 1};
}

// Pixels of one cell along an axis, within the drawn span.
Span CellSpan(int cell, Span drawn) {
  const int size = gxtkGraphics::kFillCell;
  return Span{std::max(cell * size, drawn.first), std::min(cell * size + size, drawn.end)};
}

int TextureTexels(float scale) { return static_cast<int>(std::lround(1.0 / static_cast<double>(scale))); }

}  // namespace

bool gxtkGraphics::DrawByCells(gxtkSurface* surface, const Vertex quad[4]) {
  if (!PlanCells(surface, quad)) return false;
  DrawCellRects(surface, quad);
  return true;
}

bool gxtkGraphics::PlanCells(gxtkSurface* surface, const Vertex quad[4]) {
  // Unturned: the first corner's row and column are shared by its neighbours
  // (exactly, as the corners are computed), so u follows x and v follows y.
  if (quad[1].y != quad[0].y || quad[3].x != quad[0].x || quad[2].x != quad[1].x || quad[2].y != quad[3].y)
    return false;
  const double x0 = quad[0].x, x1 = quad[2].x, y0 = quad[0].y, y1 = quad[2].y;
  if (!(std::fabs((x1 - x0) * (y1 - y0)) >= kCellsMinArea)) return false;  // small, flat or NaN
  if (!surface->texture || surface->uScale <= 0 || surface->vScale <= 0) return false;

  // The pixels the quad can touch, within the window and the scissor.
  int left = 0, top = 0, right = windowWidth, bottom = windowHeight;
  if (scissorOn) {
    left = std::max(left, scissorBox[0]);
    top = std::max(top, scissorBox[1]);
    right = static_cast<int>(std::min<long long>(right, static_cast<long long>(scissorBox[0]) + scissorBox[2]));
    bottom = static_cast<int>(std::min<long long>(bottom, static_cast<long long>(scissorBox[1]) + scissorBox[3]));
  }
  const Span across{std::max(left, Whole(std::floor(std::min(x0, x1)))),
                    std::min(right, Whole(std::ceil(std::max(x0, x1))))};
  const Span down{std::max(top, Whole(std::floor(std::min(y0, y1)))),
                  std::min(bottom, Whole(std::ceil(std::max(y0, y1))))};
  if (across.first >= across.end || down.first >= down.end) return false;
  if (static_cast<float>(across.end - across.first) * static_cast<float>(down.end - down.first) < kCellsMinArea)
    return false;

  const int texHeight = TextureTexels(surface->vScale);
  cellRects.clear();
  cellLastRowRuns.clear();
  bool worthIt = false;
  for (int row = down.first / kFillCell; row <= (down.end - 1) / kFillCell; ++row) {
    const Span pixelsDown = CellSpan(row, down);
    const Span texelsDown = TexelsUnder(pixelsDown, y0, y1, quad[0].v, quad[2].v, texHeight, surface->height);
    worthIt |= PlanCellRow(surface, quad, across, pixelsDown.first, pixelsDown.end, texelsDown.first,
                           texelsDown.end);
  }
  return worthIt;
}

// One row of cells: each judged, runs of one kind joined, and runs spanning
// what a rectangle of the row above spans joined to it. True when a cell is
// left out or unblended.
bool gxtkGraphics::PlanCellRow(gxtkSurface* surface, const Vertex quad[4], Span across, int top, int bottom,
                               int texelTop, int texelBottom) {
  const int texWidth = TextureTexels(surface->uScale);
  bool worthIt = false;
  cellRowRuns.clear();
  for (int column = across.first / kFillCell; column <= (across.end - 1) / kFillCell; ++column) {
    const Span pixels = CellSpan(column, across);
    const Span texels = TexelsUnder(pixels, quad[0].x, quad[2].x, quad[0].u, quad[2].u, texWidth, surface->width);
    const gxtkSurface::Cover cover =
        surface->Coverage(texels.first, texelTop, texels.end - texels.first, texelBottom - texelTop);
    const CellKind kind = cover == gxtkSurface::kClear                    ? kCellSkipped
                          : cover == gxtkSurface::kOpaque && opaqueDraws ? kCellUnblended
                                                                           : kCellBlended;
    worthIt |= kind != kCellBlended;
    if (kind == kCellSkipped) continue;
    if (!cellRowRuns.empty()) {
      CellRect& last = cellRects[static_cast<size_t>(cellRowRuns.back())];
      if (last.kind == kind && last.x1 == pixels.first) {
        last.x1 = pixels.end;
        continue;
      }
    }
    cellRects.push_back(CellRect{pixels.first, top, pixels.end, bottom, kind});
    cellRowRuns.push_back(static_cast<int>(cellRects.size()) - 1);
  }
  for (int& run : cellRowRuns) {
    const CellRect r = cellRects[static_cast<size_t>(run)];
    for (int above : cellLastRowRuns) {
      CellRect& a = cellRects[static_cast<size_t>(above)];
      if (a.x0 == r.x0 && a.x1 == r.x1 && a.kind == r.kind && a.y1 == r.y0) {
        a.y1 = r.y1;
        cellRects[static_cast<size_t>(run)].kind = kCellSkipped;  // now part of the one above
        run = above;
        break;
      }
    }
  }
  cellLastRowRuns.swap(cellRowRuns);
  return worthIt;
}

void gxtkGraphics::DrawCellRects(gxtkSurface* surface, const Vertex quad[4]) {
  DrawBatch();
  for (int i = 0; i < 4; ++i) vertexBuffer[i] = quad[i];
  SetTexturing(surface);
  if (!scissorOn) glEnable(GL_SCISSOR_TEST);
  for (const CellRect& r : cellRects) {
    if (r.kind == kCellSkipped) continue;
    glScissor(r.x0, windowHeight - r.y1, r.x1 - r.x0, r.y1 - r.y0);  // OpenGL counts rows from the bottom
    SetBlending(r.kind == kCellBlended);
    glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_SHORT, quadIndexTable);
  }
  if (scissorOn)
    glScissor(scissorBox[0], windowHeight - scissorBox[1] - scissorBox[3], scissorBox[2], scissorBox[3]);
  else
    glDisable(GL_SCISSOR_TEST);
}
