// The options box: a panel over the main menu, like the credits box, with one
// row per option (effects and music volume, game speed, how the one button
// works, fullscreen). Keys, the pointer and a pad's d-pad choose rows and step
// values; every change shows or sounds at once, and the box saves on closing.
#include "app/app.h"
#include "audio/audio.h"
#include "game/vaultwick.h"

namespace {

const int kIcons = 97;
const int kGearFrame = 13;   // the gear on the icons sheet
const float kGearRise = 0.135f;  // of the screen's height, from the sound button up
const int kArrows = 94;      // the d-pad sheet: frame 4 points left, 6 right
const int kArrowLeft = 4, kArrowRight = 6;

const int kSfxButton = 98;
const int kSfxBox = 99;
const int kSfxSample = 13;   // the effect heard while the effects volume changes

const int kUp = 0, kLeft = 3, kRight = 5, kDown = 8, kAction = 10;

enum OptionRow { kRowEffects, kRowMusic, kRowSpeed, kRowButton, kRowFullscreen, kRowCount };

const char* const kRowLabels[kRowCount] = {"Effects volume", "Music volume", "Game speed", "Button", "Fullscreen"};

// Values a saved option may hold, from 0; the row steps round through them.
const int kVolumeSteps = 11;  // 100 % down to 0 %
const int kSpeedSteps = 6;    // 100 % down to 50 %
const int kButtonModes = 2;   // hold, toggle

// Panel layout in fractions of the virtual screen, as the credits box has it.
const float kPanelLeft = 0.1f, kPanelTop = 0.2f, kPanelWidth = 0.8f, kPanelHeight = 0.6f;
const float kInset = 0.02f;
const float kLabelX = 0.15f, kLeftArrowX = 0.6f, kValueX = 0.725f, kRightArrowX = 0.85f;
// The panel's height holds the title and the five rows in seven pitches.
const float kPitches = 7;

int Wrap(int value, int count) { return ((value % count) + count) % count; }

int Clamp(int value, int most) { return value < 0 ? 0 : value > most ? most : value; }

// Gain of a volume setting: full at 0, 10 % less for every step down.
float StepGain(int steps) {
  float gain = 1.0f - 0.1f * static_cast<float>(Clamp(steps, kVolumeSteps - 1));
  return gain < 0 ? 0 : gain;
}

String Percent(int percent) { return String(percent) + String(" %"); }

}  // namespace

float bb_Vaultwick_MyApp::EffectsVolume() { return StepGain(m_Settings[kSettingEffectsVolume]); }

// Called by the load: values from a damaged or hand-edited file are pulled
// into their rows' ranges.
void bb_Vaultwick_MyApp::ClampOptionSettings() {
  m_Settings[kSettingEffectsVolume] = Clamp(m_Settings[kSettingEffectsVolume], kVolumeSteps - 1);
  m_Settings[kSettingMusicVolume] = Clamp(m_Settings[kSettingMusicVolume], kVolumeSteps - 1);
  m_Settings[kSettingGameSpeed] = Clamp(m_Settings[kSettingGameSpeed], kSpeedSteps - 1);
  m_Settings[kSettingButtonMode] = Clamp(m_Settings[kSettingButtonMode], kButtonModes - 1);
}

// The gear over the sound button, in the menu's button style; the O key and
// a pad's Back button open the box too. Called by m_Menu.
void bb_Vaultwick_MyApp::MenuOptionsButton() {
  m_ResetDraw();
  m_SetSize(2, kAbsent);
  m_SetCol(120, 200, 255, 1);
  // Above the sound button, clear of the badges button on short screens too.
  float h = bb_Vaultwick_jscrh;
  float x = static_cast<float>(4 * m_MenuIntro + 48);
  float y = static_cast<float>(static_cast<int>(h * 0.4f) - static_cast<int>(h * kGearRise));
  int hit = m_Button(kIcons, x, y, kGearFrame);
  if (!NoBoxOpen()) return;
  if (TapAct(hit) || KeyAct(kButtonOptions)) OpenOptionsBox();
}

void bb_Vaultwick_MyApp::OpenOptionsBox() {
  m_OptionsBoxOpen = 1;
  m_OptionsRow = kRowEffects;
  m_PlaySFX(kSfxBox, 1, 1, 0);
}

// Changes are kept in memory while the box is open and written once here.
void bb_Vaultwick_MyApp::CloseOptionsBox() {
  m_OptionsBoxOpen = 0;
  m_PlaySFX(kSfxBox, 1, 1, 0);
  m_Save();
}

// Called after m_Menu while the box is open; the back button closes it in the
// update's preamble.
int bb_Vaultwick_MyApp::m_OptionsBox() {
  float h = bb_Vaultwick_jscrh;
  float top = h * kPanelTop, pitch = h * kPanelHeight / kPitches;
  // Keys first, so the rows drawn below already show what they changed.
  OptionsKeys();
  if (m_OptionsBoxOpen != 1) return 0;
  OptionsPanel(top, pitch);
  OptionsTap(top, pitch);
  return 0;
}

// The framed panel, its title and the rows; an arrow's tap steps its row.
void bb_Vaultwick_MyApp::OptionsPanel(float top, float pitch) {
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  m_ResetDraw();
  m_SetCol(255, 125, 0, 0.8f);
  m_Rect(w * kPanelLeft, h * kPanelTop, w * kPanelWidth, h * kPanelHeight);
  m_SetCol(100, 0, 0, 0.8f);
  m_Rect(w * (kPanelLeft + kInset), h * (kPanelTop + kInset), w * (kPanelWidth - 2 * kInset),
         h * (kPanelHeight - 2 * kInset));
  m_SetCol(255, 255, 255, 1);
  m_SetSize(2, kAbsent);
  m_Text(w * 0.5f, top + pitch * 0.8f, String("Options"), 1, 1);
  for (int row = 0; row < kRowCount; ++row) OptionsRow(row, top + pitch * static_cast<float>(2 + row));
}

