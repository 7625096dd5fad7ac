// Effects are 16-bit WAVE files that start and end silent; tunes are Ogg Vorbis of at least
// 45 seconds that loop without a jump and sit below the effects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "audio/audio_decode.h"
#include "audio_assets.h"

namespace {

// A file read by the game's own decoders: its layout, length in frames and 16-bit samples.
struct Sound {
  int frames = 0, channels = 0, bytesPerSample = 0, hertz = 0;
  std::vector<float> samples;
  float Peak() const {
    float peak = 0;
    for (float v : samples) peak = std::max(peak, std::abs(v));
    return peak;
  }
};

Sound Load(const std::string& file) {
  Sound sound;
  const auto bytes = LoadAudioData(String(std::string(ZV_DATA_DIR) + "/" + file), sound.frames,
                                   sound.channels, sound.bytesPerSample, sound.hertz);
  for (size_t i = 0; bytes && i + 1 < bytes->size(); i += 2) {
    int16_t sample = 0;
    std::memcpy(&sample, &(*bytes)[i], 2);
    sound.samples.push_back(sample / 32768.0f);
  }
  return sound;
}

TEST(AssetSounds, EffectsAreShortMono16BitPeakingJustBelowFullScaleAndTunesLongQuieterStereo) {
  for (int id : assets::EffectIds()) {
    const Sound wav = Load(assets::EffectFileName(id));
    SCOPED_TRACE(assets::EffectFileName(id));
    EXPECT_EQ(std::tuple(wav.channels, wav.bytesPerSample, wav.hertz), std::tuple(1, 2, 44100));
    ASSERT_GT(wav.samples.size(), 1000u);
    EXPECT_LT(wav.samples.size(), 44100u * 3);
    EXPECT_NEAR(wav.Peak(), 0.89, 0.01);
    // Click-free: the first and last samples are at (or next to) silence.
    EXPECT_LT(std::abs(wav.samples.front()), 0.01);
    EXPECT_LT(std::abs(wav.samples.back()), 0.01);
  }
  for (const char* name : assets::TuneNames()) {
    const Sound tune = Load(std::string("sfx/") + name + ".ogg");
    SCOPED_TRACE(name);
    EXPECT_EQ(std::tuple(tune.channels, tune.hertz), std::tuple(2, 44100));
    EXPECT_GE(tune.frames, 45 * 44100);
    EXPECT_LT(tune.Peak(), 0.7);
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
