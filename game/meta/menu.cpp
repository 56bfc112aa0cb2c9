// The main menu: title art, the score strip with the selected mode's lists,
// the credits, the drum-like list of play modes with their prices, and the
// buttons for sound, badges, iCade, the credits box and play.
#include <cmath>

#include "game/shell/degrees.h"
#include "game/vaultwick.h"
#include "graphics/context.h"

namespace {

const int kMenuSheet = 99;    // backdrop, hills and characters
const int kLogo = 98;
const int kIcons = 97;
const int kBadgeSheet = 80;
const int kModeButtons = 10;  // one frame per play mode
const int kHeart = 3;
const int kICadeIcon = 92;
const int kCreditLogo = 93;

const int kSfxButton = 98;
const int kSfxBox = 99;
const int kSfxSelect = 13;
const int kSfxJump = 2;
const int kSfxUnlock = 4;

const int kRowPitch = 82;  // vu between mode rows
const int kStripWidth = 140;
const int kDragThreshold = 7;  // vu in one update: a drag, not a tap

}  // namespace

int bb_Vaultwick_MyApp::m_Menu() {
  MenuClear();
  MenuTitleArt();
  MenuScoreStrip();
  MenuTagline();
  MenuSoundButton();
  MenuOptionsButton();
  MenuButtonPen();
  MenuBadgesButton();
  MenuScoreLists();
  MenuCredits();
  MenuModeList();
  MenuDrag();
  MenuKeys();
  MenuICadeButton();
  MenuCreditBoxButton();
  MenuPlayButton();
  MenuReplay();
  return 0;
}

void bb_Vaultwick_MyApp::MenuClear() {
  m_CLS2D(0, 0, 80, 1);
  if (m_MenuIntro < 0) ++m_MenuIntro;
}

// Every piece slides in from its own side while m_MenuIntro rises to 0.
void bb_Vaultwick_MyApp::MenuTitleArt() {
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh, intro = static_cast<float>(m_MenuIntro);
  m_ResetDraw();
  m_SetSize(3, kAbsent);
  m_DrawImg(kMenuSheet, w * 0.5f, h * 0.5f + 16 * intro, 0);
  m_SetSize(2, kAbsent);
  m_Alpha(1);
  m_DrawImg(kMenuSheet, w * 0.4f + 20 * intro, h * 0.5f, 2);
  m_SetSize(3, kAbsent);
  m_Alpha(1);
  m_DrawImg(kMenuSheet, w * 0.5f, h * 0.5f - 24 * intro, 1);
  m_SetSize(1, kAbsent);
  m_DrawImg(kLogo, w * 0.4f, h * 0.2f + 12 * intro, 0);
}

void bb_Vaultwick_MyApp::MenuScoreStrip() {
  m_SetCol(0, 0, 0, 0.4f);
  m_Rect(bb_Vaultwick_jscrw - kStripWidth - 4 * static_cast<float>(m_MenuIntro), 0, kStripWidth, bb_Vaultwick_jscrh);
}

void bb_Vaultwick_MyApp::MenuTagline() {
  m_ResetDraw();
  m_SetSize(1.5f, kAbsent);
  m_Alpha(0.5f);
  float intro = static_cast<float>(m_MenuIntro);
  m_Text(bb_Vaultwick_jscrw * 0.4f + 8, bb_Vaultwick_jscrh * 0.2f + 15 * intro + 56, String("Also available on iOS"), 1,
         1);
}

void bb_Vaultwick_MyApp::MenuSoundButton() {
  m_ResetDraw();
  m_SetSize(2, kAbsent);
  m_SetCol(50, 250, 50, 1);
  NormaliseSound();
  float x = static_cast<float>(4 * m_MenuIntro + 48);
  float y = static_cast<float>(static_cast<int>(bb_Vaultwick_jscrh * 0.4f));
  int hit = m_Button(kIcons, x, y, m_Settings[kSettingSound] != 0 ? 4 : 5);
  // The options box takes every tap, so one outside it only closes it.
  if (hit && m_PointerLatch == 0 && m_OptionsBoxOpen == 0) {
    ToggleSoundByPointer();
    m_PointerLatch = 1;
    m_PlaySFX(kSfxButton, 1.0f, 0.5f, 0);
  }
  DrawMusicState(x, y);
}

void bb_Vaultwick_MyApp::MenuButtonPen() {
  m_SetCol(255, 255, 255, 0.75f);
  m_SetSize(1, kAbsent);
}

