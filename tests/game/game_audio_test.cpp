// The game's effects and tunes on the real audio device (OpenAL Soft with no output).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "audio/audio.h"
#include "sim/headless_game.h"
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
    app().audio.DiscardSounds();
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
  for (const int id : {kEffect, 49, 100, 149, kMissingEffect}) {
    app().audio.LoadSFX(id);
    EXPECT_EQ(app().audio.Sounds[id] != nullptr, id != kMissingEffect) << "effect " << id;
  }
}

TEST_F(GameAudio, EffectsRotateOverTwentyFourChannelsStartingAtOne) {
  app().save.Settings[kSoundModeSetting] = kSoundAll;
  app().audio.LoadSFX(kEffect);
  const auto& sample = app().audio.Sounds[kEffect]->sample;
  for (int played = 1; played <= 25; ++played) {
    app().io.PlaySFX(kEffect);
    const int expected = played % 24;
    EXPECT_EQ(app().audio.NextChannel, expected);
    EXPECT_EQ(Channel(expected).sample, sample);
    EXPECT_EQ(ChannelState(expected), kChannelPlaying) << "effect " << played;
  }
  for (int unused = 24; unused < kSoundChannels; ++unused) {
    EXPECT_EQ(Channel(unused).source, 0u) << "channel " << unused;
  }
}

TEST_F(GameAudio, EachSoundModePlaysOnlyItsEffectsAndTunes) {
  const struct {
    int mode;
    bool effects, tunes;
  } modes[] = {{kSoundOff, false, false},
               {kSoundAll, true, true},
               {kEffectsOnly, true, false},
               {kMusicOnly, false, true}};
  app().audio.LoadSFX(kEffect);
  for (const auto& m : modes) {
    app().save.Settings[kSoundModeSetting] = kSoundAll;
    app().io.PlayTune("Robust", 1);  // a tune from before the change
    app().save.Settings[kSoundModeSetting] = m.mode;
    const int next = (app().audio.NextChannel + 1) % 24;
    StopChannel(next);

    app().io.PlaySFX(kEffect);
    EXPECT_EQ(app().audio.NextChannel == next, m.effects) << "mode " << m.mode;
    EXPECT_EQ(ChannelState(next) == kChannelPlaying, m.effects) << "mode " << m.mode;
    app().io.PlayTune("Robust", 1);
    EXPECT_EQ(MusicState() == kChannelPlaying, m.tunes) << "mode " << m.mode;
    EXPECT_EQ(app().audio.MusicPlaying, m.tunes ? 1 : 0) << "mode " << m.mode;
  }
  app().io.StopTune();
  EXPECT_EQ(MusicState(), kChannelStopped);
  EXPECT_EQ(app().audio.MusicPlaying, 0);
}

TEST_F(GameAudio, AnEffectSetsUpItsChannelAndAMissingOneStillCutsItOff) {
  app().save.Settings[kSoundModeSetting] = kSoundAll;
  for (const int id : {kEffect, kMissingEffect}) {
    app().audio.LoadSFX(id);
    const int channel = app().audio.NextChannel + 1;
    PlaySound(app().audio.Sounds[kEffect], channel);  // a sound to cut off
    app().io.PlaySFX(id, 1.25f, 0.5f, 1.0f);
    EXPECT_EQ(ChannelState(channel) == kChannelPlaying, id == kEffect) << "effect " << id;
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_PITCH), 1.25f) << "effect " << id;
    EXPECT_FLOAT_EQ(SourceFloat(channel, AL_GAIN), 0.5f) << "effect " << id;
    ALfloat x = 0, y = 0, z = 0;
    alGetSource3f(Channel(channel).source, AL_POSITION, &x, &y, &z);
    EXPECT_NEAR(x, 0.841f, 1e-3) << "effect " << id;
  }
}

}  // namespace
