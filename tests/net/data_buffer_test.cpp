#include "net/data_buffer.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "net_test_support.h"

// Every access is clipped to the buffer and to the array on the other side; copies within one
// buffer may overlap either way.
TEST(DataBufferTest, AccessIsClippedAndCopiesMayOverlap) {
  DataBuffer text(100);
  EXPECT_EQ(text.PokeString(95, "abcdefghij", "ascii"), 10);
  EXPECT_EQ(text.PeekString(98, 50, "ascii"), String("de"));
  EXPECT_EQ(text.PeekString(-1, 5, "ascii"), String());
  DataBuffer buffer(4);
  const std::vector<int> in = {1, 255, -1, 0x1280, 7};
  buffer.PokeBytes(0, in, 0, 5);  // only four fit
  std::vector<int> out(3, 99);
  buffer.PeekBytes(2, out, 1, 5);  // two bytes left in the buffer, two slots in the array
  EXPECT_EQ(out, (std::vector<int>{99, -1, -128}));
  buffer.PokeBytes(1, in, 4, 3);  // one int left in the array
  EXPECT_EQ(buffer.PeekBytes2(0, 10), (std::vector<int>{1, 7, -1, -128}));
  for (const auto& [from, to, bytes] :
       {std::tuple{0, 2, std::vector<int>{0, 1, 0, 1, 2, 3, 4, 7}},
        std::tuple{3, 1, std::vector<int>{0, 3, 4, 5, 6, 7, 6, 7}},
        std::tuple{6, 5, std::vector<int>{0, 1, 2, 3, 4, 6, 7, 7}}}) {
    DataBuffer eight(8);
    eight.PokeBytes(0, std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}, 0, 8);
    eight.CopyBytes(from, eight, to, 5);
    EXPECT_EQ(eight.PeekBytes2(0, 8), bytes) << from << " to " << to;
  }
}
