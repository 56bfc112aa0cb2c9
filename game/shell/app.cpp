// The game object's construction, lifecycle hooks, per-update input preamble,
// screen dispatch and the virtual-screen scaling of the render.
#include <cmath>

#include "audio/audio.h"
#include "game/vaultwick.h"
#include "graphics/context.h"
#include "input/input.h"

int bb_Vaultwick_MaxGames;
int bb_Vaultwick_MaxBadges;
int bb_Vaultwick_DebugMode;
int bb_Vaultwick_HasMusic;
int bb_Vaultwick_iCadeControls;
int bb_Vaultwick_OnScreenControls;
int bb_Vaultwick_AccelerometerControls;
int bb_Vaultwick_Headless;
float bb_Vaultwick_rawscrw, bb_Vaultwick_rawscrh;
float bb_Vaultwick_jscrw, bb_Vaultwick_jscrh;

namespace {

// Buttons the preamble polls, in order; the first one held ends the poll.
const int kPolledButtons[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, kButtonOptions, 99};
const int kBackButton = 99;
const int kTouchContacts = 10;

// Per-second rate from the time since `lastMs`, and its running average. A
// zero interval keeps the previous rate rather than dividing by zero. The
// clock wraps round after 24.8 days: the interval is taken in unsigned
// arithmetic, which stays right across the wrap.
void MeterRate(int& lastMs, int& fps, int& fpsAvg) {
  int now = bb_app_Millisecs();
  int interval = static_cast<int>(static_cast<unsigned>(now) - static_cast<unsigned>(lastMs));
  if (interval > 0) fps = 1000 / interval;
  fpsAvg = (fps + 9 * fpsAvg) / 10;
  lastMs = bb_app_Millisecs();
}

}  // namespace

bb_Vaultwick_MyApp::bb_Vaultwick_MyApp()
    : m_Img(100),
      m_ImgInfo(300),
      m_NoteBadge(15),
      m_NoteBusy(15),
      m_Badges(256),
      m_BadgesThisGame(256),
      m_Pad(20),
      m_Settings(25),
      m_Scores(200),
      m_SfxChannels(33),
      m_DrawList(kDrawListSize),
      m_TouchDown(kTouchContacts),
      m_TouchX(kTouchContacts),
      m_TouchY(kTouchContacts),
      m_Sfx(100),
      m_Upper(640),
      m_Trail(640),
      m_NoteRepeat(15),
      m_Particles(1024),
      m_Lower(640),
      m_PassHistory(10),
      m_Flags(10),
      m_RoundCounts(256) {}

bb_Vaultwick_MyApp* bb_Vaultwick_MyApp::g_new() {
  bb_app_App::g_new();
  return this;
}

void bb_Vaultwick_MyApp::mark() {
  bb_app_App::mark();
  gc_mark_q(m_Img);
  gc_mark_q(m_ImgInfo);
  gc_mark_q(m_NoteBadge);
  gc_mark_q(m_NoteBusy);
  gc_mark_q(m_Badges);
  gc_mark_q(m_BadgesThisGame);
  gc_mark_q(m_Pad);
  gc_mark_q(m_Settings);
  gc_mark_q(m_Scores);
  gc_mark_q(m_SfxChannels);
  gc_mark_q(m_DrawList);
  gc_mark_q(m_TouchDown);
  gc_mark_q(m_TouchX);
  gc_mark_q(m_TouchY);
  gc_mark_q(m_Sfx);
  gc_mark_q(m_Upper);
  gc_mark_q(m_Trail);
  gc_mark_q(m_NoteRepeat);
  gc_mark_q(m_Particles);
  gc_mark_q(m_Lower);
  gc_mark_q(m_PassHistory);
  gc_mark_q(m_Flags);
  gc_mark_q(m_RoundCounts);
}

int bb_Vaultwick_MyApp::m_OnCreate() {
  m_Screen = kScreenMenu;
  m_Mode = kVariantClassic;
  m_WorldMode = 1;
  // Score tables were sized for ten modes at start-up; only five are offered.
  bb_Vaultwick_MaxGames = 5;
  bb_Vaultwick_MaxBadges = 19;
  bb_app_SetUpdateRate(60);
  m_DevWidth = bb_graphics_device->Width();
  m_DevHeight = bb_graphics_device->Height();
  m_AccelBaseX = 0;
  m_AccelBaseY = 0;
  m_Reload();
  m_MenuMode = 2;
  m_MenuIntro = -32;
  m_Paused = 0;
  m_PauseOpened = -1;
  m_PauseY = -64;
  for (m_Iter = 0; m_Iter <= 14; ++m_Iter) {
    m_NoteBadge[m_Iter] = 0;
    m_NoteBusy[m_Iter] = 0;
  }
  for (m_Iter = 0; m_Iter <= 255; ++m_Iter) {
    m_Badges[m_Iter] = false;
    m_BadgesThisGame[m_Iter] = false;
  }
  for (m_Iter = 0; m_Iter <= 19; ++m_Iter) m_Pad[m_Iter] = 0;
  for (m_Iter = 0; m_Iter <= 24; ++m_Iter) m_Settings[m_Iter] = 0;
  m_Settings[kSettingSound] = 1;
  for (m_Iter = 0; m_Iter <= bb_Vaultwick_MaxGames * 10; ++m_Iter) m_Scores[m_Iter] = 0;
  // The saved state is read over the defaults above.
  m_Load();
  for (m_Iter = 0; m_Iter <= 32; ++m_Iter) m_SfxChannels[m_Iter] = m_Iter;
  m_MenuMode = m_Settings[kSettingLastMode];
  m_MenuScroll = bb_Vaultwick_jscrh * 0.65f - static_cast<float>(m_MenuMode * 82 - 82);
  return 0;
}

