// The device on OpenAL Soft's "wave" backend, which mixes in real time into a file.
#include "audio/audio_device.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

#include "audio/audio.h"
#include "sound_files.h"

namespace {

using soundtest::TempDir;

constexpr int kHertz = 44100;
constexpr int kOutputChannels = 2;
// OpenAL Soft allows this many sources; the music channel takes one at construction.
constexpr int kSourceLimit = 4;
constexpr int kSilence = 200;  // loudest output sample still counted as silence
constexpr double kToneSeconds = 0.2;
constexpr double kBlipSeconds = 0.05;

// Made once per process: OpenAL Soft reads its configuration at its first call.
struct DeviceFiles {
  DeviceFiles() {
    std::filesystem::create_directory(OutputDir());
    const std::string config = dir.File("alsoft.conf");
    std::ofstream(config) << "[general]\ndrivers = wave\nchannels = stereo\n"
                          << "sample-type = int16\nfrequency = " << kHertz
                          << "\nsources = " << kSourceLimit << "\nhrtf = false\n"
                          << "[wave]\nfile = " << Output() << "\n";
    setenv("ALSOFT_CONF", config.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);  // the environment's choice would win over the file
    tone = soundtest::MakeWav(dir, "tone.wav", kHertz, 16, 1, kToneSeconds);
    blip = soundtest::MakeWav(dir, "blip.wav", kHertz, 8, 1, kBlipSeconds, "-e unsigned-integer");
    tune = soundtest::MakeOgg(dir, "tune.ogg", kHertz, 2, 0.5);
  }
  std::filesystem::path OutputDir() const { return dir.Path() / "out"; }
  std::string Output() const { return (OutputDir() / "mix.wav").string(); }

