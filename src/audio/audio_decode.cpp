#include "audio/audio_decode.h"

#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

// Ogg samples are handed on as little-endian 16-bit bytes by a plain copy.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr uint32_t kPcmCompression = 1;
constexpr uint32_t kPcmFormatSize = 16;
constexpr uint32_t kMinBitsPerSample = 8;
constexpr int kOggChunkFrames = 4096;

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

struct VorbisCloser {
  void operator()(stb_vorbis* decoder) const { stb_vorbis_close(decoder); }
};
using VorbisDecoder = std::unique_ptr<stb_vorbis, VorbisCloser>;

// Decodes every frame, keeping a whole chunk of room free before each call so that no
// frame is ever cut short by the buffer's end.
std::vector<short> DecodeAllFrames(stb_vorbis* decoder, int channels) {
  const size_t chunk = static_cast<size_t>(channels) * kOggChunkFrames;
  std::vector<short> samples(chunk);
  size_t written = 0;
  for (;;) {
    const size_t room = std::min<size_t>(samples.size() - written, INT_MAX);
    const int frames = stb_vorbis_get_frame_short_interleaved(
        decoder, channels, samples.data() + written, static_cast<int>(room));
    if (frames <= 0) break;
    written += static_cast<size_t>(frames) * channels;
    if (written + chunk > samples.size()) samples.resize(samples.size() * 2);
  }
  samples.resize(written);
  return samples;
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

std::optional<ByteBuffer> LoadOGG(std::span<const unsigned char> file, int& length, int& channels,
                                  int& bytesPerSample, int& hertz) {
  if (file.size() > INT_MAX) return {};
  int error = 0;
  VorbisDecoder decoder(
      stb_vorbis_open_memory(file.data(), static_cast<int>(file.size()), &error, nullptr));
  if (!decoder) return {};
  const stb_vorbis_info info = stb_vorbis_get_info(decoder.get());
  if (info.channels <= 0) return {};
  const std::vector<short> samples = DecodeAllFrames(decoder.get(), info.channels);
  ByteBuffer bytes(samples.size() * sizeof(short));
  if (!bytes.empty()) std::memcpy(bytes.data(), samples.data(), bytes.size());
  length = static_cast<int>(samples.size() / info.channels);
  channels = info.channels;
  bytesPerSample = 2;
  hertz = static_cast<int>(info.sample_rate);
  return bytes;
}

std::optional<ByteBuffer> LoadAudioData(const String& path, int& length, int& channels,
                                        int& bytesPerSample, int& hertz) {
  const String lower = path.ToLower();
  const bool wav = lower.EndsWith(".wav");
  if (!wav && !lower.EndsWith(".ogg")) return {};
  const auto file = LoadData(path);
  if (!file) return {};
  return wav ? LoadWAV(*file, length, channels, bytesPerSample, hertz)
             : LoadOGG(*file, length, channels, bytesPerSample, hertz);
}
