// The device on OpenAL Soft's "wave" backend, which mixes in real time into a file: a played
// sample reaches the output for its length, then its channel stops.
#include "audio/audio_device.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "sound_files.h"

TEST(OpenAlDevice, APlayedSampleSoundsForItsLength) {
  constexpr int kHertz = 44100;
  constexpr double kSeconds = 0.2;
  const soundtest::TempDir dir;
  const std::string output = dir.File("mix.wav"), config = dir.File("alsoft.conf");
  std::ofstream(config) << "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                        << "frequency = " << kHertz << "\nhrtf = false\n[wave]\nfile = " << output
                        << "\n";
  setenv("ALSOFT_CONF", config.c_str(), 1);
  setenv("ALSOFT_DRIVERS", "wave", 1);  // the environment's choice would win over the file
  {
    gxtkAudio audio;
    SetAudioDevice(&audio);
    auto tone =
        audio.LoadSample(String(soundtest::MakeWav(dir, "tone.wav", kHertz, 16, 1, kSeconds)));
    ASSERT_TRUE(tone);
    ASSERT_EQ(audio.PlaySample(tone, 0, 0), 0);
    EXPECT_EQ(audio.ChannelState(0), kChannelPlaying);
    std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds + 0.3));
    EXPECT_EQ(audio.ChannelState(0), kChannelStopped);
    tone.reset();  // samples go while their device is still there
    SetAudioDevice(nullptr);
  }  // closing the device completes its file
  soundtest::Run("sox '" + output + "' -t raw '" + output + ".raw'");
  const soundtest::Bytes bytes = soundtest::ReadFile(output + ".raw");
  std::vector<int16_t> mix(bytes.size() / 2);
  std::memcpy(mix.data(), bytes.data(), mix.size() * 2);
  const auto loud = [](int16_t sample) { return std::abs(sample) > 200; };
  const auto first = std::find_if(mix.begin(), mix.end(), loud);
  const auto last = std::find_if(mix.rbegin(), mix.rend(), loud).base();
  ASSERT_LT(first, last) << "no sound reached the output";
  EXPECT_NEAR((last - first) / 2, kSeconds * kHertz, kSeconds * kHertz * 0.02);
}
