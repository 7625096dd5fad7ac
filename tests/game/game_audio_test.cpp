// The game's effects and tunes on the real audio device (OpenAL Soft with no output).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "audio/audio.h"
#include "headless_game.h"
#include "sound_files.h"

namespace {

constexpr int kSoundOff = 0, kSoundAll = 1, kEffectsOnly = 2, kMusicOnly = 3;
constexpr int kEffect = 5;
constexpr int kMissingEffect = 7;

// A game running in a folder of its own, with a few effects and one tune in data/sfx.
class GameAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path sfx = dir_.Path() / "data" / "sfx";
    std::filesystem::create_directories(sfx);
    for (const char* name : {"005.wav", "049.wav", "100.wav", "149.wav"}) {
      soundtest::MakeWav(dir_, "data/sfx/" + std::string(name), 22050, 16, 1, 2.0);
    }
    soundtest::MakeOgg(dir_, "data/sfx/Robust.ogg", 22050, 2, 1.0);
    std::filesystem::current_path(dir_.Path());
    game_ = std::make_unique<HeadlessGame>();
  }
  void TearDown() override {
    app().DiscardSounds();
    game_.reset();
    std::filesystem::current_path(home_);
  }

  MyApp& app() { return game_->app(); }
  const gxtkChannel& Channel(int channel) { return AudioDevice()->channels[channel]; }
  float SourceFloat(int channel, ALenum property) {
    ALfloat value = -1;
    alGetSourcef(Channel(channel).source, property, &value);
    return value;
  }

  std::filesystem::path home_ = std::filesystem::current_path();
  soundtest::TempDir dir_;
  std::unique_ptr<HeadlessGame> game_;
};

TEST_F(GameAudio, EffectsAreReadFromThreeDigitFileNames) {
  for (const int id : {kEffect, 49, 100, 149, kMissingEffect}) app().LoadSFX(id);
  EXPECT_NE(app().Sounds[kEffect], nullptr);
  EXPECT_NE(app().Sounds[49], nullptr);
  EXPECT_NE(app().Sounds[100], nullptr);
  EXPECT_NE(app().Sounds[149], nullptr);
  EXPECT_EQ(app().Sounds[kMissingEffect], nullptr);
}

TEST_F(GameAudio, EffectsRotateOverTwentyFourChannelsStartingAtOne) {
  app().Settings[kSoundModeSetting] = kSoundAll;
  app().LoadSFX(kEffect);
  const auto& sample = app().Sounds[kEffect]->sample;
  for (int played = 1; played <= 25; ++played) {
    app().PlaySFX(kEffect);
    const int expected = played % 24;
    EXPECT_EQ(app().NextChannel, expected);
    EXPECT_EQ(Channel(expected).sample, sample);
    EXPECT_EQ(ChannelState(expected), kChannelPlaying) << "effect " << played;
  }
  for (int unused = 24; unused < kSoundChannels; ++unused) {
    EXPECT_EQ(Channel(unused).source, 0u) << "channel " << unused;
  }
}

TEST_F(GameAudio, AnEffectTakesItsVolumeRateAndPan) {
  app().Settings[kSoundModeSetting] = kSoundAll;
  app().LoadSFX(kEffect);
  app().PlaySFX(kEffect, 1.25f, 0.5f, 1.0f);
  EXPECT_FLOAT_EQ(SourceFloat(1, AL_GAIN), 0.5f);
  EXPECT_FLOAT_EQ(SourceFloat(1, AL_PITCH), 1.25f);
  ALfloat x = 0, y = 0, z = 0;
  alGetSource3f(Channel(1).source, AL_POSITION, &x, &y, &z);
  EXPECT_NEAR(x, 0.841f, 1e-3);
}

TEST_F(GameAudio, OnlyTheSettingsWithEffectsPlayThem) {
  app().LoadSFX(kEffect);
  for (const int mode : {kSoundOff, kMusicOnly}) {
    app().Settings[kSoundModeSetting] = mode;
    app().PlaySFX(kEffect);
    EXPECT_EQ(app().NextChannel, 0) << "mode " << mode;
    EXPECT_EQ(ChannelState(1), kChannelStopped) << "mode " << mode;
  }
  app().Settings[kSoundModeSetting] = kEffectsOnly;
  app().PlaySFX(kEffect);
  EXPECT_EQ(ChannelState(1), kChannelPlaying);
}

TEST_F(GameAudio, AMissingEffectStillCutsOffItsChannel) {
  app().Settings[kSoundModeSetting] = kSoundAll;
  app().LoadSFX(kEffect);
  app().LoadSFX(kMissingEffect);
  PlaySound(app().Sounds[kEffect], 1);
  ASSERT_EQ(ChannelState(1), kChannelPlaying);
  app().PlaySFX(kMissingEffect, 1.0f, 0.25f);
  EXPECT_EQ(ChannelState(1), kChannelStopped);
  EXPECT_FLOAT_EQ(SourceFloat(1, AL_GAIN), 0.25f);
}

TEST_F(GameAudio, TunesFollowTheSoundSetting) {
  app().Settings[kSoundModeSetting] = kSoundAll;
  app().PlayTune("Robust", 1);
  EXPECT_EQ(MusicState(), kChannelPlaying);
  EXPECT_EQ(app().MusicPlaying, 1);

  // Effects only: the playing tune stops and none starts.
  app().Settings[kSoundModeSetting] = kEffectsOnly;
  app().PlayTune("Robust", 1);
  EXPECT_EQ(MusicState(), kChannelStopped);
  EXPECT_EQ(app().MusicPlaying, 0);

  app().Settings[kSoundModeSetting] = kMusicOnly;
  app().PlayTune("Robust", 1);
  EXPECT_EQ(MusicState(), kChannelPlaying);
  app().StopTune();
  EXPECT_EQ(MusicState(), kChannelStopped);
  EXPECT_EQ(app().MusicPlaying, 0);

  app().Settings[kSoundModeSetting] = kSoundOff;
  app().PlayTune("Robust", 1);
  EXPECT_EQ(MusicState(), kChannelStopped);
  EXPECT_EQ(app().MusicPlaying, 0);
}

}  // namespace
