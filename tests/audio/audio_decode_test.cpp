#include "audio/audio_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>

#include "sound_files.h"

namespace {

using soundtest::Bytes;
using soundtest::ReadFile;

constexpr size_t kRiffHeader = 12;  // "RIFF", size, "WAVE"
constexpr size_t kFmtSizeAt = 16, kChannelsAt = 22, kBitsAt = 34;
constexpr size_t kSoxDataAt = 36;  // sox writes a 16-byte fmt chunk and then the data

struct Decoded {
  std::optional<ByteBuffer> samples;
  int length = -1, channels = -1, bytesPerSample = -1, hertz = -1;
};

using Decoder = std::optional<ByteBuffer> (*)(std::span<const unsigned char>, int&, int&, int&,
                                              int&);

Decoded Decode(Decoder decoder, const Bytes& bytes) {
  Decoded d;
  d.samples = decoder(bytes, d.length, d.channels, d.bytesPerSample, d.hertz);
  return d;
}

Decoded Load(const std::string& path) {
  Decoded d;
  d.samples = LoadAudioData(String(path), d.length, d.channels, d.bytesPerSample, d.hertz);
  return d;
}

Bytes LittleEndian32(uint32_t value) {
  return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
          static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

void PutU32(Bytes& bytes, size_t at, uint32_t value) {
  const Bytes field = LittleEndian32(value);
  std::copy(field.begin(), field.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

void InsertChunk(Bytes& bytes, size_t at, const std::string& tag, const Bytes& body) {
  Bytes chunk(tag.begin(), tag.end());
  const Bytes size = LittleEndian32(static_cast<uint32_t>(body.size()));
  chunk.insert(chunk.end(), size.begin(), size.end());
  chunk.insert(chunk.end(), body.begin(), body.end());
  if (body.size() % 2 == 1) chunk.push_back(0);
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
}

// A private folder for the files that sox and oggenc make.
class SoundFiles : public ::testing::Test {
 protected:
  Bytes SoxWav(int hertz, int bits, int channels, const std::string& options = "") {
    const Bytes bytes =
        ReadFile(soundtest::MakeWav(dir_, "tone.wav", hertz, bits, channels, 0.05, options));
    EXPECT_EQ(std::string(bytes.begin() + kSoxDataAt, bytes.begin() + kSoxDataAt + 4), "data");
    return bytes;
  }

  soundtest::TempDir dir_;
};

using WavDecode = SoundFiles;
using OggDecode = SoundFiles;

TEST_F(WavDecode, DecodesEveryLayoutToTheSamplesSoxReads) {
  const struct {
    int hertz, bits, channels;
    const char* options;
  } layouts[] = {{22050, 8, 1, "-e unsigned-integer"},
                 {11025, 8, 2, "-e unsigned-integer"},
                 {44100, 16, 1, ""},
                 {48000, 16, 2, ""}};
  for (const auto& layout : layouts) {
    const std::string wav = soundtest::MakeWav(dir_, "tone.wav", layout.hertz, layout.bits,
                                               layout.channels, 0.05, layout.options);
    soundtest::Run("sox '" + wav + "' -t raw '" + dir_.File("tone.raw") + "'");
    const Bytes expected = ReadFile(dir_.File("tone.raw"));
    const int frames = static_cast<int>(expected.size()) / (layout.channels * layout.bits / 8);
    const std::string name =
        std::to_string(layout.bits) + " bits, " + std::to_string(layout.channels) + " channels";

    const Decoded d = Load(wav);
    ASSERT_TRUE(d.samples) << name;
    EXPECT_EQ(std::tuple(d.channels, d.bytesPerSample, d.hertz, d.length),
              std::tuple(layout.channels, layout.bits / 8, layout.hertz, frames))
        << name;
    EXPECT_EQ(*d.samples, expected) << name;
  }
}

// Chunks the reader must step over give the plain file's samples; files that are not plain
// PCM or claim more than they hold are refused.
TEST_F(WavDecode, SkipsChunksItNeedsNotAndRefusesWhatItCannotRead) {
  const Bytes plain = SoxWav(44100, 16, 2);
  const Decoded expected = Decode(LoadWAV, plain);
  ASSERT_TRUE(expected.samples);
  const struct {
    const char* name;
    void (*bend)(Bytes&);
    bool read;
  } cases[] = {
      {"an odd-sized chunk before the data",
       [](Bytes& b) {
         InsertChunk(b, kSoxDataAt, "LIST", {'a', 'b', 'c'});
       },
       true},
      {"an 18-byte fmt chunk",
       [](Bytes& b) {
         PutU32(b, kFmtSizeAt, 18);
         b.insert(b.begin() + kSoxDataAt, {0, 0});
       },
       true},
      {"chunk before fmt",
       [](Bytes& b) {
         InsertChunk(b, kRiffHeader, "LIST", {'x', 'y'});
       },
       false},
      {"not RIFF", [](Bytes& b) { b[0] = 'X'; }, false},
      {"no channels", [](Bytes& b) { b[kChannelsAt] = 0; }, false},
      {"four bits per sample", [](Bytes& b) { b[kBitsAt] = 4; }, false},
      {"a data size beyond the file", [](Bytes& b) { PutU32(b, kSoxDataAt + 4, 0xFFFFFFFF); },
       false},
      {"a chunk size beyond the file",
       [](Bytes& b) {
         InsertChunk(b, kSoxDataAt, "junk", {1, 2, 3, 4});
         PutU32(b, kSoxDataAt + 4, 0xFFFFFFFE);
       },
       false},
  };
  for (const auto& c : cases) {
    Bytes bent = plain;
    c.bend(bent);
    const Decoded d = Decode(LoadWAV, bent);
    EXPECT_EQ(d.samples.has_value(), c.read) << c.name;
    if (c.read && d.samples) {
      EXPECT_EQ(*d.samples, *expected.samples) << c.name;
      EXPECT_EQ(d.length, expected.length) << c.name;
    }
  }
  EXPECT_FALSE(
      Load(soundtest::MakeWav(dir_, "float.wav", 44100, 32, 1, 0.05, "-e floating-point")).samples);
  EXPECT_FALSE(Load(dir_.File("missing.wav")).samples);
}

TEST_F(WavDecode, RefusesEveryTruncation) {
  const Bytes whole = SoxWav(8000, 8, 1, "-e unsigned-integer");
  ASSERT_TRUE(Decode(LoadWAV, whole).samples);
  for (size_t size = 0; size < whole.size(); ++size) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(Decode(LoadWAV, cut).samples) << "cut to " << size << " bytes";
  }
}

TEST_F(OggDecode, DecodesMonoAndStereoToSixteenBitsAtTheirLength) {
  for (const int channels : {1, 2}) {
    const Decoded d = Load(soundtest::MakeOgg(dir_, "tone.ogg", 44100, channels, 1.0));
    ASSERT_TRUE(d.samples);
    EXPECT_EQ(std::tuple(d.channels, d.bytesPerSample, d.hertz), std::tuple(channels, 2, 44100));
    EXPECT_NEAR(d.length, 44100, 441);
    ASSERT_EQ(d.samples->size(), size_t{2} * channels * d.length);
    int16_t peak = 0;
    for (size_t i = 0; i < d.samples->size(); i += 2) {
      int16_t sample = 0;
      std::memcpy(&sample, &(*d.samples)[i], 2);
      peak = std::max<int16_t>(peak, sample);
    }
    EXPECT_NEAR(peak, 16384, 1000) << "the tone at half of full scale";
  }
}

TEST_F(OggDecode, RefusesTruncatedAndDamagedFiles) {
  const Bytes whole = ReadFile(soundtest::MakeOgg(dir_, "tone.ogg", 22050, 2, 2.0));
  ASSERT_TRUE(Decode(LoadOGG, whole).samples);

  for (const size_t size :
       {size_t{0}, size_t{4}, size_t{30}, size_t{1000}, whole.size() / 2, whole.size() - 1}) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(Decode(LoadOGG, cut).samples) << "cut to " << size << " bytes";
  }

  unsigned seed = 1;
  for (int round = 0; round < 40; ++round) {
    Bytes bent = whole;
    for (int flip = 0; flip < 1 + round % 8; ++flip) {
      seed = seed * 1664525 + 1013904223;
      bent[(seed >> 8) % bent.size()] ^= static_cast<unsigned char>(1 + (seed >> 4) % 255);
    }
    EXPECT_FALSE(Decode(LoadOGG, bent).samples) << "round " << round;
  }
}

}  // namespace
