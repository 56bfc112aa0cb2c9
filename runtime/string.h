// Immutable, reference-counted text of 16-bit units. Copies share one block;
// every operation makes a new block or shares an existing one.
#pragma once

#include <cstdio>
#include <string>

template <class T>
class Array;

typedef unsigned short Char;

class String {
 public:
  String();
  String(const String& s);
  String(String&& s) noexcept;
  ~String();
  String& operator=(const String& s);
  String& operator=(String&& s) noexcept;

  String(const char* s);
  String(const wchar_t* s);
  String(const wchar_t* s, int n);
  String(const unsigned char* s, int n);
  String(const Char* s, int n);
  explicit String(int n);
  explicit String(float n);
  explicit String(double n);
  // A string of one unit.
  static String FromChar(int ch);

  int Length() const { return rep_->length; }
  const Char* Data() const { return rep_->data; }
  Char operator[](int i) const { return rep_->data[i]; }

  String operator+(const String& s) const;
  String& operator+=(const String& s) { return *this = *this + s; }
  bool operator==(const String& s) const;
  bool operator!=(const String& s) const { return !(*this == s); }
  // Unit-wise order; a prefix orders first.
  int Compare(const String& s) const;
  bool operator<(const String& s) const { return Compare(s) < 0; }

  int Find(const String& s, int start = 0) const;
  int FindLast(const String& s) const;
  bool Contains(const String& s) const { return Find(s) != -1; }
  bool StartsWith(const String& s) const;
  bool EndsWith(const String& s) const;
  String Slice(int from) const { return Slice(from, Length()); }
  String Slice(int from, int to) const;
  Array<String> Split(const String& sep) const;
  String Join(const Array<String>& pieces) const;
  String Replace(const String& find, const String& with) const;
  String ToLower() const;
  String ToUpper() const;

  // Zero-terminated copy for C calls; the 8-bit form keeps each unit's low byte.
  std::string ToCString() const;
  std::wstring ToWString() const;
  // UTF-8 bytes of the text (each unit on its own, so surrogates stay apart).
  std::string ToUtf8() const;

  // Whole text files: UTF-8, or UTF-16 of either order by byte-order mark.
  static String Load(FILE* f);
  static String Load(const unsigned char* data, int length);
  bool Save(FILE* f) const;

 private:
  struct Rep {
    int refs;
    int length;
    Char data[1];
  };
  explicit String(Rep* rep) : rep_(rep) {}
  static Rep* alloc(int length);
  static Rep* empty_rep();
  void retain() const { ++rep_->refs; }
  void release();

  Rep* rep_;
};

String operator+(const char* a, const String& b);
