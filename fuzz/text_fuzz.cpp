// Feeds arbitrary bytes to the text decoder (UTF-8, UTF-16 by byte-order mark,
// a byte-per-unit fallback): it must never crash or read past the input, and
// the text it gives must survive being written out as UTF-8 and read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/string.h"

namespace {

bool SameUnits(const String& a, const String& b) {
  if (a.Length() != b.Length()) return false;
  for (int i = 0; i < a.Length(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}

}  // namespace

// Invalid UTF-8 is reported on standard output; under the fuzzer that would
// be most of what it prints.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (!std::freopen("/dev/null", "w", stdout)) return 0;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  String text = String::Load(data, static_cast<int>(size));
  if (text.Length() > static_cast<int>(size)) std::abort();  // never more units than bytes
  // A leading U+FEFF would be written as a byte-order mark and dropped on
  // reading, as any UTF-8 reader does; everything else must come back.
  if (text.Length() > 0 && text[0] == 0xFEFF) return 0;
  std::string utf8 = text.ToUtf8();
  String again = String::Load(reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
  if (!SameUnits(text, again)) std::abort();
  return 0;
}
