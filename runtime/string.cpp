// String blocks, conversions and the text operations.
#include "runtime/string.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwctype>

#include "runtime/array.h"
#include "runtime/errors.h"

String::Rep* String::empty_rep() {
  // Never freed: its count starts high and the release path skips it.
  static Rep rep = {1 << 30, 0, {0}};
  return &rep;
}

String::Rep* String::alloc(int length) {
  if (length <= 0) {
    Rep* e = empty_rep();
    ++e->refs;
    return e;
  }
  Rep* r = static_cast<Rep*>(std::malloc(sizeof(Rep) + sizeof(Char) * static_cast<size_t>(length)));
  if (!r) out_of_memory();
  r->refs = 1;
  r->length = length;
  return r;
}

void String::release() {
  if (--rep_->refs == 0 && rep_->length > 0) std::free(rep_);
}

String::String() : rep_(alloc(0)) {}
String::String(const String& s) : rep_(s.rep_) { retain(); }
String::String(String&& s) noexcept : rep_(s.rep_) { s.rep_ = alloc(0); }
String::~String() { release(); }

String& String::operator=(const String& s) {
  s.retain();
  release();
  rep_ = s.rep_;
  return *this;
}

String& String::operator=(String&& s) noexcept {
  if (this != &s) std::swap(rep_, s.rep_);
  return *this;
}

String::String(const Char* s, int n) : rep_(alloc(n)) {
  if (n > 0) std::memcpy(rep_->data, s, sizeof(Char) * static_cast<size_t>(n));
}

String::String(const unsigned char* s, int n) : rep_(alloc(n)) {
  for (int i = 0; i < n; ++i) rep_->data[i] = s[i];
}

String::String(const char* s)
    : String(reinterpret_cast<const unsigned char*>(s), static_cast<int>(std::strlen(s))) {}

String::String(const wchar_t* s, int n) : rep_(alloc(n)) {
  for (int i = 0; i < n; ++i) rep_->data[i] = static_cast<Char>(s[i]);
}

String::String(const wchar_t* s) : String(s, static_cast<int>(std::wcslen(s))) {}

namespace {

std::string format_double(double n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17lg", n);
  std::string text = buf;
  // A whole number still reads as a float: 1 becomes 1.0.
  if (text.find('.') == std::string::npos && text.find('e') == std::string::npos) text += ".0";
  return text;
}

}  // namespace

// Decimal digits as printf's %i writes them, without its cost: the game
// turns several numbers into text every update.
String::String(int n) : rep_(nullptr) {
  unsigned int u = n < 0 ? 0u - static_cast<unsigned int>(n) : static_cast<unsigned int>(n);
  int length = n < 0 ? 2 : 1;
  for (unsigned int rest = u; rest >= 10; rest /= 10) ++length;
  rep_ = alloc(length);
  Char* p = rep_->data + length;
  do {
    *--p = static_cast<Char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (n < 0) *--p = '-';
}

String::String(double n) : String(format_double(n).c_str()) {}

String::String(float n) : String(static_cast<double>(n)) {}

String String::FromChar(int ch) {
  Char c = static_cast<Char>(ch);
  return String(&c, 1);
}

String String::operator+(const String& s) const {
  if (Length() == 0) return s;
  if (s.Length() == 0) return *this;
  // Lengths are ints: a text longer than that cannot be held.
  if (Length() > INT_MAX - s.Length()) out_of_memory();
  Rep* r = alloc(Length() + s.Length());
  std::memcpy(r->data, Data(), sizeof(Char) * Length());
  std::memcpy(r->data + Length(), s.Data(), sizeof(Char) * s.Length());
  return String(r);
}

String operator+(const char* a, const String& b) { return String(a) + b; }

bool String::operator==(const String& s) const {
  if (rep_ == s.rep_) return true;
  return Length() == s.Length() && std::memcmp(Data(), s.Data(), sizeof(Char) * Length()) == 0;
}

int String::Compare(const String& s) const {
  int n = Length() < s.Length() ? Length() : s.Length();
  for (int i = 0; i < n; ++i)
    if (Data()[i] != s.Data()[i]) return static_cast<int>(Data()[i]) - static_cast<int>(s.Data()[i]);
  return Length() - s.Length();
}

namespace {

bool matches_at(const String& text, const String& s, int at) {
  return std::memcmp(text.Data() + at, s.Data(), sizeof(Char) * s.Length()) == 0;
}

}  // namespace

int String::Find(const String& s, int start) const {
  if (start < 0) start = 0;
  for (int i = start; i + s.Length() <= Length(); ++i)
    if (matches_at(*this, s, i)) return i;
  return -1;
}

int String::FindLast(const String& s) const {
  for (int i = Length() - s.Length(); i >= 0; --i)
    if (matches_at(*this, s, i)) return i;
  return -1;
}

bool String::StartsWith(const String& s) const { return s.Length() <= Length() && matches_at(*this, s, 0); }

bool String::EndsWith(const String& s) const {
  return s.Length() <= Length() && matches_at(*this, s, Length() - s.Length());
}

String String::Slice(int from, int to) const {
  int len = Length();
  if (from < 0) {
    from += len;
    if (from < 0) from = 0;
  } else if (from > len) {
    from = len;
  }
  if (to < 0) {
    to += len;
  } else if (to > len) {
    to = len;
  }
  if (from >= to) return String();
  if (from == 0 && to == len) return *this;
  return String(Data() + from, to - from);
}

Array<String> String::Split(const String& sep) const {
  if (sep.Length() == 0) {
    Array<String> units(Length());
    for (int i = 0; i < Length(); ++i) units[i] = String(Data() + i, 1);
    return units;
  }
  int count = 1;
  for (int i = Find(sep); i != -1; i = Find(sep, i + sep.Length())) ++count;
  Array<String> pieces(count);
  int start = 0;
  for (int k = 0; k < count - 1; ++k) {
    int at = Find(sep, start);
    pieces[k] = Slice(start, at);
    start = at + sep.Length();
  }
  pieces[count - 1] = Slice(start);
  return pieces;
}

String String::Join(const Array<String>& pieces) const {
  String out;
  for (int i = 0; i < pieces.Length(); ++i) out = i ? out + *this + pieces[i] : pieces[i];
  return out;
}

String String::Replace(const String& find, const String& with) const {
  if (find.Length() == 0) return *this;
  String out;
  int start = 0;
  for (int at = Find(find); at != -1; at = Find(find, start)) {
    out = out + Slice(start, at) + with;
    start = at + find.Length();
  }
  return start == 0 ? *this : out + Slice(start);
}

namespace {

template <class F>
String map_units(const String& s, F f) {
  int i = 0;
  while (i < s.Length() && f(s[i]) == s[i]) ++i;
  if (i == s.Length()) return s;  // nothing changes: share the block
  std::basic_string<Char> units(s.Data(), s.Data() + s.Length());
  for (; i < s.Length(); ++i) units[i] = f(s[i]);
  return String(units.data(), static_cast<int>(units.size()));
}

}  // namespace

String String::ToLower() const {
  return map_units(*this, [](Char c) { return static_cast<Char>(c < 256 ? std::tolower(c) : c); });
}

String String::ToUpper() const {
  return map_units(*this, [](Char c) { return static_cast<Char>(c < 256 ? std::toupper(c) : c); });
}

std::string String::ToCString() const {
  std::string out(static_cast<size_t>(Length()), '\0');
  for (int i = 0; i < Length(); ++i) out[i] = static_cast<char>(Data()[i] & 0xff);
  return out;
}

std::wstring String::ToWString() const { return std::wstring(Data(), Data() + Length()); }