// The badges button also closes the box, so it reacts with the box open.
void bb_Vaultwick_MyApp::MenuBadgesButton() {
  if (bb_Vaultwick_MaxBadges < 1) return;
  float y = static_cast<float>(4 * m_MenuIntro + 32);
  if (m_Button(kBadgeSheet, 32, y, 0) && m_PointerLatch == 0 && m_OptionsBoxOpen == 0) {
    m_PointerLatch = 1;
    m_PlaySFX(kSfxBox, 1, 1, 0);
    m_BadgesBoxOpen = 1 - m_BadgesBoxOpen;
    // The list always opens at its top.
    if (m_BadgesBoxOpen == 1) m_BadgeScroll = m_BadgeScrollTarget = 0;
  }
  if (m_BadgesBoxOpen != 1) return;
  m_SetCol(255, 100, 100, 1);
  m_SetSize(2, kAbsent);
  m_DrawImg(kIcons, 32, y, 1);
  MenuButtonPen();
}

// As many rows as fit in half the screen, at most ten; the lists give way to an open box.
void bb_Vaultwick_MyApp::MenuScoreLists() {
  float h = bb_Vaultwick_jscrh;
  int space = static_cast<int>(h - 90 - h * 0.5f);
  int line = static_cast<int>(static_cast<float>(m_ImgInfo[3 * m_FontImg + 1]) * 1.5f);
  int rows = line > 0 ? space / line : 1;
  if (rows < 1) rows = 1;
  if (rows > 10) rows = 10;
  String top = rows == 1 ? String("Highscore") : String("Top ") + String(rows);
  String last = rows == 1 ? String("Last") : String("Last ") + String(rows);
  bool known = HasScoreLists(m_MenuMode);
  for (int i = 0; i < rows; ++i) {
    top = top + String("\\n") + m_rstr(known ? TopScore(m_MenuMode, i) : 0, 8, String(" "));
    last = last + String("\\n") + m_rstr(known ? LastScore(m_MenuMode, i) : 0, 8, String(" "));
  }
  float x = bb_Vaultwick_jscrw - kStripWidth - 4 * static_cast<float>(m_MenuIntro) + 20;
  m_SetCol(255, 200, 100, 1);
  m_SetSize(1.5f, kAbsent);
  if (NoBoxOpen()) m_Text(x, 60, top, 0, 0);
  m_SetCol(200, 255, 100, 1);
  m_SetSize(1.5f, kAbsent);
  if (NoBoxOpen()) m_Text(x, h * 0.5f, last, 0, 0);
}

// A coin turning on its axis, with the credits over it.
void bb_Vaultwick_MyApp::MenuCredits() {
  m_ResetDraw();
  m_CoinSpin = (m_CoinSpin + 6) % 360;
  float x = static_cast<float>(4 * m_MenuIntro + 32), y = bb_Vaultwick_jscrh * 0.6f;
  m_SetCol(180, 150, 0, kAbsent);
  m_Oval(x, y, 18 * SinDeg(static_cast<float>(m_CoinSpin)), 18);
  m_SetCol(255, 255, 255, kAbsent);
  m_Text(x, y, String(" ") + String(m_Settings[kSettingCredits]), 1, 0.5f);
}

void bb_Vaultwick_MyApp::MenuModeList() {
  int y = static_cast<int>(m_MenuScroll);
  int x = static_cast<int>(bb_Vaultwick_jscrw * 0.4f);
  for (int mode = 1; mode <= bb_Vaultwick_MaxGames; ++mode) y = MenuModeRow(mode, x, y) + kRowPitch;
}

int bb_Vaultwick_MyApp::MenuModeRow(int mode, int x, int y) {
  float h = bb_Vaultwick_jscrh, line = h * 0.65f, fx = static_cast<float>(x), fy = static_cast<float>(y);
  if (mode == m_MenuMode) {
    m_SetSize(1, kAbsent);
    m_SetCol(255, 255, 100, 0.8f);
    m_Rect(fx - 88, fy - 40, 176, 80);
  }
  m_SetCol(255, 255, 255, 1);
  // Whichever row comes near the selection line becomes the selected mode.
  if (std::fabs(fy - line) < 32 && mode != m_MenuMode) {
    m_PlaySFX(kSfxSelect, 1, 1, 0);
    m_MenuMode = mode;
  }
  m_SetSize(1.5f, kAbsent);
  m_Alpha(1 - std::fabs((fy - line) / (h * 0.8f)));  // rows fade away from the line
  bool selected = mode == m_MenuMode;
  if (selected) {
    m_SetSize(2, kAbsent);
    m_Alpha(1);
    // Keeps the selected row on screen.
    if (y < 16) m_MenuScroll += 8;
    if (fy > h - 16) m_MenuScroll -= 8;
  }
  int unlocked = m_GetFlag(m_Settings[kSettingUnlocked], mode);
  bool onScreen = mode <= 20 && y >= -71 && fy < h + 72;
  int pressed = 0;
  if (onScreen) {
    pressed = m_Button(kModeButtons, fx, fy, mode - 1);
    if (unlocked) {
      m_SetSize(0.75f, kAbsent);
      for (int k = 1; k <= m_GetLives(mode); ++k) m_DrawImg(kHeart, fx - 24 * static_cast<float>(k) + 94, fy + 24, 0);
    }
  }
  int cost = ModeCost(mode);
  if (!unlocked && onScreen) MenuPriceTag(x, y, cost, selected);
  if (pressed && m_PointerLatch == 0 && NoBoxOpen() && m_KeyLatch == 0) return MenuRowPressed(mode, y);
  return y;
}

