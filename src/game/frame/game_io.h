// The game's sound calls under the player's sound setting, and its keys on this platform: what
// the level and every screen play and read.
// May use: core, frame.
#pragma once

#include "base/string.h"
#include "game/core/globals.h"
#include "game/frame/controls.h"
#include "game/frame/game_audio.h"

class GameIO {
 public:
  // soundMode is the player's sound setting, read at each sound.
  GameIO(GameAudio& audio, const Controls& controls, const int& soundMode, const Platform& platform)
      : audio_(audio), controls_(controls), soundMode_(soundMode), platform_(platform) {}

  void PlaySFX(int id, float rate = 1.0f, float volume = 1.0f, float pan = 0.0f) {
    audio_.PlaySFX(soundMode_, id, rate, volume, pan);
  }
  void PlayTune(const String& name, int loop) { audio_.PlayTune(soundMode_, name, loop); }
  void StopTune() { audio_.StopTune(); }
  // On a console its back button alone is the back key.
  int PlayKey(int key, int analog, int player) const {
    return controls_.PlayKey(platform_.console, key, analog, player);
  }
  int PlayKeyAll(int key, int analog) const {
    return controls_.PlayKeyAll(platform_.console, key, analog);
  }

 private:
  GameAudio& audio_;
  const Controls& controls_;
  const int& soundMode_;
  const Platform& platform_;
};
