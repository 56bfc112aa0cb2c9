// Text files: UTF-8 encoding of strings, and decoding of UTF-8 or UTF-16 bytes
// (recognised by byte-order mark), with a byte-per-unit fallback for bad UTF-8.
#include <cstdio>
#include <vector>

#include "runtime/string.h"

namespace {

bool is_continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

String decode_utf16(const unsigned char* p, int length, bool big_endian) {
  std::vector<Char> units;
  for (int i = 2; i + 1 < length; i += 2)
    units.push_back(big_endian ? static_cast<Char>(p[i] << 8 | p[i + 1]) : static_cast<Char>(p[i + 1] << 8 | p[i]));
  return String(units.data(), static_cast<int>(units.size()));
}

// Decodes UTF-8 into `units`; false when the bytes are not valid UTF-8.
bool decode_utf8(const unsigned char* p, int length, std::vector<Char>& units) {
  for (int i = 0; i < length;) {
    unsigned b = p[i];
    if (b < 0x80) {
      units.push_back(static_cast<Char>(b));
      i += 1;
    } else if ((b & 0xE0) == 0xC0) {
      if (i + 1 >= length || !is_continuation(p[i + 1])) return false;
      units.push_back(static_cast<Char>(((b << 6) & 0x7FF) | (p[i + 1] & 0x3F)));
      i += 2;
    } else if ((b & 0xF0) == 0xE0) {
      if (i + 2 >= length || !is_continuation(p[i + 1]) || !is_continuation(p[i + 2])) return false;
      units.push_back(static_cast<Char>((b << 12) | ((p[i + 1] & 0x3F) << 6) | (p[i + 2] & 0x3F)));
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

String String::Load(const unsigned char* data, int length) {
  if (length >= 2 && data[0] == 0xFE && data[1] == 0xFF) return decode_utf16(data, length, true);
  if (length >= 2 && data[0] == 0xFF && data[1] == 0xFE) return decode_utf16(data, length, false);
  if (length >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
    data += 3;
    length -= 3;
  }
  std::vector<Char> units;
  if (decode_utf8(data, length, units)) return String(units.data(), static_cast<int>(units.size()));
  std::printf("Invalid UTF-8!\n");
  std::fflush(stdout);
  return String(data, length);
}

String String::Load(FILE* f) {
  std::vector<unsigned char> bytes;
  unsigned char block[4096];
  for (;;) {
    size_t n = std::fread(block, 1, sizeof block, f);
    bytes.insert(bytes.end(), block, block + n);
    if (n < sizeof block) break;
  }
  if (bytes.empty()) return String();
  return Load(bytes.data(), static_cast<int>(bytes.size()));
}

std::string String::ToUtf8() const {
  std::string out;
  out.reserve(static_cast<size_t>(Length()));
  for (int i = 0; i < Length(); ++i) {
    unsigned c = Data()[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 + (c >> 6));
      out += static_cast<char>(0x80 + (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 + (c >> 12));
      out += static_cast<char>(0x80 + ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 + (c & 0x3F));
    }
  }
  return out;
}

bool String::Save(FILE* f) const {
  std::string bytes = ToUtf8();
  if (bytes.empty()) return true;
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}
