#include "base/random.h"

#include <gtest/gtest.h>

TEST(Random, FollowsTheThirtyTwoBitSequenceFromItsSeed) {
  Seed = kInitialSeed;
  // 1234 * 1664525 + 1013904223 mod 2^32 = 3067928073; bits 8 to 31 of it over 2^24.
  EXPECT_DOUBLE_EQ(Rnd(), 11984094.0 / 16777216.0);
  EXPECT_EQ(static_cast<unsigned>(Seed), 3067928073u);
  // The wrap-around must not depend on signed overflow.
  Seed = -1;
  Rnd();
  EXPECT_EQ(static_cast<unsigned>(Seed), 4294967295u * 1664525u + 1013904223u);
}
