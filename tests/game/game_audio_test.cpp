// The game's effects and tunes on the real audio device (OpenAL Soft with no output).
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "audio/audio.h"
#include "sim/headless_game.h"
#include "sound_files.h"

namespace {

constexpr int kEffect = 5, kMissingEffect = 7;

// A game in a folder of its own, with a few effects and one tune in data/sfx.
class GameAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.Path() / "data" / "sfx");
    for (const char* name : {"005.wav", "049.wav", "100.wav", "149.wav"})
      soundtest::MakeWav(dir_, "data/sfx/" + std::string(name), 22050, 16, 1, 2.0);
    soundtest::MakeOgg(dir_, "data/sfx/Robust.ogg", 22050, 2, 1.0);
    std::filesystem::current_path(dir_.Path());
    game_ = std::make_unique<HeadlessGame>();
    for (const int id : {kEffect, 49, 100, 149, kMissingEffect}) app().audio.LoadSFX(id);
    app().save.Settings[kSoundModeSetting] = 1;
  }
  void TearDown() override {
    app().audio.DiscardSounds();
    game_.reset();
    std::filesystem::current_path(home_);
  }
  MyApp& app() { return game_->app(); }

  std::filesystem::path home_ = std::filesystem::current_path();
  soundtest::TempDir dir_;
  std::unique_ptr<HeadlessGame> game_;
};

// Effects come from three-digit file names and rotate over channels 1 to 23 and 0; a missing
// effect still cuts off what its channel played, and the pitch, gain and pan reach the source.
TEST_F(GameAudio, EffectsRotateOverTwentyFourChannels) {
  for (const int id : {kEffect, 49, 100, 149})
    EXPECT_NE(app().audio.Sounds[id], nullptr) << "effect " << id;
  EXPECT_EQ(app().audio.Sounds[kMissingEffect], nullptr);
  for (int played = 1; played <= 25; ++played) {
    app().io.PlaySFX(kEffect);
    EXPECT_EQ(app().audio.NextChannel, played % 24);
    EXPECT_EQ(ChannelState(played % 24), kChannelPlaying) << played;
  }
  EXPECT_EQ(AudioDevice()->channels[24].source, 0u) << "channels past 23 unused";
  for (const int id : {kEffect, kMissingEffect}) {
    const int channel = app().audio.NextChannel + 1;
    PlaySound(app().audio.Sounds[kEffect], channel);
    app().io.PlaySFX(id, 1.25f, 0.5f, 1.0f);
    EXPECT_EQ(ChannelState(channel) == kChannelPlaying, id == kEffect) << id;
    const ALuint source = AudioDevice()->channels[channel].source;
    ALfloat pitch = 0, gain = 0, x = 0, y = 0, z = 0;
    alGetSourcef(source, AL_PITCH, &pitch);
    alGetSourcef(source, AL_GAIN, &gain);
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    EXPECT_EQ((std::array{std::round(pitch * 100), std::round(gain * 100), std::round(x * 1000)}),
              (std::array<float, 3>{125, 50, 841}))
        << id;
  }
}

// Off, all, effects only, music only.
TEST_F(GameAudio, EachSoundModePlaysOnlyItsEffectsAndTunes) {
  for (const auto& [mode, effects, tunes] :
       {std::tuple{0, false, false}, {1, true, true}, {2, true, false}, {3, false, true}}) {
    app().save.Settings[kSoundModeSetting] = 1;
    app().io.PlayTune("Robust", 1);  // a tune from before the change
    app().save.Settings[kSoundModeSetting] = mode;
    const int next = (app().audio.NextChannel + 1) % 24;
    StopChannel(next);
    app().io.PlaySFX(kEffect);
    EXPECT_EQ(ChannelState(next) == kChannelPlaying, effects) << mode;
    app().io.PlayTune("Robust", 1);
    EXPECT_EQ(MusicState() == kChannelPlaying, tunes) << mode;
    EXPECT_EQ(app().audio.MusicPlaying, tunes ? 1 : 0) << mode;
  }
  app().io.StopTune();
  EXPECT_EQ(MusicState(), kChannelStopped);
}

}  // namespace