// Red when the credits do not reach the price.
void bb_Vaultwick_MyApp::MenuPriceTag(int x, int y, int cost, bool selected) {
  float fx = static_cast<float>(x), fy = static_cast<float>(y), s = m_SizeX;
  m_Alpha(0.6f);
  if (cost > m_Settings[kSettingCredits])
    m_SetCol(255, 100, 100, kAbsent);
  else
    m_SetCol(100, 180, 240, kAbsent);
  m_Rect(fx - 42 * s, fy - 18 * s, 84 * s, 36 * s);
  m_SetCol(0, 4, 0, kAbsent);
  m_Oval(fx, fy, 32 * s, 15 * s);
  m_SetCol(255, 255, 255, kAbsent);
  m_SetSize(selected ? 3.0f : 2.0f, kAbsent);
  m_Text(fx, fy, String(" ") + String(cost), 1, 0.5f);
}

// A press on the selected row plays or buys it; on another row it brings that
// row to the selection line. The rows after it are then laid out from the list
// as it now stands, so they cannot take the selection back in the same update.
int bb_Vaultwick_MyApp::MenuRowPressed(int mode, int y) {
  if (mode == m_MenuMode) {
    int cost = ModeCost(mode);
    if (m_GetFlag(m_Settings[kSettingUnlocked], mode))
      StartRound();
    else if (m_Settings[kSettingCredits] >= cost)
      UnlockSelectedMode(cost);
    return y;
  }
  m_KeyLatch = 1;
  m_PointerLatch = 1;
  m_PlaySFX(kSfxJump, 1, 1, 0);
  m_MenuMode = mode;
  m_MenuScroll = bb_Vaultwick_jscrh * 0.65f - static_cast<float>((mode - 1) * kRowPitch);
  return static_cast<int>(m_MenuScroll) + (mode - 1) * kRowPitch;
}

// The list follows the pointer; a fast move is a drag, so it is not also a tap.
void bb_Vaultwick_MyApp::MenuDrag() {
  if (m_MouseWasDown < 1 || !NoBoxOpen() || m_KeyLatch != 0) return;
  int d = m_PrevPointerY - m_PointerY;
  if (std::abs(d) >= kDragThreshold) m_PointerLatch = 1;
  m_MenuScroll -= 1.5f * static_cast<float>(d);
}

void bb_Vaultwick_MyApp::MenuKeys() {
  if (m_KeyLatch != 0 || !NoBoxOpen()) return;
  float line = bb_Vaultwick_jscrh * 0.65f;
  if ((m_PlayKey(0) || m_PlayKey(3)) && m_MenuMode >= 2) {
    m_KeyLatch = 1;
    --m_MenuMode;
    m_MenuScroll = line - static_cast<float>((m_MenuMode - 1) * kRowPitch);
    m_PlaySFX(kSfxButton, 0.8f, 0.5f, 0);
  }
  if (m_KeyLatch == 0 && (m_PlayKey(8) || m_PlayKey(5)) && m_MenuMode < bb_Vaultwick_MaxGames) {
    m_KeyLatch = 1;
    ++m_MenuMode;
    m_MenuScroll = line - static_cast<float>((m_MenuMode - 1) * kRowPitch);
    m_PlaySFX(kSfxButton, 1.2f, 0.5f, 0);
  }
  bool action = false;
  for (int button = 10; button <= 17; ++button) action = action || m_PlayKey(button);
  if (m_KeyLatch != 0 || !action) return;
  if (m_GetFlag(m_Settings[kSettingUnlocked], m_MenuMode)) StartRound();
  int cost = ModeCost(m_MenuMode);
  bool locked = !m_GetFlag(m_Settings[kSettingUnlocked], m_MenuMode);
  if (m_KeyLatch == 0 && locked && m_Settings[kSettingCredits] >= cost) UnlockSelectedMode(cost);
}

