// String: construction, conversions and the text operations' edge cases.
#include <gtest/gtest.h>

#include <cstdio>

#include "runtime/object.h"

namespace {

std::string text(const String& s) { return s.ToCString(); }

TEST(StringConversions, NumbersFormatAsTheLanguageDoes) {
  EXPECT_EQ(text(String(-2)), "-2");
  EXPECT_EQ(text(String(3.0f)), "3.0");
  EXPECT_EQ(text(String(1.0f)), "1.0");
  EXPECT_EQ(text(String(0.1f)), "0.10000000149011612");
  EXPECT_EQ(text(String(1e20f)), "1.0000000200408773e+20");  // has an exponent: no ".0"
  EXPECT_EQ(text(String(-0.5f)), "-0.5");
}

TEST(StringConversions, WholeNumbersReadAsPrintfWritesThem) {
  for (int n : {0, 7, -7, 10, -10, 99, 100, 1234567, -1234567, 2147483647, -2147483647 - 1}) {
    char want[16];
    std::snprintf(want, sizeof want, "%i", n);
    EXPECT_EQ(text(String(n)), want) << n;
  }
}

TEST(StringConversions, EightBitAndWideSourcesKeepTheirValues) {
  const unsigned char bytes[] = {0x41, 0xE9, 0xFF};
  String s(bytes, 3);
  ASSERT_EQ(s.Length(), 3);
  EXPECT_EQ(s[1], 0xE9);
  EXPECT_EQ(s[2], 0xFF);
  EXPECT_EQ(String(L"\u20AC").Length(), 1);
  EXPECT_EQ(String(L"\u20AC")[0], 0x20AC);
}

TEST(StringSlice, AdjustsOutOfRangeBounds) {
  String s("abcdef");
  EXPECT_EQ(text(s.Slice(-3, 100)), "def");
  EXPECT_EQ(text(s.Slice(4, 2)), "");
  EXPECT_EQ(text(s.Slice(-100, 2)), "ab");
  EXPECT_EQ(text(s.Slice(2, -1)), "cde");
  EXPECT_EQ(text(s.Slice(10, 20)), "");
  EXPECT_EQ(text(s.Slice(3)), "def");
  // The whole range shares the block rather than copying it.
  EXPECT_EQ(s.Slice(0, 6).Data(), s.Data());
}

TEST(StringSplit, KeepsEmptyPiecesAndHandlesAnEmptySeparator) {
  Array<String> parts = String("a||b").Split(String("|"));
  ASSERT_EQ(parts.Length(), 3);
  EXPECT_EQ(text(parts[0]), "a");
  EXPECT_EQ(text(parts[1]), "");
  EXPECT_EQ(text(parts[2]), "b");

  Array<String> ends = String("|x|").Split(String("|"));
  ASSERT_EQ(ends.Length(), 3);
  EXPECT_EQ(text(ends[0]), "");
  EXPECT_EQ(text(ends[2]), "");

  Array<String> units = String("abc").Split(String());
  ASSERT_EQ(units.Length(), 3);
  EXPECT_EQ(text(units[2]), "c");

  // Occurrences do not overlap: "aaa" split on "aa" is "", "a".
  Array<String> overlap = String("aaa").Split(String("aa"));
  ASSERT_EQ(overlap.Length(), 2);
  EXPECT_EQ(text(overlap[1]), "a");
  EXPECT_EQ(String().Split(String(",")).Length(), 1);
}

TEST(StringFind, SearchesFromAClampedStart) {
  String s("abcabc");
  EXPECT_EQ(s.Find(String("bc")), 1);
  EXPECT_EQ(s.Find(String("bc"), 2), 4);
  EXPECT_EQ(s.Find(String("bc"), -5), 1);
  EXPECT_EQ(s.Find(String("a"), 100), -1);
  EXPECT_EQ(s.FindLast(String("abc")), 3);
  EXPECT_EQ(s.FindLast(String("x")), -1);
  EXPECT_EQ(s.Find(String("abcabcd")), -1);
  EXPECT_TRUE(s.StartsWith(String("abc")));
  EXPECT_FALSE(s.StartsWith(String("abcabcabc")));
  EXPECT_TRUE(s.EndsWith(String("cabc")));
}

TEST(StringReplace, ReplacesLeftToRightWithoutOverlap) {
  EXPECT_EQ(text(String("aaaa").Replace(String("aa"), String("b"))), "bb");
  EXPECT_EQ(text(String("a.b.c").Replace(String("."), String("::"))), "a::b::c");
  String same("nothing here");
  EXPECT_EQ(same.Replace(String("x"), String("y")).Data(), same.Data());
}

TEST(StringCase, LowersAsciiAndSharesWhenUnchanged) {
  EXPECT_EQ(text(String("MiXeD 42").ToLower()), "mixed 42");
  String lower("already");
  EXPECT_EQ(lower.ToLower().Data(), lower.Data());
}

TEST(StringValue, ConcatenationComparisonAndSharing) {
  String a("ab"), empty;
  EXPECT_EQ((a + empty).Data(), a.Data());
  EXPECT_EQ((empty + a).Data(), a.Data());
  EXPECT_TRUE(a + String("c") == String("abc"));
  EXPECT_TRUE(String("abc") != String("abd"));
  EXPECT_LT(String("ab").Compare(String("abc")), 0);
  EXPECT_GT(String("b").Compare(String("abc")), 0);
  {
    String copy = a;  // shares the block; releasing both must not double free
    String moved = std::move(copy);
    EXPECT_EQ(moved.Data(), a.Data());
  }
  EXPECT_EQ(text(a), "ab");
  EXPECT_EQ(text(String(",").Join(String("x,y,z").Split(String(",")))), "x,y,z");
}

}  // namespace
