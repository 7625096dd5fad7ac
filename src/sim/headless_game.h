// The game without a window or a sound device: MyApp and its devices stepped update by update
// with scripted input and a fake clock, behaving as in the window. The simulator and the
// tests run the game through it.
#pragma once

#include <memory>

#include "game/my_app.h"
#include "host/joystick.h"
#include "host/kv_game.h"

class HeadlessHost : public KvGame {
 public:
  int Millisecs() override { return millisecs; }
  int GetDeviceWidth() override { return width; }
  int GetDeviceHeight() override { return height; }
  // Joysticks come from the source when one is given, as the desktop host reads them.
  bool PollJoystick(int port, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                    JoyButtons& buttons) override {
    return joysticks && PollJoystickFrom(*joysticks, port, axisX, axisY, axisZ, buttons);
  }
  // Without the state file the game starts from its defaults and saves nowhere.
  String LoadState() override { return usesStateFile ? KvGame::LoadState() : String(); }
  int SaveState(const String& state) override {
    return usesStateFile ? KvGame::SaveState(state) : 0;
  }

  std::string LoadControls() override {
    return usesStateFile ? KvGame::LoadControls() : std::string();
  }
  bool SaveControls(std::span<const std::string_view> words, std::string_view lines) override {
    return usesStateFile && KvGame::SaveControls(words, lines);
  }

  JoystickSource* joysticks = nullptr;
  int millisecs = 0;
  int width = 640;
  int height = 480;
  bool usesStateFile = true;
};

class HeadlessGame {
 public:
  enum class StateFile { kUsed, kIgnored };
  explicit HeadlessGame(StateFile stateFile = StateFile::kUsed);
  ~HeadlessGame();

  MyApp& app() { return *app_; }
  HeadlessHost& host() { return host_; }

  // Runs updates, advancing the clock by one update period each.
  void Step(int updates = 1);
  // Runs updates until the loader has finished (at most limit updates).
  void StepUntilLoaded(int limit = 100);
  void KeyDown(int key);
  void KeyUp(int key);
  // Down in one update, up before the next.
  void TapKey(int key);
  void TypeChar(int character);
  void MouseMove(float x, float y);
  void MouseButton(int button, bool down);

 private:
  HeadlessHost host_;
  std::unique_ptr<MyApp> app_;
};
