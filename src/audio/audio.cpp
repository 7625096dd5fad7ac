#include "audio/audio.h"

#include "host/files.h"

std::unique_ptr<Sound> LoadSound(const String& path) {
  auto sample = AudioDevice()->LoadSample(FixDataPath(path));
  if (sample == nullptr) return nullptr;
  return std::make_unique<Sound>(std::move(sample));
}

int PlaySound(const Sound* sound, int channel, int flags) {
  if (sound != nullptr && sound->sample != nullptr) {
    AudioDevice()->PlaySample(sound->sample, channel, flags);
  }
  return 0;
}

int StopChannel(int channel) {
  return AudioDevice()->StopChannel(channel);
}
int PauseChannel(int channel) {
  return AudioDevice()->PauseChannel(channel);
}
int ResumeChannel(int channel) {
  return AudioDevice()->ResumeChannel(channel);
}
int ChannelState(int channel) {
  return AudioDevice()->ChannelState(channel);
}
int SetChannelVolume(int channel, float volume) {
  return AudioDevice()->SetVolume(channel, volume);
}
int SetChannelPan(int channel, float pan) {
  return AudioDevice()->SetPan(channel, pan);
}
int SetChannelRate(int channel, float rate) {
  return AudioDevice()->SetRate(channel, rate);
}

int PlayMusic(const String& path, int flags) {
  return AudioDevice()->PlayMusic(FixDataPath(path), flags);
}
int StopMusic() {
  return AudioDevice()->StopMusic();
}
int PauseMusic() {
  return AudioDevice()->PauseMusic();
}
int ResumeMusic() {
  return AudioDevice()->ResumeMusic();
}
int MusicState() {
  return AudioDevice()->MusicState();
}
int SetMusicVolume(float volume) {
  return AudioDevice()->SetMusicVolume(volume);
}
