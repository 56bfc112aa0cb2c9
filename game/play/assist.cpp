// What the options change in a round: a slower game (fewer updates a second,
// each the same fixed step) and the one button as a toggle, with the marks
// the head-up display shows for both.
#include "game/vaultwick.h"

namespace {

const int kFullRate = 60;     // updates a second of the menus, boxes and a full-speed round
const int kSlowestIndex = 5;  // the game speed setting's last value, 50 %
const float kPauseButtonSize = 32;

int SpeedPercent(int index) { return 100 - 10 * index; }

}  // namespace

// A running round at its speed; the menus, the boxes, the pause panel and
// game over at the full rate.
int bb_Vaultwick_MyApp::WantedUpdateRate() const {
  bool running = m_Screen == kScreenRound && m_Paused == 0 && m_RoundOver == 0;
  if (!running) return kFullRate;
  return kFullRate * SpeedPercent(m_RoundSpeed) / 100;
}

// Called at the end of every update, so the next one comes at the rate of the
// screen now showing. Only a change is passed on: setting the rate restarts
// the host's update clock.
void bb_Vaultwick_MyApp::KeepUpdateRate() {
  int rate = WantedUpdateRate();
  if (bb_app_device && bb_app_device->m_updateRate != rate) bb_app_SetUpdateRate(rate);
}

// Called by the round's set-up: the speed holds for the whole round, and a
// press still down from the menu is not a new press.
void bb_Vaultwick_MyApp::StartRoundAssists() {
  int speed = m_Settings[kSettingGameSpeed];
  m_RoundSpeed = speed < 0 ? 0 : speed > kSlowestIndex ? kSlowestIndex : speed;
  m_ToggleHeld = 0;
  m_PlayWasHeld = 1;
}

// In toggle mode each new press of the one button flips the held state, and
// only while the round runs: presses on the pause panel leave it alone.
int bb_Vaultwick_MyApp::ToggledHold(int held) {
  bool press = held == 1 && m_PlayWasHeld == 0;
  m_PlayWasHeld = held;
  if (!ToggleMode()) return held;
  if (press && Running()) m_ToggleHeld = 1 - m_ToggleHeld;
  return m_ToggleHeld;
}

// A tap on the pause button pauses; in toggle mode it must not also flip the
// hold the round comes back to.
bool bb_Vaultwick_MyApp::PointerOnPauseButton() {
  return ToggleMode() && m_MouseIn(0, 0, kPauseButtonSize, kPauseButtonSize) == 1;
}

// Below the pause button: the speed of a slowed round, and a lit dot while
// the toggled hold is on.
void bb_Vaultwick_MyApp::DrawAssistMarks() {
  if (RoundSlowed()) {
    m_SetCol(255, 255, 100, 0.75f);
    m_SetSize(1, kAbsent);
    m_Text(8, 44, String("Speed ") + String(SpeedPercent(m_RoundSpeed)) + String(" %"), 0, 1);
  }
  if (!ToggleMode() || m_ToggleHeld != 1) return;
  m_SetCol(100, 255, 100, 1);
  m_Oval(12, 60, 5, 5);
  m_SetSize(1, kAbsent);
  m_Text(24, 60, String("HOLD"), 0, 1);
}
