// The RIFF WAVE reader, on its own so that it can be fuzzed without the rest of audio.
#include "audio/audio_decode.h"

#include <climits>
#include <cstdint>
#include <string_view>

namespace {

constexpr uint32_t kPcmCompression = 1;
constexpr uint32_t kPcmFormatSize = 16;
constexpr uint32_t kMinBitsPerSample = 8;

// Little-endian fields from a byte span. A read that would pass the end fails and
// leaves the reader where it was, so a size field can never send it outside the file.
class ByteReader {
 public:
  explicit ByteReader(std::span<const unsigned char> bytes) : bytes_(bytes) {}

  bool Take(uint64_t count, std::span<const unsigned char>& out) {
    if (count > bytes_.size() - at_) return false;
    out = bytes_.subspan(at_, static_cast<size_t>(count));
    at_ += static_cast<size_t>(count);
    return true;
  }
  bool Skip(uint64_t count) {
    std::span<const unsigned char> skipped;
    return Take(count, skipped);
  }
  bool ReadTag(std::string_view& tag) {
    std::span<const unsigned char> bytes;
    if (!Take(4, bytes)) return false;
    tag = std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
  }
  bool Expect(std::string_view wanted) {
    std::string_view tag;
    return ReadTag(tag) && tag == wanted;
  }
  bool ReadU16(uint32_t& value) { return ReadLittleEndian(2, value); }
  bool ReadU32(uint32_t& value) { return ReadLittleEndian(4, value); }

 private:
  bool ReadLittleEndian(int count, uint32_t& value) {
    std::span<const unsigned char> bytes;
    if (!Take(count, bytes)) return false;
    value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return true;
  }

  std::span<const unsigned char> bytes_;
  size_t at_ = 0;
};

// A chunk of odd size is followed by one pad byte.
uint64_t PaddedSize(uint32_t size) {
  return uint64_t{size} + (size & 1);
}

struct WavFormat {
  int channels = 0;
  int bytesPerSample = 0;
  int hertz = 0;
};

// The RIFF header and the "fmt " chunk, which must come first. Headers whose numbers make
// no sense (no channels, under 8 bits, a rate beyond int) are refused rather than divided by.
std::optional<WavFormat> ReadWavFormat(ByteReader& in) {
  if (!in.Expect("RIFF") || !in.Skip(4) || !in.Expect("WAVE") || !in.Expect("fmt ")) return {};
  uint32_t size = 0, compression = 0, channels = 0, hertz = 0, bits = 0;
  if (!in.ReadU32(size) || size < kPcmFormatSize) return {};
  if (!in.ReadU16(compression) || compression != kPcmCompression) return {};
  // The byte rate and block align between the rate and the bit count are not needed.
  if (!in.ReadU16(channels) || !in.ReadU32(hertz) || !in.Skip(6) || !in.ReadU16(bits)) return {};
  if (!in.Skip(PaddedSize(size) - kPcmFormatSize)) return {};
  if (channels == 0 || bits < kMinBitsPerSample || hertz == 0 || hertz > INT_MAX) return {};
  return WavFormat{static_cast<int>(channels), static_cast<int>(bits / 8), static_cast<int>(hertz)};
}

// Skips other chunks up to the "data" chunk; nothing when it is missing or cut short.
std::optional<std::span<const unsigned char>> FindWavData(ByteReader& in) {
  for (;;) {
    std::string_view tag;
    uint32_t size = 0;
    if (!in.ReadTag(tag) || !in.ReadU32(size)) return {};
    if (tag == "data") {
      std::span<const unsigned char> body;
      if (!in.Take(size, body)) return {};
      return body;
    }
    if (!in.Skip(PaddedSize(size))) return {};
  }
}

}  // namespace

std::optional<ByteBuffer> LoadWAV(std::span<const unsigned char> file, int& length, int& channels,
                                  int& bytesPerSample, int& hertz) {
  ByteReader in(file);
  const auto format = ReadWavFormat(in);
  if (!format) return {};
  const auto data = FindWavData(in);
  if (!data) return {};
  length =
      static_cast<int>(data->size() / (uint64_t{1} * format->channels * format->bytesPerSample));
  channels = format->channels;
  bytesPerSample = format->bytesPerSample;
  hertz = format->hertz;
  return ByteBuffer(data->begin(), data->end());
}
