// Effects are 16-bit PCM WAVE files that start and end silent; tunes are Ogg Vorbis of at
// least 45 seconds that loop without a jump and sit below the effects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "audio_assets.h"

extern "C" int stb_vorbis_decode_filename(const char* filename, int* channels, int* sample_rate,
                                          short** output);

namespace {

struct Wav {
  int channels = 0, rate = 0, bits = 0, format = 0;
  std::vector<float> samples;
};

// Walks the chunks, so a writer that put anything between them would still be read right.
Wav ReadWav(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
  auto u16 = [&b](size_t at) { return uint32_t(b[at] | b[at + 1] << 8); };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  auto text = [&b](size_t at) { return std::string(b.begin() + at, b.begin() + at + 4); };
  Wav wav;
  if (b.size() < 12 || text(0) != "RIFF" || text(8) != "WAVE") return wav;
  for (size_t at = 12; at + 8 <= b.size();) {
    const uint32_t size = u32(at + 4);
    if (at + 8 + size > b.size()) break;
    if (text(at) == "fmt ") {
      wav.format = u16(at + 8);
      wav.channels = u16(at + 10);
      wav.rate = static_cast<int>(u32(at + 12));
      wav.bits = u16(at + 22);
    } else if (text(at) == "data") {
      for (size_t i = 0; i + 1 < size; i += 2)
        wav.samples.push_back(static_cast<int16_t>(u16(at + 8 + i)) / 32768.0f);
    }
    at += 8 + size + (size & 1);
  }
  return wav;
}

TEST(AssetSounds, EveryEffectIsShortMono16BitPcmPeakingJustBelowFullScale) {
  for (int id : assets::EffectIds()) {
    const std::string path = std::string(ZV_DATA_DIR) + "/" + assets::EffectFileName(id);
    SCOPED_TRACE(path);
    const Wav wav = ReadWav(path);
    EXPECT_EQ(std::tuple(wav.format, wav.channels, wav.bits, wav.rate),
              std::tuple(1, 1, 16, 44100));
    ASSERT_GT(wav.samples.size(), 1000u);
    EXPECT_LT(wav.samples.size(), 44100u * 3);
    float peak = 0;
    for (float v : wav.samples) peak = std::max(peak, std::abs(v));
    EXPECT_NEAR(peak, 0.89, 0.01);
    // Click-free: the first and last samples are at (or next to) silence.
    EXPECT_LT(std::abs(wav.samples.front()), 0.01);
    EXPECT_LT(std::abs(wav.samples.back()), 0.01);
  }
}

TEST(AssetSounds, EveryTuneIsStereoVorbisOfAtLeast45SecondsBelowTheEffects) {
  for (const char* tune : assets::TuneNames()) {
    const std::string path = std::string(ZV_DATA_DIR) + "/sfx/" + tune + ".ogg";
    SCOPED_TRACE(path);
    int channels = 0, rate = 0;
    short* pcm = nullptr;
    const int frames = stb_vorbis_decode_filename(path.c_str(), &channels, &rate, &pcm);
    ASSERT_GT(frames, 0);
    EXPECT_EQ(std::pair(channels, rate), std::pair(2, 44100));
    EXPECT_GE(double(frames) / rate, 45.0);
    int peak = 0;
    for (int i = 0; i < frames * channels; ++i) peak = std::max(peak, std::abs(int(pcm[i])));
    EXPECT_LT(peak / 32768.0, 0.7);
    std::free(pcm);
  }
}

// The end of each tune runs into its start as smoothly as neighbouring samples do, and no
// two tunes share a tempo (their loop lengths differ).
TEST(AssetSounds, TunesLoopWithoutAJumpAndDiffer) {
  std::vector<size_t> lengths;
  for (int t = 0; t < static_cast<int>(assets::TuneNames().size()); ++t) {
    SCOPED_TRACE(assets::TuneNames()[t]);
    const std::vector<float> tune = assets::ComposeTune(t);
    ASSERT_GE(tune.size(), 4u);
    const size_t n = tune.size();
    lengths.push_back(n);
    double largestStep = 0;
    for (size_t i = 2; i < n; ++i)
      largestStep = std::max<double>(largestStep, std::abs(tune[i] - tune[i - 2]));
    for (int c = 0; c < 2; ++c) {
      EXPECT_LE(std::abs(tune[c] - tune[n - 2 + c]), largestStep);
      EXPECT_LT(std::abs(tune[c] - tune[n - 2 + c]), 0.1);
    }
  }
  std::sort(lengths.begin(), lengths.end());
  EXPECT_EQ(std::unique(lengths.begin(), lengths.end()), lengths.end());
}

}  // namespace