void bb_Vaultwick_MyApp::ScanPointer() {
  if (m_Player.Driving()) {
    ScanReplayPointer();
    return;
  }
  gxtkInput* input = bb_input_device;
  m_PrevPointerX = m_PointerX;
  m_PrevPointerY = m_PointerY;
  m_PointerX = static_cast<int>(input->MouseX() / m_ScaleX);
  m_PointerY = static_cast<int>(input->MouseY() / m_ScaleY);
  // A new press starts where the pointer is, so it never shows a jump.
  if (m_MouseWasDown == 0 && input->KeyDown(kKeyMouseLeft)) {
    m_PrevPointerX = m_PointerX;
    m_PrevPointerY = m_PointerY;
  }
  m_PointerDown = input->KeyDown(kKeyMouseLeft);
  m_PointerHits = input->KeyHit(kKeyMouseLeft);
  for (int i = 0; i < kTouchContacts; ++i) {
    m_TouchDown[i] = 0;
    m_TouchX[i] = static_cast<int>(kAbsent);
    m_TouchY[i] = static_cast<int>(kAbsent);
    if (input->KeyDown(kKeyTouch0 + i)) {
      m_TouchDown[i] = 1;
      m_TouchX[i] = static_cast<int>(input->TouchX(i) / m_ScaleX);
      m_TouchY[i] = static_cast<int>(input->TouchY(i) / m_ScaleY);
      m_PointerDown = 1;
    }
  }
  m_MouseWasDown = input->KeyDown(kKeyMouseLeft);
  if (m_PointerDown == 0) m_PointerLatch = 0;
}

// Runs the current screen, then the overlays that follow it in the same
// update: game over over a finished round and over the menu it returns to,
// then the boxes over the menu.
void bb_Vaultwick_MyApp::DispatchScreen() {
  switch (m_Screen) {
    case kScreenMenu:
      m_Menu();
      break;
    case kScreenBackToMenu:
      // A round played back is not filed: the playback gives the tables back.
      if (m_Player.active)
        StopReplay();
      else
        m_LoadMenu();
      m_Screen = kScreenMenu;
      break;
    case kScreenRound:
      m_Game();
      m_InGame();
      break;
    case kScreenRoundSetUp:
      if (!m_Player.active) BeginRecording();
      m_LoadGame();
      break;
    default:
      break;
  }
  if (m_Screen == kScreenRound && m_RoundOver >= 1) m_GameOver();
  if (m_Screen == kScreenMenu || m_Screen == kScreenBackToMenu) m_GameOver();
  if (m_Screen == kScreenMenu) {
    if (m_CreditBoxOpen == 1) m_CreditBox();
    if (m_Screen == kScreenMenu && m_BadgesBoxOpen == 1) m_BadgesBox();
    if (m_Screen == kScreenMenu && m_OptionsBoxOpen == 1) m_OptionsBox();
  }
}

// While a replay is watched, any key ends it, its pauses pass at once and a
// label says what it is.
int bb_Vaultwick_MyApp::m_OnUpdate() {
  if (Watching() && WatchInterrupted()) StopReplay();
  UpdateOnce();
  SkipReplayPauses();
  if (Watching() && m_Player.began) DrawReplayLabel();
  return 0;
}

