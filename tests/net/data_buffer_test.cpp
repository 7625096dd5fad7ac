#include "net/data_buffer.h"

#include <gtest/gtest.h>

#include <vector>

#include "net_test_support.h"

namespace {

std::vector<int> Bytes(const DataBuffer& buffer) {
  return std::vector<int>(buffer.Data(), buffer.Data() + buffer.Length());
}

void Fill(DataBuffer& buffer, const std::vector<int>& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) buffer.Data()[i] = static_cast<unsigned char>(bytes[i]);
}

// Every access is clipped to the buffer and to the array on the other side.
TEST(DataBufferTest, AccessIsClippedToBufferAndArray) {
  DataBuffer text(100);
  Fill(text, std::vector<int>(100, 0));
  EXPECT_EQ(text.PokeString(95, "abcdefghij", "ascii"), 10);
  EXPECT_EQ(text.PeekString2(95, "ascii"), String("abcde"));
  EXPECT_EQ(text.PeekString(98, 50, "ascii"), String("de"));
  EXPECT_EQ(text.PokeString(-2, "xyz", "utf8"), 3);
  EXPECT_EQ(text.PeekString(-1, 5, "ascii"), String());
  EXPECT_EQ(text.PeekString(0, -5, "utf8"), String());

  DataBuffer buffer(4);
  const std::vector<int> in = {1, 255, -1, 0x1280, 7};
  buffer.PokeBytes(0, in, 0, 5);  // only four fit
  EXPECT_EQ(buffer.PeekBytes2(0, 10), (std::vector<int>{1, -1, -1, -128}));
  std::vector<int> out(3, 99);
  buffer.PeekBytes(2, out, 1, 5);  // two bytes left in the buffer, two slots in the array
  EXPECT_EQ(out, (std::vector<int>{99, -1, -128}));
  buffer.PokeBytes(1, in, 4, 3);  // one int left in the array
  EXPECT_EQ(buffer.PeekBytes2(1, 1), std::vector<int>{7});
  EXPECT_TRUE(buffer.PeekBytes2(4, 1).empty());
}

TEST(DataBufferTest, CopyBytesHandlesOverlapBothWaysAndClips) {
  const struct {
    int from, to, count;
    std::vector<int> bytes;
  } rows[] = {{0, 2, 5, {0, 1, 0, 1, 2, 3, 4, 7}},
              {3, 1, 5, {0, 3, 4, 5, 6, 7, 6, 7}},
              {6, 5, 5, {0, 1, 2, 3, 4, 6, 7, 7}},
              {-1, 0, 2, {0, 1, 2, 3, 4, 5, 6, 7}}};
  for (const auto& row : rows) {
    DataBuffer buffer(8);
    Fill(buffer, {0, 1, 2, 3, 4, 5, 6, 7});
    buffer.CopyBytes(row.from, buffer, row.to, row.count);
    EXPECT_EQ(Bytes(buffer), row.bytes) << row.from << " to " << row.to;
  }
}

}  // namespace
