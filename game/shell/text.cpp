// Numbers and places as the game writes them: fixed-width numbers for score
// lists and asset file names, and ordinals for ranks.
#include <algorithm>
#include <vector>

#include "game/vaultwick.h"

// Pads on the left with `width` + 1 copies of `pad`, then keeps the last
// `width` units: short numbers are padded, long ones lose leading digits. A
// width of 0 keeps everything, the single pad copy included; a negative one
// cuts that many units off the front. Only the units kept are built, as one
// string, since the score lines call this every update.
String bb_Vaultwick_MyApp::m_rstr(int value, int width, String pad) {
  m_Iter = width >= 1 ? width + 1 : 1;  // where a loop over the copies leaves the shared counter
  const String digits(value);
  const long long copies = width >= 1 ? static_cast<long long>(width) + 1 : 1;
  const long long padUnits = copies * pad.Length();
  const long long total = padUnits + digits.Length();
  // The first unit kept: -width counted from the end, within the text.
  long long from = -static_cast<long long>(width);
  if (from < 0) from = std::max(0LL, from + total);
  from = std::min(from, total);
  const int n = static_cast<int>(total - from);
  if (n <= 0) return String();
  Char small[64];
  std::vector<Char> large;
  Char* units = small;
  if (n > 64) {
    large.resize(static_cast<size_t>(n));
    units = large.data();
  }
  for (int i = 0; i < n; ++i) {
    const long long at = from + i;
    units[i] = at < padUnits ? pad[static_cast<int>(at % pad.Length())] : digits[static_cast<int>(at - padUnits)];
  }
  return String(units, n);
}

String bb_Vaultwick_MyApp::m_Nth(int n) {
  static const char* const kOrdinals[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
  if (n < 1 || n > 10) return String();
  return String(kOrdinals[n - 1]);
}
