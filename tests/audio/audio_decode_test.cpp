#include "audio/audio_decode.h"

#include <gtest/gtest.h>

#include <string>

#include "sound_files.h"

namespace {

using soundtest::Bytes;
using soundtest::ReadFile;

constexpr size_t kFmtSizeAt = 16, kChannelsAt = 22, kBitsAt = 34;
constexpr size_t kSoxDataAt = 36;  // sox writes a 16-byte fmt chunk and then the data

using Decoder = std::optional<ByteBuffer> (*)(std::span<const unsigned char>, int&, int&, int&,
                                              int&);

std::optional<ByteBuffer> Decode(Decoder decoder, const Bytes& bytes, int* frames = nullptr) {
  int length, channels, bytesPerSample, hertz;
  auto samples = decoder(bytes, length, channels, bytesPerSample, hertz);
  if (frames) *frames = length;
  return samples;
}

void PutU32(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> 8 * i);
}

// A chunk of this tag and body, padded to an even size, inserted before the byte at `at`.
void InsertChunk(Bytes& bytes, size_t at, const std::string& tag, Bytes body) {
  Bytes chunk(tag.begin(), tag.end());
  chunk.resize(8);
  PutU32(chunk, 4, static_cast<uint32_t>(body.size()));
  if (body.size() % 2 == 1) body.push_back(0);
  chunk.insert(chunk.end(), body.begin(), body.end());
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
}

// Chunks the reader must step over give the plain file's samples, those sox reads; files that
// are not plain PCM or claim more than they hold are refused.
TEST(WavDecode, SkipsChunksItNeedsNotAndRefusesWhatItCannotRead) {
  const soundtest::TempDir dir;
  const std::string wav = soundtest::MakeWav(dir, "tone.wav", 44100, 16, 2, 0.05);
  soundtest::Run("sox '" + wav + "' -t raw '" + wav + ".raw'");
  const Bytes plain = ReadFile(wav);
  ASSERT_EQ(Decode(LoadWAV, plain), ReadFile(wav + ".raw"));
  const std::pair<void (*)(Bytes&), bool> rows[] = {
      {[](Bytes& b) {
         InsertChunk(b, kSoxDataAt, "LIST", {'a', 'b', 'c'});
       },
       true},
      {[](Bytes& b) {
         PutU32(b, kFmtSizeAt, 18), b.insert(b.begin() + kSoxDataAt, {0, 0});
       },
       true},
      {[](Bytes& b) {
         InsertChunk(b, 12, "LIST", {'x', 'y'});
       },
       false},  // before fmt
      {[](Bytes& b) { b[0] = 'X'; }, false},
      {[](Bytes& b) { b[kChannelsAt] = 0; }, false},
      {[](Bytes& b) { b[kBitsAt] = 4; }, false},
      {[](Bytes& b) { PutU32(b, kSoxDataAt + 4, 0xFFFFFFFF); }, false},
      {[](Bytes& b) {
         InsertChunk(b, kSoxDataAt, "junk", {1, 2, 3, 4}), PutU32(b, kSoxDataAt + 4, 0xFFFFFFFE);
       },
       false},
  };
  for (const auto& [bend, read] : rows) {
    Bytes bent = plain;
    bend(bent);
    EXPECT_EQ(Decode(LoadWAV, bent), read ? Decode(LoadWAV, plain) : std::nullopt)
        << "row " << &bend - &rows[0].first;
  }
  int length, channels, bytesPerSample, hertz;
  EXPECT_FALSE(LoadAudioData(
      String(soundtest::MakeWav(dir, "f.wav", 8000, 32, 1, 0.01, "-e floating-point")), length,
      channels, bytesPerSample, hertz));
}

TEST(WavDecode, RefusesEveryTruncation) {
  const soundtest::TempDir dir;
  const Bytes whole =
      ReadFile(soundtest::MakeWav(dir, "t.wav", 8000, 8, 1, 0.05, "-e unsigned-integer"));
  ASSERT_TRUE(Decode(LoadWAV, whole));
  for (size_t size = 0; size < whole.size(); ++size) {
    EXPECT_FALSE(Decode(LoadWAV, Bytes(whole.begin(), whole.begin() + size))) << size << " bytes";
  }
}

// The whole file reads at its length; cut or damaged copies are refused.
TEST(OggDecode, RefusesTruncatedAndDamagedFiles) {
  const soundtest::TempDir dir;
  const Bytes whole = ReadFile(soundtest::MakeOgg(dir, "tone.ogg", 22050, 2, 2.0));
  int frames = 0;
  ASSERT_TRUE(Decode(LoadOGG, whole, &frames));
  EXPECT_NEAR(frames, 44100, 441);
  for (const size_t size : {size_t{0}, size_t{30}, size_t{1000}, whole.size() - 1}) {
    EXPECT_FALSE(Decode(LoadOGG, Bytes(whole.begin(), whole.begin() + size))) << size << " bytes";
  }
  unsigned seed = 1;
  for (int round = 0; round < 40; ++round) {
    Bytes bent = whole;
    for (int flip = 0; flip < 1 + round % 8; ++flip) {
      seed = seed * 1664525 + 1013904223;
      bent[(seed >> 8) % bent.size()] ^= static_cast<unsigned char>(1 + (seed >> 4) % 255);
    }
    EXPECT_FALSE(Decode(LoadOGG, bent)) << "round " << round;
  }
}

}  // namespace
