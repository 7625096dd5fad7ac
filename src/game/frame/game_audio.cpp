// Sound effects and tunes under the player's sound setting.
#include "audio/audio.h"
#include "game/my_app.h"

namespace {

constexpr int kRotatingChannels = 24;
constexpr int kEffectDigits = 3;

// Sound settings: 0 off, 1 effects and music, 2 effects only, 3 music only.
bool EffectsOn(int soundMode) {
  return soundMode == 1 || soundMode == 2;
}
bool TunesOn(int soundMode) {
  return soundMode == 1 || soundMode == 3;
}

String EffectPath(int id) {
  String number = String::FromInt(id);
  while (number.Length() < kEffectDigits) number = "0" + number;
  return "sfx/" + number + ".wav";
}

}  // namespace

void MyApp::LoadSFX(int id) {
  if (id < 0 || id >= kSoundSlots) return;
  delete audio.Sounds[id];
  audio.Sounds[id] = LoadSound(EffectPath(id)).release();
}

void MyApp::PlaySFX(int id, float rate, float volume, float pan) {
  if (!EffectsOn(save.Settings[kSoundModeSetting])) return;
  audio.NextChannel = (audio.NextChannel + 1) % kRotatingChannels;
  const int channel = audio.ChannelIds[audio.NextChannel];
  // The slot's channel is cut off even when there is nothing to play in its place.
  StopChannel(channel);
  if (id >= 0 && id < kSoundSlots) PlaySound(audio.Sounds[id], channel);
  SetChannelRate(channel, rate);
  SetChannelVolume(channel, volume);
  SetChannelPan(channel, pan);
}

void MyApp::PlayTune(const String& name, int loop) {
  if (audio.MusicPlaying != 0) StopTune();
  if (!TunesOn(save.Settings[kSoundModeSetting])) return;
  PlayMusic("sfx/" + name + ".ogg", loop);
  audio.MusicPlaying = 1;
}

void MyApp::StopTune() {
  StopMusic();
  audio.MusicPlaying = 0;
}

void MyApp::DiscardSounds() {
  for (Sound*& sound : audio.Sounds) {
    delete sound;
    sound = nullptr;
  }
}
