// Sound effects and tunes under the player's sound setting.
#include "game/frame/game_audio.h"
#include "audio/audio.h"

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

void GameAudio::LoadSFX(int id) {
  if (id < 0 || id >= kSoundSlots) return;
  delete Sounds[id];
  Sounds[id] = LoadSound(EffectPath(id)).release();
}

void GameAudio::PlaySFX(int soundMode, int id, float rate, float volume, float pan) {
  if (!EffectsOn(soundMode)) return;
  NextChannel = (NextChannel + 1) % kRotatingChannels;
  const int channel = ChannelIds[NextChannel];
  // The slot's channel is cut off even when there is nothing to play in its place.
  StopChannel(channel);
  if (id >= 0 && id < kSoundSlots) PlaySound(Sounds[id], channel);
  SetChannelRate(channel, rate);
  SetChannelVolume(channel, volume);
  SetChannelPan(channel, pan);
}

void GameAudio::PlayTune(int soundMode, const String& name, int loop) {
  if (MusicPlaying != 0) StopTune();
  if (!TunesOn(soundMode)) return;
  PlayMusic("sfx/" + name + ".ogg", loop);
  MusicPlaying = 1;
}

void GameAudio::StopTune() {
  StopMusic();
  MusicPlaying = 0;
}

void GameAudio::DiscardSounds() {
  for (Sound*& sound : Sounds) {
    delete sound;
    sound = nullptr;
  }
}
