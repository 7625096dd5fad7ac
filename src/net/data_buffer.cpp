#include "net/data_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/runtime.h"
#include "base/utf8.h"

namespace {

enum class Encoding { kUtf8, kAscii };

Encoding ParseEncoding(const String& name) {
  if (name == "utf8") return Encoding::kUtf8;
  if (name == "ascii") return Encoding::kAscii;
  kvError("Invalid string encoding:" + name);
}

// Clips an array range the same way a buffer range is clipped.
int ClipToArray(int offset, int count, size_t size) {
  const int length = static_cast<int>(size);
  if (offset < 0 || offset >= length || count <= 0) return 0;
  return std::min(count, length - offset);
}

}  // namespace

KvDataBuffer::~KvDataBuffer() {
  Discard();
}

void KvDataBuffer::New(int length) {
  if (data_ || length < 0) kvError("Allocate DataBuffer failed");
  // One byte at least, so an empty buffer still owns a block and cannot be allocated twice.
  data_ = static_cast<unsigned char*>(std::malloc(std::max(length, 1)));
  if (!data_) kvError("Allocate DataBuffer failed");
  length_ = length;
}

void KvDataBuffer::Discard() {
  std::free(data_);
  data_ = nullptr;
  length_ = 0;
}

int KvDataBuffer::ClipCount(int address, int count) const {
  if (address < 0 || address >= length_ || count <= 0) return 0;
  return std::min(count, length_ - address);
}

int DataBuffer::PokeString(int address, const String& text, const String& encoding) {
  const std::string bytes =
      ParseEncoding(encoding) == Encoding::kUtf8 ? EncodeUtf8(text.Units()) : text.ToLatin1();
  const int full = static_cast<int>(bytes.size());
  const int count = ClipCount(address, full);
  if (count > 0) std::memcpy(Data() + address, bytes.data(), count);
  return full;
}

String DataBuffer::PeekString(int address, int count, const String& encoding) const {
  const Encoding kind = ParseEncoding(encoding);
  count = ClipCount(address, count);
  const unsigned char* bytes = Data() + (count > 0 ? address : 0);
  if (kind == Encoding::kUtf8) {
    std::u16string units;
    if (DecodeUtf8(bytes, count, units)) return String(std::move(units));
  }
  return String::FromBytes(bytes, count);
}

String DataBuffer::PeekString2(int address, const String& encoding) const {
  return PeekString(address, Length() - address, encoding);
}

void DataBuffer::PokeBytes(int address, std::span<const int> ints, int offset, int count) {
  count = ClipCount(address, ClipToArray(offset, count, ints.size()));
  for (int i = 0; i < count; ++i)
    Data()[address + i] = static_cast<unsigned char>(ints[offset + i]);
}

void DataBuffer::PeekBytes(int address, std::span<int> ints, int offset, int count) const {
  count = ClipCount(address, ClipToArray(offset, count, ints.size()));
  for (int i = 0; i < count; ++i) ints[offset + i] = static_cast<signed char>(Data()[address + i]);
}

std::vector<int> DataBuffer::PeekBytes2(int address, int count) const {
  std::vector<int> ints(std::max(ClipCount(address, count), 0));
  PeekBytes(address, ints, 0, static_cast<int>(ints.size()));
  return ints;
}

void DataBuffer::CopyBytes(int address, DataBuffer& destination, int destinationAddress,
                           int count) const {
  count = destination.ClipCount(destinationAddress, ClipCount(address, count));
  // memmove picks the copy direction, so overlapping ranges come out right.
  if (count > 0) std::memmove(destination.Data() + destinationAddress, Data() + address, count);
}
