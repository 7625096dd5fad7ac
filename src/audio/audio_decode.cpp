#include "audio/audio_decode.h"

#include <algorithm>
#include <array>
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

constexpr int kOggChunkFrames = 4096;
constexpr int kFirstArenaBytes = 256 * 1024;
constexpr int kLastArenaBytes = 32 * 1024 * 1024;

constexpr std::string_view kOggCapture = "OggS";
constexpr size_t kOggPageHeader = 27;
constexpr size_t kOggSegmentCountAt = 26;
constexpr size_t kOggCrcAt = 22;
constexpr uint32_t kOggCrcPolynomial = 0x04c11db7;

using CrcTable = std::array<uint32_t, 256>;

constexpr CrcTable MakeOggCrcTable() {
  CrcTable table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i << 24;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 0x80000000u) ? (crc << 1) ^ kOggCrcPolynomial : crc << 1;
    }
    table[i] = crc;
  }
  return table;
}

// The page checksum, computed with the checksum field itself taken as zero.
uint32_t OggPageCrc(std::span<const unsigned char> page) {
  static constexpr CrcTable table = MakeOggCrcTable();
  uint32_t crc = 0;
  for (size_t i = 0; i < page.size(); ++i) {
    const unsigned char byte = (i >= kOggCrcAt && i < kOggCrcAt + 4) ? 0 : page[i];
    crc = (crc << 8) ^ table[((crc >> 24) ^ byte) & 0xff];
  }
  return crc;
}

uint32_t ReadLittleEndian32(std::span<const unsigned char> bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
         uint32_t{bytes[3]} << 24;
}

// The size of the intact page at the start of the bytes, or 0.
size_t OggPageSize(std::span<const unsigned char> bytes) {
  if (bytes.size() < kOggPageHeader) return 0;
  if (std::string_view(reinterpret_cast<const char*>(bytes.data()), 4) != kOggCapture) return 0;
  const size_t segments = bytes[kOggSegmentCountAt];
  if (bytes.size() < kOggPageHeader + segments) return 0;
  size_t size = kOggPageHeader + segments;
  for (size_t i = 0; i < segments; ++i) size += bytes[kOggPageHeader + i];
  if (bytes.size() < size) return 0;
  const auto page = bytes.first(size);
  return OggPageCrc(page) == ReadLittleEndian32(page.subspan(kOggCrcAt, 4)) ? size : 0;
}

// stb_vorbis checks no page checksums and misbehaves on some damaged headers, so a file is
// only handed to it when it is whole: intact pages from its first byte to its last.
bool OggPagesIntact(std::span<const unsigned char> file) {
  while (!file.empty()) {
    const size_t page = OggPageSize(file);
    if (page == 0) return false;
    file = file.subspan(page);
  }
  return true;
}

struct VorbisCloser {
  void operator()(stb_vorbis* decoder) const { stb_vorbis_close(decoder); }
};
using VorbisDecoder = std::unique_ptr<stb_vorbis, VorbisCloser>;

// The decoder takes all its memory from an arena of ours, because on some damaged setup
// headers it gives up without freeing what it had allocated itself. An arena too small for
// a file's setup is retried larger, up to a bound that also refuses absurd headers.
VorbisDecoder OpenVorbis(std::span<const unsigned char> file, std::vector<char>& arena) {
  for (int bytes = kFirstArenaBytes; bytes <= kLastArenaBytes; bytes *= 2) {
    arena.assign(static_cast<size_t>(bytes), 0);
    const stb_vorbis_alloc alloc{arena.data(), bytes};
    int error = 0;
    VorbisDecoder decoder(
        stb_vorbis_open_memory(file.data(), static_cast<int>(file.size()), &error, &alloc));
    if (decoder || error != VORBIS_outofmem) return decoder;
  }
  return nullptr;
}

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

std::optional<ByteBuffer> LoadOGG(std::span<const unsigned char> file, int& length, int& channels,
                                  int& bytesPerSample, int& hertz) {
  if (file.size() > INT_MAX || file.empty() || !OggPagesIntact(file)) return {};
  std::vector<char> arena;
  const VorbisDecoder decoder = OpenVorbis(file, arena);
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
  if (!wav && !lower.EndsWith(".ogg")) {
    ReportUnloadableAsset(path, "only .wav and .ogg files are played");
    return {};
  }
  std::string whyNot;
  const auto file = LoadData(path, &whyNot);
  if (!file) {
    ReportUnloadableAsset(path, String(whyNot));
    return {};
  }
  auto samples = wav ? LoadWAV(*file, length, channels, bytesPerSample, hertz)
                     : LoadOGG(*file, length, channels, bytesPerSample, hertz);
  if (!samples)
    ReportUnloadableAsset(path,
                          wav ? "not a playable WAVE file" : "not a playable Ogg Vorbis file");
  return samples;
}
