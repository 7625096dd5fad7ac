#include "base/string.h"

#include <gtest/gtest.h>

#include <climits>

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
