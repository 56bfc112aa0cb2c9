// The drawing kit: screens record drawing into the display list during the
// update, and the render replays it scaled to the window. Recording is a bounds
// check and fifteen float stores, so screens can draw freely every update.
#include <cmath>

#include "game/shell/degrees.h"
#include "game/vaultwick.h"
#include "graphics/context.h"

namespace {

// Record layout. Indices 8, 9, 13 and 14 are spare and never touched.
enum { kKind = 0, kX = 1, kY = 2, kRot = 3, kW = 4, kH = 5, kFrame = 6, kAlpha = 7, kR = 10, kG = 11, kB = 12 };

const int kBackslash = 92;
const int kBackslashFrame = kBackslash - 32;
const int kTouchContacts = 10;

// The sines and cosines a run of text is laid out with, all of the pen's
// rotation alone. Text is drawn unrotated almost always, so they are kept for
// the last rotation seen rather than worked out again for every run and glyph.
struct TextAngles {
  float rot = 0;
  bool known = false;
  float sinBack, sinBackPerp, cosBackPerp, cosBack;  // of -r, -r - 90, -r - 90, -r
  float sinLine, cosLine;                            // of 180 - r
  float sinAdvance, cosAdvance;                      // of 90 - r

  const TextAngles& For(float r) {
    if (known && r == rot) return *this;
    rot = r;
    known = r == r;  // a NaN never matches itself: it is worked out every time
    sinBack = SinDeg(-r);
    sinBackPerp = SinDeg(-r - 90);
    cosBackPerp = CosDeg(-r - 90);
    cosBack = CosDeg(-r);
    sinLine = SinDeg(180 - r);
    cosLine = CosDeg(180 - r);
    sinAdvance = SinDeg(90 - r);
    cosAdvance = CosDeg(90 - r);
    return *this;
  }
};

TextAngles textAngles;

}  // namespace

int bb_Vaultwick_MyApp::m_ResetDraw() {
  m_SizeX = 1;
  m_SizeY = 1;
  m_Rot = 0;
  m_ColR = m_ColG = m_ColB = 255;
  m_ColA = 1;
  return 0;
}

int bb_Vaultwick_MyApp::m_CLS2D(float r, float g, float b, float a) {
  if (r > kAbsent) {
    m_ClearR = r;
    m_ClearG = g;
    m_ClearB = b;
    m_ClearA = a;
  }
  m_ResetDraw();
  m_DrawCount = 0;
  return 0;
}

int bb_Vaultwick_MyApp::m_SetSize(float w, float h) {
  m_SizeX = w;
  m_SizeY = h <= kAbsent ? w : h;
  return 0;
}

// Angles are given clockwise on screen; the context turns counter-clockwise.
int bb_Vaultwick_MyApp::m_SetRot(float angle) {
  m_Rot = -angle;
  return 0;
}

int bb_Vaultwick_MyApp::m_Alpha(float a) {
  m_ColA = a;
  return 0;
}

int bb_Vaultwick_MyApp::m_SetCol(float r, float g, float b, float a) {
  m_ColR = r;
  m_ColG = g;
  m_ColB = b;
  if (a > kAbsent) m_ColA = a;
  return 0;
}

void bb_Vaultwick_MyApp::AppendRecord(float kind, float x, float y, float w, float h, float frame) {
  if (m_DrawCount > kDrawLimit) return;
  float* rec = &m_DrawList[m_DrawCount];
  rec[kKind] = kind;
  rec[kX] = x;
  rec[kY] = y;
  rec[kRot] = m_Rot;
  rec[kW] = w;
  rec[kH] = h;
  rec[kFrame] = frame;
  rec[kAlpha] = m_ColA;
  rec[kR] = m_ColR;
  rec[kG] = m_ColG;
  rec[kB] = m_ColB;
  m_DrawCount += kDrawRecord;
}

int bb_Vaultwick_MyApp::m_DrawImg(int slot, float x, float y, float frame) {
  AppendRecord(static_cast<float>(slot), x, y, m_SizeX, m_SizeY, frame);
  return 0;
}

// The rotation is recorded but the replay draws rectangles axis-aligned.
int bb_Vaultwick_MyApp::m_Rect(float x, float y, float w, float h) {
  AppendRecord(kRectKind, x, y, w, h, 0);
  return 0;
}

int bb_Vaultwick_MyApp::m_Oval(float x, float y, float rx, float ry) {
  AppendRecord(kOvalKind, x, y, rx, ry, 0);
  return 0;
}

int bb_Vaultwick_MyApp::m_Text(float x, float y, String text, float alignX, float alignY) {
  float advance = static_cast<float>(m_ImgInfo[3 * m_FontImg]) * m_SizeX;
  float line = static_cast<float>(m_ImgInfo[3 * m_FontImg + 1]) * m_SizeY;
  const TextAngles& a = textAngles.For(m_Rot);
  int n = text.Length();

  // The run is laid out along the rotated baseline: alignX 0/1/2 puts its
  // start, middle or end on x, alignY 0/1/2 shifts it down half a line, not at
  // all, or up half a line.
  float runLength = advance * static_cast<float>(n - 1);
  float fx = alignX * 0.5f;
  float fy = (alignY - 1) * 0.5f;
  float x0 = fy * (line * a.sinBack) + runLength * a.sinBackPerp * fx + x;
  float y0 = y - fx * a.cosBackPerp * runLength - a.cosBack * line * fy;
  const float stepX = advance * a.sinAdvance;
  const float stepY = -a.cosAdvance * advance;

  float px = x0, py = y0;
  int lines = 0;
  const Char* units = text.Data();
  for (int i = 0; i < n; ++i) {
    int ch = units[i];
    if (ch == 0) continue;
    // Game text writes its line breaks as the two characters backslash, n.
    if (ch == kBackslash && i + 1 < n && units[i + 1] == 'n') {
      ++i;
      ++lines;
      px = x0 + a.sinLine * line * static_cast<float>(lines);
      py = y0 - a.cosLine * line * static_cast<float>(lines);
      continue;
    }
    if (ch == kBackslash) {
      m_DrawImg(m_FontImg, px, py, kBackslashFrame);
    } else if (ch >= 33 && ch <= 159) {
      m_DrawImg(m_FontImg, px, py, static_cast<float>(ch - 32));
    }
    px += stepX;
    py += stepY;
  }
  return 0;
}

