// The ten play modes: the set-up of a round (variant, opening pattern, lives,
// difficulty, column width and seed), the world sheets and sound set of the
// variant, and the lives and unlock-cost tables the menu consults.
#include <climits>
#include <cmath>
#include <cstring>

#include "game/vaultwick.h"

namespace {

// One play mode's rules. A seed of kClockSeed means the round's clock at its
// set-up, so that mode's spikes differ every round; every other mode replays
// its own.
const int kClockSeed = -1;

struct PlayModeRow {
  int variant;
  const char* pattern;  // one column per character: kind = code - 64
  int maxPiece, maxPieceCap, columnWidth, seed;
};

const PlayModeRow kPlayModes[] = {
    {kVariantClassic, "0000AAAAIIIIEEEE", 1, 9, 256, 12345},
    {kVariantClassic, "AABBCCDDEEDDCCBBAA", 5, 9, 256, 24690},
    {kVariantLake, "ABCDEFGHIABCDEFGHI", 5, 9, 256, 37035},
    {kVariantRunner, "       ", 1, 5, 112, 37171650},
    {kVariantFlying, "  ", 8, 8, 400, 61725},
    {kVariantBeams, "ABCIHG", 5, 9, 256, 74070},
    {kVariantGun, "AACCEEGGIIGGEECCAA", 5, 9, 256, 86415},
    {kVariantPickups, "CGCGCGGC", 5, 9, 256, kClockSeed},
    {kVariantShields, "ACDC", 10, 27, 256, 111105},
    {kVariantSmash, "ABCDEFGHGFEDCBA", 9, 9, 256, 123450},
};
const int kPlayModeCount = sizeof(kPlayModes) / sizeof(kPlayModes[0]);

const int kOpeningColumns = 21;
const int kEffectRecords = 100;
const int kEffectStride = 10;

}  // namespace

int bb_Vaultwick_MyApp::m_GetLives(int mode) {
  switch (mode) {
    case 1:
    case 3:
    case 4:
    case 6:
      return 3;
    case 7:
    case 10:
      return 1;
    default:
      return 0;
  }
}

// Credits to unlock a play mode: whole multiples of 25, at least 5. The menu
// may pass any float, so the result is clamped into the int range.
int bb_Vaultwick_MyApp::m_GetCost(float x) {
  float c = std::floor(x / 25) * 25;
  if (!(c >= 5)) return 5;  // also catches a NaN
  if (c >= 2147483648.0f) return INT_MAX;
  return static_cast<int>(c);
}

// Sets up a round of play mode m_MenuMode; the dispatch runs its first frame
// in the next update.
int bb_Vaultwick_MyApp::m_LoadGame() {
  StartRoundClock();
  ResetRoundCounters();
  ClearRoundArrays();
  ResetTrackAndGenerator();
  const char* pattern = ApplyPlayMode();
  StartTrailAtCharacter();
  PlaceOpeningColumns(pattern);
  for (int r = 0; r < kEffectRecords; ++r) m_Particles[r * kEffectStride] = 0;
  m_UpperGap = 0;
  ReloadWorldSheets();
  ReloadVariantSounds();
  return 0;
}

void bb_Vaultwick_MyApp::ResetRoundCounters() {
  m_Angle = 0;
  m_Lift = 0;
  m_Clock = 0;
  m_ComboTimer = 0;
  m_Shots = 0;
  for (int i = 0; i < 10; ++i) m_PassHistory[i] = 0;
  m_Charge = 0;
  m_BulletX = 0;
  m_Accel = 0.05f;
  m_Speed = 0;
  m_NextCredit = 250;
  m_CreditsEarned = 0;
  m_Settings[kSettingLastMode] = m_MenuMode;  // the last mode played is remembered
  StartRoundAssists();
  m_Score = 0;
  m_Combo = 0;
  m_Chain = 1;
  m_RoundOver = 0;
  m_Screen = kScreenRound;
  m_Boost = 0;
  m_ColumnOffset = 0;
  m_Columns = 0;
  m_Passed = 0;
  m_GameOverTime = 0;
  m_PlayedMode = m_MenuMode;
  // A round starts unpaused whatever the last one left behind (iconifying
  // over the game-over overlay pauses the finished round).
  m_Paused = 0;
  m_PauseOpened = -1;
  m_PauseY = -64;
}