void bb_Vaultwick_MyApp::UpdateOnce() {
  MeterRate(m_UpdateLastMs, m_UpdateFps, m_UpdateFpsAvg);
  ReplayBeginUpdate();
  ScanPointer();

  int anyHeld = 0;
  for (int button : kPolledButtons) {
    if (m_PlayKey(button)) {
      anyHeld = 1;
      break;
    }
  }
  if (!anyHeld) m_KeyLatch = 0;

  // The back button closes an open box and is then spent, so the same press
  // cannot also work a menu button underneath.
  if ((!anyHeld || m_KeyLatch == 0) && m_PointerLatch == 0 && m_PlayKey(kBackButton) && m_Screen == kScreenMenu &&
      (m_CreditBoxOpen == 1 || m_BadgesBoxOpen == 1 || m_OptionsBoxOpen == 1)) {
    m_CreditBoxOpen = 0;
    m_BadgesBoxOpen = 0;
    if (m_OptionsBoxOpen == 1) CloseOptionsBox();
    m_KeyLatch = 1;
    m_PointerLatch = 1;
  }

  if (m_LoadStep == 0) DispatchScreen();
  if (m_LoadStep > 0) m_Loader();

  if (bb_Vaultwick_iCadeControls == 1) ReadICadeLetters();
  // On-screen buttons hold for exactly one update.
  for (int& pad : m_Pad)
    if (pad == 1) pad = 0;
  bool stick = bb_Vaultwick_OnScreenControls == 1 && bb_Vaultwick_iCadeControls == 0;
  if (stick && m_Screen >= kScreenRound) OnScreenStick();
  if (bb_Vaultwick_AccelerometerControls == 1 && bb_Vaultwick_iCadeControls == 0) TiltIndicator();
  if (bb_Vaultwick_iCadeControls == 1) {
    m_TiltX = m_TiltY = 0;
    m_TiltSmoothX = m_TiltSmoothY = 0;
  }

  if (bb_Vaultwick_DebugMode == 1) {
    m_ResetDraw();
    // Tilt controls draw their indicator in the bottom corner, so the meter
    // moves up out of its way.
    float y = bb_Vaultwick_AccelerometerControls == 1 && bb_Vaultwick_iCadeControls == 0
                  ? bb_Vaultwick_jscrh * 0.5f
                  : bb_Vaultwick_jscrh - 16;
    m_Text(16, y, String(m_RenderFpsAvg), 0, 0);
  }
  m_ShowBadges();  // badge notifications over every screen, loading included
  ReplayEndUpdate();
  KeepUpdateRate();
  UpdateMusic();
}

int bb_Vaultwick_MyApp::m_OnRender() {
  MeterRate(m_RenderLastMs, m_RenderFps, m_RenderFpsAvg);

  // Cleared by drawing rather than glClear, so a clear alpha below 1 blends
  // the new frame over the old one.
  int width = bb_graphics_DeviceWidth();
  int height = bb_graphics_DeviceHeight();
  bb_graphics_SetColor(m_ClearR, m_ClearG, m_ClearB);
  bb_graphics_SetAlpha(m_ClearA);
  bb_graphics_DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
  bb_graphics_SetColor(255, 255, 255);
  bb_graphics_SetAlpha(1);

  // A new window size needs art of another resolution: load everything again
  // (after a replay being watched, which a reload would put out of step).
  bool resized = bb_graphics_device->Width() != m_DevWidth || bb_graphics_device->Height() != m_DevHeight;
  if (resized && !Watching()) {
    m_LoadStep = 1;
    m_DevWidth = bb_graphics_device->Width();
    m_DevHeight = bb_graphics_device->Height();
  }

  // One uniform scale, the larger of the two ratios, so the virtual screen
  // keeps one design dimension and shrinks the other to the window's shape.
  m_ScaleX = static_cast<float>(width) / bb_Vaultwick_rawscrw;
  m_ScaleY = static_cast<float>(height) / bb_Vaultwick_rawscrh;
  m_ScaleMode = 1;
  if (std::fabs(m_ScaleX - 1) > std::fabs(m_ScaleY - 1)) m_ScaleMode = 2;
  if (m_ScaleX > m_ScaleY) m_ScaleMode = 1;
  if (m_ScaleY > m_ScaleX) m_ScaleMode = 2;
  if (m_ScaleMode == 2) m_ScaleX = m_ScaleY;
  if (m_ScaleMode == 1) m_ScaleY = m_ScaleX;
  bb_Vaultwick_jscrw = static_cast<float>(width) / m_ScaleX;
  bb_Vaultwick_jscrh = static_cast<float>(height) / m_ScaleY;
  m_Landscape = bb_Vaultwick_jscrh > bb_Vaultwick_jscrw ? 0 : 1;

  if (Watching())
    RenderLetterboxed(width, height);
  else
    ReplayDrawList();

  bb_graphics_SetAlpha(0.5f);
  bb_graphics_SetColor(255, 255, 255);
  return 0;
}

void bb_Vaultwick_MyApp::PauseIfInRound() {
  if (m_Screen >= kScreenRound) {
    m_Paused = 1;
    m_PauseOpened = 1;
    m_PauseY = static_cast<int>(bb_Vaultwick_jscrh * 0.5f);
  } else {
    m_Paused = 0;
    m_PauseOpened = 0;
    m_PauseY = 0;
  }
}

int bb_Vaultwick_MyApp::m_OnSuspend() {
  StopReplay();  // a replay being watched ends, and the menu is saved as it was
  m_iCade(0);
  PauseIfInRound();
  // The host runs no updates while suspended; the low rate only matters to
  // hosts that keep updating in the background.
  bb_app_SetUpdateRate(5);
  // A close of the window also ends here: a round still open is saved as
  // filed, so it is not lost.
  SaveFilingOpenRound();
  return 0;
}

int bb_Vaultwick_MyApp::m_OnResume() {
  PauseIfInRound();
  bb_app_SetUpdateRate(60);
  m_iCade(0);
  return 0;
}

// Another window took the focus: a notification must not cost the player a
// life, so a running round pauses as if the pause key were pressed.
// Elsewhere nothing changes.
int bb_Vaultwick_MyApp::m_OnFocusLost() {
  if (m_Player.active) return 0;  // a replay's pauses are its own
  if (m_Screen == kScreenRound && m_Paused == 0 && m_RoundOver == 0) OpenPause();
  return 0;
}
