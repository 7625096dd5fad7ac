// The platform-neutral host: started/suspended state, and the event methods that forward
// host events to the delegate when that is allowed.
#pragma once

#include "host/key_codes.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/string.h"

// Host event codes passed to the delegate's event methods.
enum HostEvent {
  kEventKeyDown = 1,
  kEventKeyUp = 2,
  kEventChar = 3,
  kEventMouseDown = 4,
  kEventMouseUp = 5,
  kEventMouseMove = 6,
  kEventTouchDown = 7,
  kEventTouchUp = 8,
  kEventTouchMove = 9,
  kEventMotion = 10,
};

struct KvDisplayMode {
  int width = 0;
  int height = 0;
  int format = 0;
  int refreshRate = 0;
  int flags = 0;
};

struct KvGlfwVideoMode {
  int width = 0;
  int height = 0;
  int red = 0;
  int green = 0;
  int blue = 0;
};

// Joystick state filled by PollJoystick: two sticks of three axes, 32 buttons.
using JoyAxes = std::array<float, 2>;
using JoyButtons = std::array<bool, 32>;

class KvGameDelegate {
 public:
  virtual ~KvGameDelegate() = default;
  virtual void StartGame() {}
  virtual void SuspendGame() {}
  virtual void ResumeGame() {}
  virtual void UpdateGame() {}
  // Draws the frame unless redraw is false and the last one shown is still right; true when a
  // frame was drawn and is to be shown.
  virtual bool RenderGame(bool /*redraw*/) { return true; }
  virtual void KeyEvent(int /*event*/, int /*data*/) {}
  virtual void MouseEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
  virtual void TouchEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/) {}
  virtual void MotionEvent(int /*event*/, int /*data*/, float /*x*/, float /*y*/, float /*z*/) {}
  virtual void DiscardGraphics() {}
};

class KvGame {
 public:
  KvGame();
  virtual ~KvGame();

  // The one host object of the process.
  static KvGame* _game;

  virtual void SetDelegate(KvGameDelegate* delegate) { this->delegate = delegate; }
  virtual KvGameDelegate* Delegate() { return delegate; }
  virtual void SetKeyboardEnabled(bool enabled) { keyboardEnabled = enabled; }
  virtual bool KeyboardEnabled() { return keyboardEnabled; }
  virtual void SetUpdateRate(int hertz) { updateRate = hertz; }
  virtual int UpdateRate() { return updateRate; }
  virtual bool Started() { return started; }
  virtual bool Suspended() { return suspended; }
  virtual int Millisecs() { return 0; }
  // Fills year, month, day, hours, minutes, seconds and a zero, as many as date holds.
  virtual void GetDate(std::vector<int>& date);
  virtual int SaveState(const String& state);
  virtual String LoadState();
  // Keeps the state file as it is before a save replaces it (it held damaged blocks).
  virtual void KeepDamagedState();
  // The controls file beside the state file (state_file.h).
  virtual std::string LoadControls();
  virtual bool SaveControls(std::span<const std::string_view> words, std::string_view lines);
  virtual String LoadString(const String& path);
  virtual bool PollJoystick(int port, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                            JoyButtons& buttons);
  virtual void OpenUrl(const String& url);
  virtual void SetMouseVisible(bool /*visible*/) {}
  virtual int GetDeviceWidth() { return 0; }
  virtual int GetDeviceHeight() { return 0; }
  virtual void SetDeviceWindow(int /*width*/, int /*height*/, int /*flags*/) {}
  virtual std::vector<KvDisplayMode> GetDisplayModes() { return {}; }
  virtual KvDisplayMode GetDesktopMode() { return {}; }
  virtual void SetSwapInterval(int /*interval*/) {}
  // The current window fills the screen.
  virtual bool WindowFullscreen() { return false; }
  // The window's place is kept for the next start; a host without a window keeps nothing.
  virtual void KeepWindowPlace() {}
  // Full screen at the desktop's size, or the standard window; either with the desktop's colour
  // bits. A host without a window ignores it.
  virtual void SetFullscreen(bool /*on*/) {}
  virtual String PathToFilePath(const String& path);
  // An exception that escaped a delegate call ends the program.
  [[noreturn]] virtual void Die();

  virtual void StartGame();
  virtual void SuspendGame();
  virtual void ResumeGame();
  virtual void UpdateGame();
  virtual bool RenderGame(bool redraw);
  virtual void KeyEvent(int event, int data);
  virtual void MouseEvent(int event, int data, float x, float y);
  virtual void TouchEvent(int event, int data, float x, float y);
  virtual void MotionEvent(int event, int data, float x, float y, float z);
  virtual void DiscardGraphics();

 protected:
  KvGameDelegate* delegate = nullptr;
  bool keyboardEnabled = false;
  int updateRate = 0;
  bool started = false;
  bool suspended = false;

 private:
  // Runs a delegate call, turning an escaping throwable into Die.
  template <typename Call>
  void Guarded(Call call);
};
