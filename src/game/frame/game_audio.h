// The game's sound: the loaded effects, the channels they play on and the tune.
// May use: core.
#pragma once

#include <array>

#include "base/string.h"

class Sound;

constexpr int kSoundSlots = 200;
constexpr int kChannelIds = 33;

// The sound setting's modes are 0 off, 1 effects and music, 2 effects only, 3 music only.
struct GameAudio {
  // Loads effect id from "sfx/" and its three-digit number; a missing file leaves no sound.
  void LoadSFX(int id);
  // Plays on the next of 24 rotating channels while the sound mode has effects on.
  void PlaySFX(int soundMode, int id, float rate, float volume, float pan);
  // Starts "sfx/" + name + ".ogg" while the sound mode has music on; stops the last tune.
  void PlayTune(int soundMode, const String& name, int loop);
  void StopTune();
  // Frees every loaded effect; the game owns them until then.
  void DiscardSounds();

  std::array<Sound*, kSoundSlots> Sounds{};
  std::array<int, kChannelIds> ChannelIds{};
  int NextChannel = 0;
  int MusicPlaying = 0;
};
