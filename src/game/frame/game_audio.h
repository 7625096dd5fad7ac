// The game's sound: the loaded effects, the channels they play on and the tune.
// May use: core.
#pragma once

#include <array>

class Sound;

constexpr int kSoundSlots = 200;
constexpr int kChannelIds = 33;

struct GameAudio {
  std::array<Sound*, kSoundSlots> Sounds{};
  std::array<int, kChannelIds> ChannelIds{};
  int NextChannel = 0;
  int MusicPlaying = 0;
};
