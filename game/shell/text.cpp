// Numbers and places as the game writes them: fixed-width numbers for score
// lists and asset file names, and ordinals for ranks.
#include "game/vaultwick.h"

// Pads on the left with `width` + 1 copies of `pad`, then keeps the last
// `width` units: short numbers are padded, long ones lose leading digits. A
// width of 0 keeps everything, the single pad copy included.
String bb_Vaultwick_MyApp::m_rstr(int value, int width, String pad) {
  String s = pad;
  for (m_Iter = 1; m_Iter <= width; ++m_Iter) s = s + pad;
  s = s + String(value);
  return s.Slice(-width, s.Length());
}

String bb_Vaultwick_MyApp::m_Nth(int n) {
  static const char* const kOrdinals[] = {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
  if (n < 1 || n > 10) return String();
  return String(kOrdinals[n - 1]);
}