void bb_Vaultwick_MyApp::MenuICadeButton() {
  m_ResetDraw();
  float y = static_cast<float>(4 * m_MenuIntro + 38);
  int hit = m_Button(kICadeIcon, bb_Vaultwick_jscrw - 38, y, bb_Vaultwick_iCadeControls);
  if (!hit || !NoBoxOpen() || m_PointerLatch != 0) return;
  m_PointerLatch = 1;
  m_iCade(bb_Vaultwick_iCadeControls == 0 ? 1 : 0);
  m_PlaySFX(kSfxBox, 1, 1, 0);
}

void bb_Vaultwick_MyApp::MenuCreditBoxButton() {
  m_SetSize(0.25f, kAbsent);
  float y = static_cast<float>(4 * m_MenuIntro + 20);
  int hit = m_Button(kCreditLogo, bb_Vaultwick_jscrw - 100, y, 0);
  if (!hit || m_PointerLatch != 0 || !NoBoxOpen()) return;
  m_PointerLatch = 1;
  m_PlaySFX(kSfxBox, 1, 1, 0);
  m_CreditBoxOpen = 1;
}

void bb_Vaultwick_MyApp::MenuPlayButton() {
  m_SetSize(3, 2.5f);
  m_SetCol(100, 255, 100, 0.4f);
  float y = bb_Vaultwick_jscrh - 48 - 4 * static_cast<float>(m_MenuIntro);
  int hit = m_Button(kIcons, bb_Vaultwick_jscrw - 70, y, 3);
  if (!hit || m_PointerLatch != 0 || m_KeyLatch != 0 || !NoBoxOpen()) return;
  if (m_GetFlag(m_Settings[kSettingUnlocked], m_MenuMode)) StartRound();
}

int bb_Vaultwick_MyApp::ModeCost(int mode) { return m_GetCost(static_cast<float>(25 * mode - 70)); }

// The round takes the selected mode; it is recorded here as well as at set-up
// so that the round is filed under the mode it was started in.
void bb_Vaultwick_MyApp::StartRound() {
  m_KeyLatch = 1;
  m_PointerLatch = 1;
  m_PlayedMode = m_MenuMode;
  m_Screen = kScreenRoundSetUp;
  m_PlaySFX(kSfxButton, 1.0f, 0.5f, 0);
}

// A purchase is saved at once: credits are hard to earn and must not be paid twice.
void bb_Vaultwick_MyApp::UnlockSelectedMode(int cost) {
  m_Settings[kSettingCredits] -= cost;
  m_Settings[kSettingUnlocked] = m_SetFlag(m_Settings[kSettingUnlocked], m_MenuMode, 1);
  m_Save();
  m_PointerLatch = 1;
  m_KeyLatch = 1;
  m_PlaySFX(kSfxUnlock, 1, 1, 0);
}

// Both sound buttons show 0 as off and anything else as on, and sound plays
// only at 1 or 2. A value the menus never write (from a hand-edited file) is
// taken as plain on, so what the button shows is what the player hears and
// the cycles below never meet a negative number.
void bb_Vaultwick_MyApp::NormaliseSound() {
  if (m_Settings[kSettingSound] < 0 || m_Settings[kSettingSound] > 3) m_Settings[kSettingSound] = 1;
}

// With music the pointer cycles four states; without, it toggles on and off.
void bb_Vaultwick_MyApp::ToggleSoundByPointer() {
  NormaliseSound();
  int& sound = m_Settings[kSettingSound];
  if (bb_Vaultwick_HasMusic == 1)
    sound = (sound + 1) % 4;
  else
    sound = sound >= 2 ? 0 : 1 - sound;
}

void bb_Vaultwick_MyApp::CycleSoundByKey() {
  NormaliseSound();
  m_Settings[kSettingSound] = (m_Settings[kSettingSound] + 1) % 4;
}

// With music, a small badge beside the sound button says which of effects,
// music or both are on.
void bb_Vaultwick_MyApp::DrawMusicState(float x, float y) {
  int sound = m_Settings[kSettingSound];
  if (sound < 1 || sound > 3 || bb_Vaultwick_HasMusic != 1) return;
  m_SetSize(1.5f, kAbsent);
  m_SetCol(180, 255, 255, kAbsent);
  m_DrawImg(kIcons, x + 20, y, static_cast<float>(sound + 7));
}
