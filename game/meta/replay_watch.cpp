// Watching a replay from the main menu: the button beside the Top list and
// the R key start the selected mode's best run; it plays as it was, with
// "REPLAY" over it, its pauses skipped and its own screen size letterboxed in
// the window, until it ends or any key, click or the pad's Start ends it.
// What the menu says when there is nothing to watch is shown under the list.
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "game/vaultwick.h"
#include "graphics/context.h"
#include "input/input.h"

namespace {

const int kIcons = 97;
const int kPlayIcon = 3;
// The replay button: right of the Top list's numbers, under the iCade button.
const float kButtonX = 120;  // vu from the score strip's left edge
const float kButtonY = 86;
const float kButtonSize = 0.75f;
const int kSfxButton = 98;
const int kNoteUpdates = 180;          // three seconds
const int kMostSkippedPerUpdate = 600;  // a long pause passes in a few frames
const int kPadStart = kKeyJoy0 + 7;

const char* WhyNot(replay::ReadError error) {
  switch (error) {
    case replay::ReadError::kNewerFormat:
    case replay::ReadError::kOtherRules:
      return "That replay is from another version";
    default:
      return "That replay is damaged";
  }
}

}  // namespace

bool bb_Vaultwick_MyApp::Watching() const {
  return m_Player.active && m_Player.purpose == ReplayPlayer::kWatch;
}

void bb_Vaultwick_MyApp::SetReplayNote(const char* text) {
  std::snprintf(m_ReplayNote, sizeof m_ReplayNote, "%s", text);
  m_ReplayNoteTime = kNoteUpdates;
}

// Plays back the best run of play mode `mode`, or says why it cannot.
void bb_Vaultwick_MyApp::WatchBestRun(int mode) {
  std::string bytes;
  if (!LoadStateAreaFile(BestRunFile(mode), replay::kMaxFileBytes + 1, &bytes)) {
    SetReplayNote("No replay of this mode yet");
    return;
  }
  replay::Replay recorded;
  replay::ReadError error =
      replay::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &recorded);
  if (error != replay::ReadError::kNone) {
    SetReplayNote(WhyNot(error));
    return;
  }
  // Best runs are kept per mode; one under another mode's name is not its best.
  if (recorded.header.playMode != mode) {
    SetReplayNote("That replay is of another mode");
    return;
  }
  m_ReplayNoteTime = 0;
  m_PlaySFX(kSfxButton, 1.0f, 0.5f, 0);
  StartReplay(recorded, ReplayPlayer::kWatch);
}

// The last step of the main menu: the replay button beside the Top list
// (drawn with the lists, so not while a box covers them), the R key, and
// the note.
void bb_Vaultwick_MyApp::MenuReplay() {
  if (NoBoxOpen() && m_Screen == kScreenMenu) {
    float x0 = bb_Vaultwick_jscrw - 140 - static_cast<float>(4 * m_MenuIntro);
    m_ResetDraw();
    m_SetSize(kButtonSize, kAbsent);
    m_SetCol(255, 255, 255, 0.8f);  // not the list's own colour: it is no row of it
    int hit = m_Button(kIcons, x0 + kButtonX, kButtonY, kPlayIcon);
    // The iCade types letters for its buttons, R among them.
    bool key = bb_Vaultwick_iCadeControls == 0 && bb_input_device->KeyHit('R') != 0;
    if (TapAct(hit) || key) WatchBestRun(m_MenuMode);
  }
  if (m_ReplayNoteTime <= 0) return;
  --m_ReplayNoteTime;
  m_ResetDraw();
  m_SetSize(1.5f, kAbsent);
  m_SetCol(255, 140, 140, 1);
  m_Text(bb_Vaultwick_jscrw * 0.4f, bb_Vaultwick_jscrh - 20, String(m_ReplayNote), 1, 1);
}

// A playback whose round went another way than its recording stops there.
void bb_Vaultwick_MyApp::ReplayOutOfStep() {
  if (!Watching()) return;
  char text[64];
  std::snprintf(text, sizeof text, "Replay out of step at update %u", m_Player.mismatchAt);
  StopReplay();
  SetReplayNote(text);
}

// Any key or mouse button pressed, or the pad's Start, while watching.
bool bb_Vaultwick_MyApp::WatchInterrupted() {
  gxtkInput* input = bb_input_device;
  for (int key = 1; key < kKeyJoy0; ++key)
    if (input->KeyHit(key)) return true;
  return input->KeyHit(kPadStart) != 0;
}

// While watching, the updates in which the round stood paused run at once.
void bb_Vaultwick_MyApp::SkipReplayPauses() {
  for (int n = 0; n < kMostSkippedPerUpdate && Watching() && m_Player.Driving() && m_Paused == 1; ++n) UpdateOnce();
}

void bb_Vaultwick_MyApp::DrawReplayLabel() {
  m_ResetDraw();
  m_SetSize(2, kAbsent);
  m_SetCol(255, 90, 90, 0.9f);
  m_Text(bb_Vaultwick_jscrw * 0.5f, 84, String("REPLAY"), 1, 1);
}

// The render while watching: the replay's own virtual screen, as large as
// the window holds it and centred, with black bars beside or above it.
void bb_Vaultwick_MyApp::RenderLetterboxed(int width, int height) {
  float w = m_Player.width, h = m_Player.height;
  float scale = std::min(static_cast<float>(width) / w, static_cast<float>(height) / h);
  float left = (static_cast<float>(width) - w * scale) / 2, top = (static_cast<float>(height) - h * scale) / 2;
  m_ScaleX = m_ScaleY = scale;
  bb_Vaultwick_jscrw = w;
  bb_Vaultwick_jscrh = h;
  m_Landscape = h > w ? 0 : 1;
  bb_graphics_PushMatrix();
  bb_graphics_Translate(left, top);
  bb_graphics_SetScissor(left, top, w * scale, h * scale);
  ReplayDrawList();
  bb_graphics_SetScissor(0, 0, static_cast<float>(width), static_cast<float>(height));
  bb_graphics_PopMatrix();
}
