// The application module the game stands on: the App base class, the delegate that creates
// the devices and calls the App hooks, and the application functions.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/string.h"
#include "host/kv_game.h"

class gxtkGraphics;
class gxtkAudio;
class InputDevice;

class UpdateTap;
class GameDelegate;

// The application: the one instance the framework's callbacks reach, through _app.
class App {
 public:
  // A second App is a runtime error.
  App();
  virtual ~App();

  virtual void OnCreate() {}
  virtual void OnSuspend() {}
  virtual void OnResume() {}
  virtual void OnUpdate() {}
  virtual void OnRender() {}
  // True when what the window shows is still what OnRender would draw, so it need not run.
  virtual bool FrameUnchanged() { return false; }
  void OnResize() {}
  void OnLoading() {}
  void OnClose();
  void OnBack();

  GameDelegate& Delegate() { return *delegate_; }
  // Every update from now on passes through the tap, which the App keeps until it ends.
  void AttachTap(std::unique_ptr<UpdateTap> tap);

  // What the host last said of the window, read once per update and per frame.
  int updateRate = 0;
  int deviceWidth = 0, deviceHeight = 0;

 private:
  std::unique_ptr<GameDelegate> delegate_;
  std::unique_ptr<UpdateTap> tap_;
};

// Sits between the live input device and the game in every update: recording reads what the
// game reads, and replays hand the game a device of their own.
class UpdateTap {
 public:
  virtual ~UpdateTap() = default;
  // After the live device took this update's events: the device the game reads.
  virtual InputDevice& BeforeUpdate(InputDevice& live) = 0;
  virtual void AfterUpdate() = 0;
  // The program is ending (its quit key, its window closed, a stop signal), between updates or
  // in one: what the tap keeps is completed. Returns the status the program ends with.
  virtual int Quit() = 0;
};

class GameDelegate : public KvGameDelegate {
 public:
  // Creates the devices not already given, then the game's OnCreate.
  void StartGame() override;
  void SuspendGame() override;
  void ResumeGame() override;
  void UpdateGame() override;
  bool RenderGame(bool redraw) override;
  void KeyEvent(int event, int data) override;
  void MouseEvent(int event, int data, float x, float y) override;
  void TouchEvent(int event, int data, float x, float y) override;
  void MotionEvent(int event, int data, float x, float y, float z) override;
  void DiscardGraphics() override;

  gxtkGraphics* _graphics = nullptr;
  gxtkAudio* _audio = nullptr;
  InputDevice* _input = nullptr;
  UpdateTap* _tap = nullptr;  // not owned
};

// The one application instance; null until it is created and after it is destroyed.
extern App* _app;

void SetUpdateRate(int hertz);
int UpdateRate();
int Millisecs();
[[noreturn]] void EndApp();
int DeviceWidth();
int DeviceHeight();
void ValidateDeviceWindow(bool notify);
// Full screen at the desktop's size, or the standard window (the host's choice of colour bits).
void SetFullscreen(bool on);
void SaveState(const String& state);
String LoadState();
void KeepDamagedState();
// The controls file: its text, and its lines starting with one of `words` replaced by `lines`.
std::string LoadControls();
bool SaveControls(std::span<const std::string_view> words, std::string_view lines);

// The game's start values that live outside the App: the random sequence.
void kvInit();