void bb_Vaultwick_MyApp::ClearRoundArrays() {
  for (int i = 0; i < 640; ++i) {
    m_Trail[i] = 0;
    m_Lower[i] = 0;
    m_Upper[i] = 0;
  }
  for (int i = 0; i < 256; ++i) {
    m_RoundCounts[i] = 0;
    m_BadgesThisGame[i] = false;
  }
}

void bb_Vaultwick_MyApp::ResetTrackAndGenerator() {
  m_ColumnWidth = 256;
  m_Column = 0;
  for (int i = 0; i < 10; ++i) m_Flags[i] = 0;
  // A press still held from the menu must not count as the first move.
  m_PointerLatch = 1;
  m_KeyLatch = 1;
  // The play mode comes from the save data, so the product may not fit.
  m_PieceSeed = static_cast<int>(static_cast<uint32_t>(m_MenuMode) * 12345u);
  m_MaxPiece = 5;
  m_MaxPieceCap = 9;
  m_PiecesPerStep = 8;
  m_PieceCount = 0;
  m_Lives = m_GetLives(m_MenuMode);
  m_GapCount = 0;  // so play mode 4 opens the same way every round
}

// The play mode's row over the defaults; returns its opening pattern. A play
// mode outside the table keeps the defaults and the previous variant.
const char* bb_Vaultwick_MyApp::ApplyPlayMode() {
  if (m_MenuMode >= 1 && m_MenuMode <= kPlayModeCount) {
    const PlayModeRow& row = kPlayModes[m_MenuMode - 1];
    m_Mode = row.variant;
    m_MaxPiece = row.maxPiece;
    m_MaxPieceCap = row.maxPieceCap;
    m_ColumnWidth = row.columnWidth;
    m_PieceSeed = row.seed == kClockSeed ? RoundMillisecs() : row.seed;
  }
  // The column position carries over from the last round; a narrower column
  // must not let several columns enter with no travel.
  m_ColumnPos = std::fmod(m_ColumnPos, static_cast<float>(m_ColumnWidth));
  if (m_MenuMode >= 1 && m_MenuMode <= kPlayModeCount) return kPlayModes[m_MenuMode - 1].pattern;
  return "";
}

// The first 21 columns. Every one draws a piece, even where the pattern sets
// its kind, so the seed and difficulty counters advance the same way.
void bb_Vaultwick_MyApp::PlaceOpeningColumns(const char* pattern) {
  int length = static_cast<int>(std::strlen(pattern));
  for (int i = 0; i < kOpeningColumns; ++i) {
    m_NextPiece();
    if (i < length) {
      m_NextKind = static_cast<unsigned char>(pattern[i]) - 64;
      m_NextTier = 0;
    }
    m_Place(m_NextKind, m_NextTier);
    bool pickups = m_Mode == kVariantPickups || m_Mode == kVariantShields;
    if (pickups && m_PieceRoll < 5) m_Placeb(UpperLevelBesideSpike(), 0);
  }
}

// All 21 trail records start where the character stands, so the trail has
// nothing to show until the character moves.
void bb_Vaultwick_MyApp::StartTrailAtCharacter() {
  ComputeGround();
  for (int i = 0; i <= 20; ++i) {
    float* rec = &m_Trail[i * 10];
    rec[1] = m_Distance + 128;
    rec[2] = CharacterY();
    rec[3] = CharacterFrame();
    rec[5] = 0;
  }
}

void bb_Vaultwick_MyApp::ReloadWorldSheets() {
  if (m_WorldMode == m_Mode) return;
  String sheet = String("world") + m_rstr(m_Mode, 3, String("0"));
  m_LoadImg(1, sheet, 32, 32, 50, 1);
  m_LoadImg(2, sheet, 320, 16, 10, 1);
  m_WorldMode = m_Mode;
}

// Sound slots 2, 3 and 4 hold the variant's own set where it has one.
void bb_Vaultwick_MyApp::ReloadVariantSounds() {
  int own = m_GetSFX();
  if (own == 0 && m_SfxSet > 0) {
    for (int slot = 2; slot <= 4; ++slot) m_LoadSFX(slot, 0);
    m_SfxSet = 0;
  } else if (own == 1 && m_SfxSet != m_Mode) {
    for (int slot = 2; slot <= 4; ++slot) m_LoadSFX(slot, m_Mode);
    m_SfxSet = m_Mode;
  }
}