  TempDir dir;
  std::string tone, blip, tune;
};

const DeviceFiles& Files() {
  static const DeviceFiles files;
  return files;
}

void Wait(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// The interleaved 16-bit frames of the backend's file, as sox reads them.
std::vector<int16_t> ReadMix(const std::string& path) {
  const std::string raw = path + ".raw";
  soundtest::Run("sox '" + path + "' -t raw '" + raw + "'");
  const soundtest::Bytes bytes = soundtest::ReadFile(raw);
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

struct Loudness {
  int first = -1, last = -1;  // frames
  int Frames() const { return first < 0 ? 0 : last - first + 1; }
};

Loudness FindSound(const std::vector<int16_t>& mix) {
  const auto loud = [](int16_t sample) { return std::abs(sample) > kSilence; };
  const auto first = std::find_if(mix.begin(), mix.end(), loud);
  if (first == mix.end()) return {};
  const auto last = std::find_if(mix.rbegin(), mix.rend(), loud);
  return {static_cast<int>(first - mix.begin()) / kOutputChannels,
          static_cast<int>(mix.rend() - last - 1) / kOutputChannels};
}

class OpenAlDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    Files();
    audio_ = std::make_unique<gxtkAudio>();
    SetAudioDevice(audio_.get());
    tone_ = audio_->LoadSample(String(Files().tone));
    blip_ = audio_->LoadSample(String(Files().blip));
    ASSERT_TRUE(tone_ && blip_);
  }
  void TearDown() override { CloseDevice(); }

  void CloseDevice() {
    tone_.reset();  // samples go while their device is still there
    blip_.reset();
    SetAudioDevice(nullptr);
    audio_.reset();
  }
  // Closing the device completes its output file.
  std::vector<int16_t> CloseAndReadMix() {
    CloseDevice();
    return ReadMix(Files().Output());
  }
  ALint SourceState(int channel) {
    ALint state = 0;
    alGetSourcei(audio_->channels[channel].source, AL_SOURCE_STATE, &state);
    return state;
  }
  std::unique_ptr<gxtkAudio> audio_;
  std::shared_ptr<gxtkSample> tone_, blip_;
};

TEST_F(OpenAlDevice, APlayedSampleSoundsForItsLength) {
  ASSERT_EQ(audio_->PlaySample(tone_, 0, 0), 0);
  EXPECT_EQ(audio_->ChannelState(0), kChannelPlaying);
  Wait(kToneSeconds + 0.3);
  EXPECT_EQ(audio_->ChannelState(0), kChannelStopped);

  const Loudness sound = FindSound(CloseAndReadMix());
  EXPECT_NEAR(sound.Frames(), kToneSeconds * kHertz, kToneSeconds * kHertz * 0.02);
}

TEST_F(OpenAlDevice, ChannelsRunThroughTheirStates) {
  audio_->PlaySample(blip_, 1, 0);
  audio_->PlaySample(blip_, 2, 1);
  Wait(kBlipSeconds + 0.15);

  // The one-shot has ended; pausing or resuming it changes nothing.
  EXPECT_EQ(audio_->ChannelState(1), kChannelStopped);
  audio_->PauseChannel(1);
  audio_->ResumeChannel(1);
  EXPECT_EQ(audio_->ChannelState(1), kChannelStopped);

  // The looping one plays on until stopped.
  EXPECT_EQ(audio_->ChannelState(2), kChannelPlaying);
  audio_->PauseChannel(2);
  EXPECT_EQ(audio_->ChannelState(2), kChannelPaused);
  EXPECT_EQ(SourceState(2), AL_PAUSED);
  audio_->ResumeChannel(2);
  EXPECT_EQ(audio_->ChannelState(2), kChannelPlaying);

  // Playing over it restarts the channel with the new sample.
  audio_->PlaySample(tone_, 2, 0);
  EXPECT_EQ(audio_->channels[2].sample, tone_);
  EXPECT_EQ(audio_->ChannelState(2), kChannelPlaying);
  audio_->StopChannel(2);
  EXPECT_EQ(audio_->ChannelState(2), kChannelStopped);
}

TEST_F(OpenAlDevice, TakesTheSourceOfTheFirstFinishedChannelWhenOpenAlHasNoMore) {
  // Music holds one source; channels 0..2 take the rest.
  audio_->PlaySample(blip_, 0, 0);
  audio_->PlaySample(blip_, 1, 0);
  audio_->PlaySample(tone_, 2, 1);
  Wait(kBlipSeconds + 0.15);
  const ALuint first = audio_->channels[0].source;
  const ALuint second = audio_->channels[1].source;

  ASSERT_EQ(audio_->PlaySample(tone_, 3, 1), 0);
  EXPECT_EQ(audio_->channels[3].source, first);
  EXPECT_EQ(audio_->channels[0].source, 0u);
  ASSERT_EQ(audio_->PlaySample(tone_, 4, 1), 0);
  EXPECT_EQ(audio_->channels[4].source, second);

  // Every channel with a source is still playing.
  EXPECT_EQ(audio_->PlaySample(tone_, 5, 0), -1);
  EXPECT_EQ(audio_->ChannelState(5), kChannelStopped);
}

TEST_F(OpenAlDevice, MusicPlaysOnItsOwnChannelAndAMissingTuneStopsIt) {
  EXPECT_EQ(PlayMusic(String(Files().tune), 1), 0);
  EXPECT_EQ(MusicState(), kChannelPlaying);
  PauseMusic();
  EXPECT_EQ(MusicState(), kChannelPaused);
  ResumeMusic();
  EXPECT_EQ(MusicState(), kChannelPlaying);

  // A missing tune still stops the one that was playing.
  EXPECT_EQ(PlayMusic(String(Files().dir.File("missing.ogg")), 1), -1);
  EXPECT_EQ(MusicState(), kChannelStopped);
}

TEST_F(OpenAlDevice, ADiscardedBufferIsDeletedOnceNoSourceHoldsIt) {
  audio_->PlaySample(tone_, 0, 1);
  audio_->PlaySample(blip_, 1, 0);
  const ALuint looping = tone_->buffer;
  const ALuint ended = blip_->buffer;
  tone_->Discard();
  blip_->Discard();
  EXPECT_EQ(tone_->buffer, 0u);
  Wait(kBlipSeconds + 0.15);

  FlushDiscarded();
  EXPECT_FALSE(alIsBuffer(ended)) << "the ended one-shot let go of its buffer";
  EXPECT_TRUE(alIsBuffer(looping)) << "still playing";

  audio_->PlaySample(audio_->LoadSample(String(Files().blip)), 0, 0);
  FlushDiscarded();
  EXPECT_FALSE(alIsBuffer(looping));
}

TEST(AudioDeviceWithoutSound, PrintsTheErrorAndPlaysNothing) {
  const DeviceFiles& files = Files();
  std::filesystem::remove_all(files.OutputDir());  // the backend cannot create its file
  testing::internal::CaptureStdout();
  {
    gxtkAudio audio;
    const auto sample = audio.LoadSample(String(files.tone));
    EXPECT_EQ(audio.PlaySample(sample, 0, 0), -1);
    EXPECT_EQ(audio.ChannelState(0), kChannelStopped);
    audio.SetPan(0, 1);
    audio.Suspend();
    audio.Resume();
    audio.PlayMusic(String(files.tune), 1);
    EXPECT_EQ(audio.MusicState(), kChannelStopped);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "OpenAl error: alcOpenDevice failed\n");
  std::filesystem::create_directory(files.OutputDir());
}

}  // namespace
