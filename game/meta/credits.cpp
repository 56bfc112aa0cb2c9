// The credits box: a panel over the main menu naming who made the game and
// with what, closed by the next new tap anywhere.
#include "game/vaultwick.h"

namespace {

const int kSfxBox = 99;

// Each line with the gap below it. The project has no web address of its own
// and names none for the toolchain, so those lines stay empty and keep their
// place in the layout.
struct CreditLine {
  const char* text;
  float gap;
};
const CreditLine kCreditLines[] = {
    {"A Game By", 20}, {"The Vaultwick team", 20}, {"", 40},
    {"Created using", 20}, {"Tovrin", 20}, {"", 40},
};

}  // namespace

// Called after m_Menu while the box is open.
int bb_Vaultwick_MyApp::m_CreditBox() {
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  m_ResetDraw();
  m_SetCol(255, 125, 0, 0.8f);
  m_Rect(w * 0.1f, h * 0.2f, w * 0.8f, h * 0.6f);
  m_SetCol(100, 0, 0, 0.8f);
  m_Rect(w * 0.12f, h * 0.22f, w * 0.76f, h * 0.56f);
  m_SetCol(255, 255, 255, 1);
  m_SetSize(1.5f, kAbsent);
  float y = 0;
  for (const CreditLine& line : kCreditLines) {
    m_Text(w * 0.5f, h * 0.24f + y, String(line.text), 1, 0);
    y += line.gap;
  }
  // The press that opened the box is latched, so only a new tap closes it.
  if (m_PointerDown >= 1 && m_PointerLatch == 0) {
    m_PointerLatch = 1;
    m_CreditBoxOpen = 0;
    m_PlaySFX(kSfxBox, 1, 1, 0);
  }
  return 0;
}
