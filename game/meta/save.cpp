// Save data: settings, owned badges and the score lists travel as one string
// of decimal numbers, each followed by "|", in three sections that each carry
// a checksum. A section that fails its checksum falls back to its defaults on
// its own, so a damaged file never costs more than the damaged part.
#include <cstdint>
#include <string>

#include "game/vaultwick.h"

namespace {

const int kSettings = 25;
const int kBadgeWords = 8;
const int kScoresPerList = 10;

// Sums are kept in unsigned arithmetic, which wraps by definition, and only
// turned into a signed number at the end: the file format fixes 32-bit
// two's-complement wrapping, and signed overflow would be undefined.
int32_t ToSigned(uint32_t u) {
  return u <= 0x7fffffffu ? static_cast<int32_t>(u) : -static_cast<int32_t>(~u) - 1;
}

uint32_t U(int v) { return static_cast<uint32_t>(v); }

// atoi's reading (blanks, one sign, digits up to the first non-digit, nothing
// readable gives 0), but a number too long for 32 bits wraps instead of being
// undefined: the file comes from outside and may hold anything. Each 16-bit
// unit is narrowed to its low byte first, as the file's text is meant to be
// plain ASCII.
int ReadNumber(const String& piece) {
  int n = piece.Length();
  int i = 0;
  auto byte = [&](int k) { return static_cast<unsigned char>(piece[k] & 0xff); };
  while (i < n) {
    unsigned char c = byte(i);
    if (c != ' ' && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r') break;
    ++i;
  }
  bool negative = false;
  if (i < n && (byte(i) == '-' || byte(i) == '+')) {
    negative = byte(i) == '-';
    ++i;
  }
  uint32_t value = 0;
  for (; i < n && byte(i) >= '0' && byte(i) <= '9'; ++i) value = value * 10u + (byte(i) - '0');
  return ToSigned(negative ? 0u - value : value);
}

int SettingsSum(const Array<int>& settings) {
  uint32_t sum = 0;
  for (int i = 0; i < kSettings; ++i) sum += U(i) * U(settings[i]);
  return ToSigned(sum);
}

int BadgeWord(const Array<bool>& badges, int k) {
  uint32_t word = 0;
  for (int j = 0; j < 32; ++j)
    if (badges[32 * k + j]) word |= 1u << j;
  return ToSigned(word);
}

int ScoreSum(const int* top, const int* last, int mode) {
  uint32_t sum = 0;
  for (int i = 0; i < kScoresPerList; ++i) sum += U(i + 4) * U(top[i]) + U(mode + i + 3) * U(last[i]);
  return ToSigned(sum);
}

void Append(std::string& out, int value) {
  out += std::to_string(value);
  out += '|';
}

}  // namespace

int bb_Vaultwick_MyApp::m_Save() {
  std::string text;
  for (int i = 0; i < kSettings; ++i) Append(text, m_Settings[i]);
  Append(text, SettingsSum(m_Settings));

  uint32_t badgeSum = 0;
  for (int k = 0; k < kBadgeWords; ++k) {
    int word = BadgeWord(m_Badges, k);
    Append(text, word);
    badgeSum += U(word);
  }
  Append(text, ToSigned(badgeSum));

  for (int m = 0; m < bb_Vaultwick_MaxGames; ++m) {
    int top[kScoresPerList], last[kScoresPerList];
    for (int i = 0; i < kScoresPerList; ++i) {
      top[i] = m_Scores[m * 10 + i];
      last[i] = m_Scores[bb_Vaultwick_MaxGames * 10 + m * 10 + i];
      Append(text, top[i]);
      Append(text, last[i]);
    }
    Append(text, ScoreSum(top, last, m));
  }

  String state(text.c_str());
  if (bb_Vaultwick_DebugMode == 1) DebugLog(state);
  bb_app_SaveState(state);
  return 0;
}

namespace {

// Each reader takes its section from piece `p` on and returns where the next
// section starts; a section the string does not hold leaves its defaults.

int LoadSettingsSection(const Array<String>& pieces, int p, Array<int>& settings) {
  const int count = pieces.Length();
  if (count < p + kSettings) return p;
  for (int i = 0; i < kSettings; ++i) settings[i] = ReadNumber(pieces[p + i]);
  // Exactly 25 pieces means the checksum is missing, which fails it.
  bool valid = count > p + kSettings && ReadNumber(pieces[p + kSettings]) == SettingsSum(settings);
  if (valid) {
    Print(String("Settings Loaded"));
  } else {
    Print(String("Settings Checksum Invalid"));
    for (int i = 0; i < kSettings; ++i) settings[i] = 0;
    settings[kSettingSound] = 1;
  }
  return p + kSettings + 1;
}

int LoadBadgesSection(const Array<String>& pieces, int p, Array<bool>& badges) {
  if (p + kBadgeWords >= pieces.Length()) return p;
  uint32_t sum = 0;
  for (int k = 0; k < kBadgeWords; ++k) {
    uint32_t word = U(ReadNumber(pieces[p + k]));
    sum += word;
    for (int j = 0; j < 32; ++j) badges[32 * k + j] = ((word >> j) & 1u) != 0;
  }
  if (ReadNumber(pieces[p + kBadgeWords]) == ToSigned(sum)) {
    Print(String("Badges Loaded"));
  } else {
    Print(String("Badge Checksum Invalid"));
    for (int id = 0; id < badges.Length(); ++id) badges[id] = false;
  }
  return p + kBadgeWords + 1;
}

// Mode m's top ten and last ten, interleaved in the string.
int LoadScoreSection(const Array<String>& pieces, int p, int m, Array<int>& scores) {
  if (p + 2 * kScoresPerList >= pieces.Length()) return p;
  int top[kScoresPerList], last[kScoresPerList];
  for (int i = 0; i < kScoresPerList; ++i) {
    top[i] = ReadNumber(pieces[p + 2 * i]);
    last[i] = ReadNumber(pieces[p + 2 * i + 1]);
  }
  if (ReadNumber(pieces[p + 2 * kScoresPerList]) == ScoreSum(top, last, m)) {
    Print(String("Highscore ") + String(m) + String(" Loaded"));
  } else {
    Print(String("Highscore ") + String(m) + String(" Checksum Invalid"));
    for (int i = 0; i < kScoresPerList; ++i) top[i] = last[i] = 0;
  }
  for (int i = 0; i < kScoresPerList; ++i) {
    scores[m * 10 + i] = top[i];
    scores[bb_Vaultwick_MaxGames * 10 + m * 10 + i] = last[i];
  }
  return p + 2 * kScoresPerList + 1;
}

}  // namespace

int bb_Vaultwick_MyApp::m_Load() {
  String text = bb_app_LoadState();
  Array<String> pieces = text.Split(String("|"));
  if (bb_Vaultwick_DebugMode == 1) DebugLog(text);
  int p = LoadSettingsSection(pieces, 0, m_Settings);
  KeepLoadedSettingsUsable();
  p = LoadBadgesSection(pieces, p, m_Badges);
  for (int m = 0; m < bb_Vaultwick_MaxGames; ++m) p = LoadScoreSection(pieces, p, m, m_Scores);
  return 0;
}

// Whatever was read, the mode is a real one, the first two modes are always
// open, and the on-screen stick stays on screen and usable.
void bb_Vaultwick_MyApp::KeepLoadedSettingsUsable() {
  int& lastMode = m_Settings[kSettingLastMode];
  if (lastMode < 1) lastMode = 1;
  if (lastMode > bb_Vaultwick_MaxGames) lastMode = bb_Vaultwick_MaxGames;
  m_Settings[kSettingUnlocked] = m_SetFlag(m_SetFlag(m_Settings[kSettingUnlocked], 1, 1), 2, 1);
  if (m_Settings[kSettingStickX] < 64) m_Settings[kSettingStickX] = 64;
  if (m_Settings[kSettingStickHeight] < 64) m_Settings[kSettingStickHeight] = 64;
  if (m_Settings[kSettingStickScale] < 8) m_Settings[kSettingStickScale] = 10;
  ClampOptionSettings();
}

// Bits are numbered from 1. The shift count is taken modulo 32, as the
// processor takes it, so a bit number out of range is defined too.
int bb_Vaultwick_MyApp::m_SetFlag(int word, int bit, int on) {
  uint32_t mask = 1u << ((U(bit) - 1u) & 31u);
  if (on == 1) return ToSigned(U(word) | mask);
  if (on == 0) return ToSigned(U(word) & ~mask);
  return 0;
}

int bb_Vaultwick_MyApp::m_GetFlag(int word, int bit) { return static_cast<int>((U(word) >> ((U(bit) - 1u) & 31u)) & 1u); }