int bb_Vaultwick_MyApp::m_Button(int slot, float x, float y, int frame) {
  m_DrawImg(slot, x, y, static_cast<float>(frame));
  float hw = m_SizeX * m_AssetInvScale * static_cast<float>(m_ImgInfo[3 * slot]) * 0.5f;
  float hh = m_AssetInvScale * static_cast<float>(m_ImgInfo[3 * slot + 1]) * m_SizeY * 0.5f;
  int hit = 0;
  for (m_Iter = 0; m_Iter < kTouchContacts; ++m_Iter) {
    float tx = static_cast<float>(m_TouchX[m_Iter]);
    float ty = static_cast<float>(m_TouchY[m_Iter]);
    if (x - hw < tx && tx < x + hw && y - hh < ty && ty < y + hh && m_PointerDown > 0) hit = 1;
  }
  m_ButtonHit = hit;
  return hit;
}

int bb_Vaultwick_MyApp::m_Button0(int slot, float x, float y, int frame) {
  m_DrawImg(slot, x, y, static_cast<float>(frame));
  float hw = m_SizeX * m_AssetInvScale * static_cast<float>(m_ImgInfo[3 * slot]) * 0.5f;
  float hh = m_AssetInvScale * static_cast<float>(m_ImgInfo[3 * slot + 1]) * m_SizeY * 0.5f;
  float tx = static_cast<float>(m_TouchX[0]);
  float ty = static_cast<float>(m_TouchY[0]);
  return x - hw < tx && tx < x + hw && y - hh < ty && ty < y + hh && m_PointerDown > 0 ? 1 : 0;
}

int bb_Vaultwick_MyApp::m_MouseIn(float x, float y, float w, float h) {
  int inside = 0;
  for (m_Iter = 0; m_Iter < kTouchContacts; ++m_Iter) {
    if (m_TouchDown[m_Iter] != 1) continue;
    float tx = static_cast<float>(m_TouchX[m_Iter]);
    float ty = static_cast<float>(m_TouchY[m_Iter]);
    if (x < tx && tx < x + w && y < ty && ty < y + h) inside = 1;
  }
  return inside;
}

int bb_Vaultwick_MyApp::m_Ink(int kind, int variant) {
  struct Shade {
    float r, g, b;
  };
  // Per kind 1..9: the base shade, then the lighter one of variant 2.
  static const Shade kPalette[9][2] = {
      {{255, 80, 80}, {255, 140, 140}},   {{255, 180, 80}, {255, 210, 140}}, {{255, 255, 80}, {255, 255, 140}},
      {{80, 255, 80}, {140, 255, 140}},   {{80, 255, 255}, {140, 255, 255}}, {{130, 130, 255}, {180, 180, 255}},
      {{180, 80, 255}, {210, 140, 255}},  {{255, 80, 180}, {255, 140, 210}}, {{255, 255, 255}, {255, 255, 255}},
  };
  Shade shade{180, 180, 180};
  if (kind >= 1 && kind <= 9) shade = kPalette[kind - 1][variant == 2 ? 1 : 0];
  m_SetCol(shade.r, shade.g, shade.b, 1);
  return 0;
}

void bb_Vaultwick_MyApp::ReplayDrawList() {
  if (m_DrawCount <= 14) return;
  for (m_Iter = 0; m_Iter < m_DrawCount - 14; m_Iter += kDrawRecord) {
    const float* rec = &m_DrawList[m_Iter];
    bb_graphics_SetAlpha(rec[kAlpha]);
    bb_graphics_SetColor(rec[kR], rec[kG], rec[kB]);
    float sx = m_ScaleX, sy = m_ScaleY;
    float kind = rec[kKind];
    if (kind == kRectKind) {
      bb_graphics_context->m_Validate();
      bb_graphics_DrawRect(rec[kX] * sx, rec[kY] * sy, rec[kW] * sx, rec[kH] * sy);
    } else if (kind == kOvalKind) {
      bb_graphics_DrawEllipse(rec[kX] * sx, rec[kY] * sy, rec[kW] * sx, rec[kH] * sy);
    } else if (kind > -1) {
      int slot = static_cast<int>(kind);
      bb_graphics_Image* image = slot < m_Img.Length() ? m_Img[slot] : nullptr;
      if (image) {
        bb_graphics_DrawImage2(image, rec[kX] * sx, rec[kY] * sy, rec[kRot], rec[kW] * sx * m_AssetInvScale,
                               rec[kH] * sy * m_AssetInvScale, static_cast<int>(rec[kFrame]));
      }
    }
  }
}
