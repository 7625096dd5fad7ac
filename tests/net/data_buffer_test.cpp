#include "net/data_buffer.h"

#include "net_test_output.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> Bytes(const DataBuffer& buffer, int address, int count) {
  return std::vector<int>(buffer.Data() + address, buffer.Data() + address + count);
}

void Fill(DataBuffer& buffer, const std::vector<int>& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) buffer.Data()[i] = static_cast<unsigned char>(bytes[i]);
}

TEST(DataBufferTest, StringAccessClipsToTheBuffer) {
  DataBuffer buffer(100);
  Fill(buffer, std::vector<int>(100, 0));
  EXPECT_EQ(buffer.PokeString(95, "abcdefghij", "ascii"), 10);
  EXPECT_EQ(buffer.PeekString2(95, "ascii"), String("abcde"));
  EXPECT_EQ(buffer.PeekString(98, 50, "ascii"), String("de"));
  EXPECT_EQ(buffer.PokeString(100, "xyz", "utf8"), 3);
  EXPECT_EQ(buffer.PokeString(-2, "xyz", "utf8"), 3);
  EXPECT_EQ(buffer.PeekString(-1, 5, "ascii"), String());
  EXPECT_EQ(buffer.PeekString(0, -5, "utf8"), String());
  EXPECT_EQ(buffer.PeekString(0, 2, "ascii"), String(std::u16string(2, u'\0')));
}

TEST(DataBufferTest, BytesAreSignedAndClippedToBufferAndArray) {
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

TEST(DataBufferTest, CopyBytesHandlesOverlapBothWays) {
  DataBuffer buffer(8);
  Fill(buffer, {0, 1, 2, 3, 4, 5, 6, 7});
  buffer.CopyBytes(0, buffer, 2, 5);
  EXPECT_EQ(Bytes(buffer, 0, 8), (std::vector<int>{0, 1, 0, 1, 2, 3, 4, 7}));
  Fill(buffer, {0, 1, 2, 3, 4, 5, 6, 7});
  buffer.CopyBytes(3, buffer, 1, 5);
  EXPECT_EQ(Bytes(buffer, 0, 8), (std::vector<int>{0, 3, 4, 5, 6, 7, 6, 7}));
  DataBuffer other(3);
  Fill(other, {9, 9, 9});
  buffer.CopyBytes(6, other, 0, 5);  // two bytes left in the source
  EXPECT_EQ(Bytes(other, 0, 3), (std::vector<int>{6, 7, 9}));
  buffer.CopyBytes(0, other, 2, 5);  // one byte of room in the destination
  EXPECT_EQ(Bytes(other, 0, 3), (std::vector<int>{6, 7, 0}));
}

TEST(DataBufferDeathTest, BadEncodingsAndASecondBlockAreRuntimeErrors) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  DataBuffer buffer(4);
  EXPECT_RUNTIME_ERROR("Invalid string encoding:latin1", buffer.PokeString(0, "x", "latin1"));
  EXPECT_RUNTIME_ERROR("Invalid string encoding:UTF8", buffer.PeekString(0, 1, "UTF8"));
  EXPECT_RUNTIME_ERROR("Allocate DataBuffer failed", buffer.New(4));
  // Once its block is discarded the buffer takes a new one.
  buffer.Discard();
  EXPECT_EQ(buffer.Length(), 0);
  buffer.New(3);
  EXPECT_EQ(buffer.Length(), 3);
}

}  // namespace