// A row's arrows are tried before its texts are drawn, so a tap on one shows
// its new value in the same update.
void bb_Vaultwick_MyApp::OptionsRow(int row, float y) {
  float w = bb_Vaultwick_jscrw, pitch = bb_Vaultwick_jscrh * kPanelHeight / kPitches;
  m_ResetDraw();
  if (row == m_OptionsRow) {
    m_SetCol(255, 255, 100, 0.25f);
    m_Rect(w * (kPanelLeft + kInset), y - pitch * 0.45f, w * (kPanelWidth - 2 * kInset), pitch * 0.9f);
    m_SetCol(255, 255, 255, 1);
  }
  m_SetSize(0.75f, kAbsent);
  int step = 0;
  if (m_Button(kArrows, w * kLeftArrowX, y, kArrowLeft)) step = -1;
  if (m_Button(kArrows, w * kRightArrowX, y, kArrowRight)) step = 1;
  if (TapAct(step != 0)) {
    m_OptionsRow = row;
    StepOption(row, step);
  }
  m_SetSize(1.5f, kAbsent);
  if (row == m_OptionsRow)
    m_SetCol(255, 255, 100, 1);
  else
    m_SetCol(255, 255, 255, 1);
  m_Text(w * kLabelX, y, String(kRowLabels[row]), 0, 1);
  m_Text(w * kValueX, y, OptionValue(row), 1, 1);
}

// Up and Down choose a row; Right, Enter and Space step its value on, Left
// back. The d-pad and stick read as the arrow keys.
void bb_Vaultwick_MyApp::OptionsKeys() {
  if (KeyAct(kButtonOptions)) {
    CloseOptionsBox();
    return;
  }
  if (KeyAct(kUp)) {
    if (m_OptionsRow > 0) --m_OptionsRow;
    m_PlaySFX(kSfxButton, 0.8f, 0.5f, 0);
  } else if (KeyAct(kDown)) {
    if (m_OptionsRow < kRowCount - 1) ++m_OptionsRow;
    m_PlaySFX(kSfxButton, 1.2f, 0.5f, 0);
  } else if (KeyAct(kLeft)) {
    StepOption(m_OptionsRow, -1);
  } else if (KeyAct(kRight) || KeyAct(kAction)) {
    StepOption(m_OptionsRow, 1);
  }
}

// A new tap on a row's band chooses it, and one outside the panel closes the
// box; a tap is spent either way, so nothing under the box reacts.
void bb_Vaultwick_MyApp::OptionsTap(float top, float pitch) {
  if (m_PointerDown < 1 || m_PointerLatch != 0) return;
  m_PointerLatch = 1;
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  if (!m_MouseIn(w * kPanelLeft, h * kPanelTop, w * kPanelWidth, h * kPanelHeight)) {
    CloseOptionsBox();
    return;
  }
  for (int row = 0; row < kRowCount; ++row) {
    float y = top + pitch * static_cast<float>(2 + row);
    if (m_MouseIn(w * kPanelLeft, y - pitch * 0.5f, w * kPanelWidth, pitch)) m_OptionsRow = row;
  }
}

// One step through a row's values, round from the last to the first; each
// change is heard or seen at once.
void bb_Vaultwick_MyApp::StepOption(int row, int delta) {
  switch (row) {
    case kRowEffects:
      m_Settings[kSettingEffectsVolume] = Wrap(m_Settings[kSettingEffectsVolume] + delta, kVolumeSteps);
      m_PlaySFX(kSfxSample, 1, 1, 0);  // at the new volume
      return;
    case kRowMusic:
      // Heard from the next update on, which sets the music's gain from it.
      m_Settings[kSettingMusicVolume] = Wrap(m_Settings[kSettingMusicVolume] + delta, kVolumeSteps);
      break;
    case kRowSpeed:
      m_Settings[kSettingGameSpeed] = Wrap(m_Settings[kSettingGameSpeed] + delta, kSpeedSteps);
      break;
    case kRowButton:
      m_Settings[kSettingButtonMode] = Wrap(m_Settings[kSettingButtonMode] + delta, kButtonModes);
      break;
    case kRowFullscreen:
      ToggleFullscreen();  // as F11 does; the window mode is not saved
      break;
  }
  m_PlaySFX(kSfxButton, delta < 0 ? 0.8f : 1.2f, 0.5f, 0);
}

String bb_Vaultwick_MyApp::OptionValue(int row) {
  switch (row) {
    case kRowEffects:
      return Percent(100 - 10 * Clamp(m_Settings[kSettingEffectsVolume], kVolumeSteps - 1));
    case kRowMusic:
      return Percent(100 - 10 * Clamp(m_Settings[kSettingMusicVolume], kVolumeSteps - 1));
    case kRowSpeed:
      return Percent(100 - 10 * Clamp(m_Settings[kSettingGameSpeed], kSpeedSteps - 1));
    case kRowButton:
      return String(m_Settings[kSettingButtonMode] == 1 ? "Toggle" : "Hold");
    case kRowFullscreen:
      return String(IsFullscreen() ? "On" : "Off");
  }
  return String();
}
