// Byte blocks for socket I/O, with string and byte-array access that clips to the block.
#pragma once

#include <span>
#include <vector>

#include "base/string.h"

// The raw block: owned, allocated with malloc and released with free.
class KvDataBuffer {
 public:
  KvDataBuffer() = default;
  KvDataBuffer(const KvDataBuffer&) = delete;
  KvDataBuffer& operator=(const KvDataBuffer&) = delete;
  ~KvDataBuffer();

  // Contents are undefined after allocation; a buffer that already has a block (or a
  // negative length, or an allocation failure) is the runtime error "Allocate DataBuffer failed".
  void New(int length);
  void Discard();

  unsigned char* Data() { return data_; }
  const unsigned char* Data() const { return data_; }
  int Length() const { return length_; }

  // The part of [address, address + count) that lies inside the block, as a count from
  // address; 0 when address is outside.
  int ClipCount(int address, int count) const;

 private:
  unsigned char* data_ = nullptr;
  int length_ = 0;
};

class DataBuffer : public KvDataBuffer {
 public:
  DataBuffer() = default;
  explicit DataBuffer(int length) { New(length); }

  // Encodings are "utf8" and "ascii"; any other is the runtime error
  // "Invalid string encoding:" + name. Returns the full encoded length, even when clipped.
  int PokeString(int address, const String& text, const String& encoding);
  // Undecodable "utf8" falls back to one character per byte, as "ascii" does.
  String PeekString(int address, int count, const String& encoding) const;
  String PeekString2(int address, const String& encoding) const;

  // Bytes go out as signed values (-128 ... 127); pokes store the low byte of each int.
  void PokeBytes(int address, std::span<const int> ints, int offset, int count);
  void PeekBytes(int address, std::span<int> ints, int offset, int count) const;
  std::vector<int> PeekBytes2(int address, int count) const;

  // Overlapping ranges within one buffer are copied as if through a temporary.
  void CopyBytes(int address, DataBuffer& destination, int destinationAddress, int count) const;
};
