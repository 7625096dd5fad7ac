#include "base/string.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/utf8.h"

TEST(String, ToIntStopsAtTheFirstNonDigitAndSaturates) {
  EXPECT_EQ(String("  -42abc").ToInt(), -42);
  EXPECT_EQ(String("x12").ToInt(), 0);
  EXPECT_EQ(String("99999999999999999999999").ToInt(), INT_MAX);
  EXPECT_EQ(String("-99999999999999999999999").ToInt(), INT_MIN);
  EXPECT_EQ(String("\n\t 12").ToIntExact(), 12);
  EXPECT_EQ(String("-2147483648").ToIntExact(), INT_MIN);
  EXPECT_EQ(String("2147483648").ToIntExact(), std::nullopt);
}

TEST(String, FloatsReadBackAndAlwaysShowAPoint) {
  EXPECT_EQ(String::FromFloat(1.0f), String("1.0"));
  const float third = 1.0f / 3.0f;
  EXPECT_EQ(String::FromFloat(third).ToFloat(), third);
}

TEST(String, SlicesClampAndCountNegativeIndicesFromTheEnd) {
  const String s("Zorvane");
  EXPECT_EQ(s.Slice(1, 3), String("or"));
  EXPECT_EQ(s.Slice(-3), String("ane"));
  EXPECT_EQ(s.Slice(5, 100), String("ne"));
  EXPECT_EQ(s.Slice(4, 2), String());
  EXPECT_EQ(s[7], 0);
  EXPECT_EQ(s[-1], 0);
}

TEST(String, SplitJoinReplaceAndFind) {
  const auto parts = String("a,,b,").Split(",");
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_EQ(parts[2], String("b"));
  EXPECT_EQ(String::Join("|", parts), String("a||b|"));
  EXPECT_EQ(String("aXbXc").Replace("X", "--"), String("a--b--c"));
  EXPECT_EQ(String("abc").Replace("", "z"), String("abc"));
  EXPECT_EQ(String("abcabc").FindLast("ab"), 3);
  EXPECT_EQ(String("abc").Find("c", 9), -1);
}

TEST(String, Utf8KeepsEachSixteenBitUnitOnItsOwn) {
  // U+00E9 takes two bytes; a surrogate pair becomes two three-byte sequences.
  const String text = String("\xC3\xA9") + String::FromChar(0x1F600);
  EXPECT_EQ(text.Length(), 3);
  EXPECT_EQ(text.ToUtf8(), "\xC3\xA9\xED\xA0\xBD\xED\xB8\x80");
  std::u16string back;
  const std::string bytes = text.ToUtf8();
  ASSERT_TRUE(DecodeUtf8(reinterpret_cast<const unsigned char*>(bytes.data()),
                         static_cast<int>(bytes.size()), back));
  EXPECT_EQ(String(back), text);
}

TEST(String, BadUtf8IsRefused) {
  const unsigned char cut[] = {'a', 0xE2, 0x82};
  const unsigned char badLead[] = {0xF0, 0x9F, 0x98, 0x80};
  const unsigned char noContinuation[] = {0xC3, 'a'};
  std::u16string out;
  EXPECT_FALSE(DecodeUtf8(cut, 3, out));
  EXPECT_FALSE(DecodeUtf8(badLead, 4, out));
  EXPECT_FALSE(DecodeUtf8(noContinuation, 2, out));
  // Text that is not UTF-8 is taken byte by byte.
  EXPECT_EQ(String("\xE9t\xE9")[0], 0xE9);
}
