// The track's column generator and the ring of 64 columns: drawing the next
// piece from its seed counter, placing lower and upper records, and the entry
// of a new column with each variant's upper lane.
#include <cmath>

#include "game/vaultwick.h"

namespace {

const int kRingSlots = 64;
const int kRecord = 10;

int RingSlot(int column) {
  int s = column % kRingSlots;
  return s < 0 ? s + kRingSlots : s;
}

int Trunc(float v) { return static_cast<int>(v); }

}  // namespace

// Steps 1 to 7 depend only on m_PieceSeed, so a play mode with a fixed seed
// places the same columns every round; the state is then handed back to the
// clock for every other random effect.
int bb_Vaultwick_MyApp::m_NextPiece() {
  bb_random_Seed = static_cast<uint32_t>(m_PieceSeed);
  m_PieceSeed = static_cast<int>(static_cast<uint32_t>(m_PieceSeed) + 1u);
  m_NextKind = 1;
  DiscardPieceDraws();
  DrawPieceNumber();
  DrawUpperChoices();
  if (m_Mode == kVariantShields) PickShieldLevel();
  if (m_Mode == kVariantRunner) CountDownToSpike();
  StepDifficulty();
  bb_random_Seed = static_cast<uint32_t>(bb_app_Millisecs());
  return 0;
}

// Neighbouring seeds start close together; discarding a few draws apart from
// each other spreads them.
void bb_Vaultwick_MyApp::DiscardPieceDraws() {
  // Unsigned, so a clock seed past the int range still gives 0..9.
  uint32_t n = static_cast<uint32_t>(m_PieceSeed) % 10u;
  for (uint32_t i = 0; i < n; ++i) bb_random_Rnd();
}

// Piece numbers 1..9 are still spikes of kinds 1..9, 10..18 the same kinds
// bobbing at tier 1, and so on.
void bb_Vaultwick_MyApp::DrawPieceNumber() {
  int p = Trunc((static_cast<float>(m_MaxPiece) + 0.9f - 1) * bb_random_Rnd() + 1);
  m_NextKind = (p - 1) % 9 + 1;
  m_NextTier = static_cast<int>(std::floor(static_cast<float>(p - 1) / 9));
}

void bb_Vaultwick_MyApp::DrawUpperChoices() {
  m_UpperPick = Trunc(bb_random_Rnd() * 5 + 3);
  m_PieceRoll = Trunc(bb_random_Rnd() * 10);
  m_PiecePhase = Trunc(bb_random_Rnd() * 360);
}

// Variant 8's shield floats one level below or above the spike, never beyond
// the levels a bounce reaches.
void bb_Vaultwick_MyApp::PickShieldLevel() {
  int kind = m_NextKind;
  m_UpperPick = kind - 1;
  if (bb_random_Rnd() * 10 < 5) m_UpperPick = kind + 1;
  if (kind > 7)
    m_UpperPick = kind - 1;
  else if (kind <= 3)
    m_UpperPick = kind + 1;
}

// Variant 3 leaves 2..5 empty columns between spikes.
void bb_Vaultwick_MyApp::CountDownToSpike() {
  m_GapCount -= 1;
  if (m_GapCount > 0) {
    m_NextKind = 0;
    return;
  }
  m_GapCount = Trunc(bb_random_Rnd() * 4 + 3);
}

void bb_Vaultwick_MyApp::StepDifficulty() {
  m_PieceCount += 1;
  if (m_PieceCount > m_PiecesPerStep) {
    m_PieceCount = 0;
    m_MaxPiece += 1;
  }
  if (m_MaxPiece > m_MaxPieceCap) m_MaxPiece = m_MaxPieceCap;
}

int bb_Vaultwick_MyApp::m_Place(int kind, int tier) {
  m_Column += 1;
  int* lower = &m_Lower[RingSlot(m_Column) * kRecord];
  int* upper = &m_Upper[RingSlot(m_Column) * kRecord];
  for (int i = 0; i < kRecord; ++i) lower[i] = upper[i] = 0;
  lower[0] = kind;
  lower[1] = tier;
  lower[2] = tier > 0 ? m_PiecePhase : 0;
  return 0;
}

int bb_Vaultwick_MyApp::m_Placeb(int kind, int value) {
  int* upper = &m_Upper[RingSlot(m_Column) * kRecord];
  for (int i = 0; i < kRecord; ++i) upper[i] = 0;
  upper[0] = kind;
  upper[1] = value;
  return 0;
}

// The upper object of variants 7 and 8 sits at the offered level, one higher
// when that is where the spike's tip is.
int bb_Vaultwick_MyApp::UpperLevelBesideSpike() const {
  return m_UpperPick == m_NextKind ? m_UpperPick + 1 : m_UpperPick;
}

// A new column enters at the right; called by the frame's advance when the
// column position passes the column width.
void bb_Vaultwick_MyApp::AdvanceColumn() {
  m_UpperGap += 1;
  m_ColumnPos -= static_cast<float>(m_ColumnWidth);
  m_Columns += 1;
  m_NextPiece();
  m_Place(m_NextKind, m_NextTier);
  m_ColumnOffset = m_ColumnPos;
  m_Scroll = m_Distance;
  PlaceUpperByVariant();
}

void bb_Vaultwick_MyApp::PlaceUpperByVariant() {
  switch (m_Mode) {
    case kVariantLake:  // a floating object every fifth column
      if (m_UpperGap > 4) {
        m_Placeb(6, 0);
        m_UpperGap = 0;
      }
      break;
    case kVariantRunner:  // pickups over some empty columns
      if (m_NextKind <= 0 && m_PieceRoll <= 2) m_Placeb(m_UpperPick, 0);
      break;
    case kVariantPickups:
      if (m_PieceRoll <= 4) m_Placeb(UpperLevelBesideSpike(), 0);
      break;
    case kVariantShields:
      if (m_PieceRoll <= 3) m_Placeb(UpperLevelBesideSpike(), 0);
      break;
    case kVariantBeams:  // a marker beam above or below, every few columns
      if (m_UpperGap > 2) {
        m_Placeb(Trunc(bb_random_Rnd() * 1.9f + 1), 0);
        m_UpperGap = Trunc(bb_random_Rnd() * 4 - 4);
      }
      break;
    default:
      break;
  }
}
