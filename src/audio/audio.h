// The audio module: what the game calls, forwarded to the device set at start-up.
#pragma once

#include <memory>

#include "audio/audio_device.h"

class Sound {
 public:
  explicit Sound(std::shared_ptr<gxtkSample> sample) : sample(std::move(sample)) {}

  std::shared_ptr<gxtkSample> sample;
};

// The path is an asset name; null when the file cannot be loaded. A channel playing the
// sound keeps its sample alive after the Sound itself is gone.
std::unique_ptr<Sound> LoadSound(const String& path);
// Plays nothing for a null sound.
int PlaySound(const Sound* sound, int channel, int flags = 0);
int StopChannel(int channel);
int PauseChannel(int channel);
int ResumeChannel(int channel);
int ChannelState(int channel);
int SetChannelVolume(int channel, float volume);
int SetChannelPan(int channel, float pan);
int SetChannelRate(int channel, float rate);

// -1 when the file cannot be loaded; the music that was playing is stopped either way.
int PlayMusic(const String& path, int flags = 1);
int StopMusic();
int PauseMusic();
int ResumeMusic();
int MusicState();
int SetMusicVolume(float volume);
