// The input device: one table of key states the game polls once per update, fed by the
// host's keyboard, mouse and touch events and by joystick polling.
#pragma once

#include <array>

#include "host/key_codes.h"
#include "host/kv_game.h"

constexpr int kKeyCount = 512;
constexpr int kHitQueueSize = 33;
constexpr int kCharQueueSize = 32;
constexpr int kTouchCount = 32;
constexpr int kJoystickCount = 4;
constexpr int kMouseButtons = 3;
constexpr int kJoySticks = 2;

// Where the player's keys and buttons land: each keyboard key code and each controller button
// number is delivered as the code the map names (0 or -1: not at all). The game sets it from
// the player's bindings; replays write the device's tables directly and are never mapped.
struct KeyMap {
  bool active = false;
  std::array<short, kKeyCount> keys{};
  std::array<signed char, key::kJoyButtons> buttons{};
};

struct JoyState {
  JoyAxes axisX{};
  JoyAxes axisY{};
  JoyAxes axisZ{};
  JoyButtons buttons{};
};

class InputDevice {
 public:
  virtual ~InputDevice() = default;

  virtual void KeyEvent(int event, int data);
  virtual void MouseEvent(int event, int data, float x, float y);
  virtual void TouchEvent(int event, int data, float x, float y);
  virtual void MotionEvent(int event, int data, float x, float y, float z);
  // Polls the joysticks in slot order, stopping at the first empty slot; a joystick that has
  // gone from there on reads as released and centred.
  virtual void BeginUpdate();
  // Hit counts and characters live for one update.
  virtual void EndUpdate();
  // Counts a press unless the hit queue is full; the held state is the caller's.
  void PutKeyHit(int key);
  int SetKeyboardEnabled(bool enabled);
  // Keys and buttons arrive through the map while it is active; it stays the caller's. Every
  // key is let go, so none stays held under a meaning it no longer has.
  void SetKeyMap(const KeyMap* map);

  int KeyDown(int key) const;
  int KeyHit(int key) const;
  int GetChar();

  std::array<JoyState, kJoystickCount> joyStates{};
  std::array<bool, kJoystickCount> joyPresent{};  // at the last poll
  std::array<bool, kKeyCount> keyDown{};
  int keyHitQueueLength = 0;
  std::array<int, kHitQueueSize> keyHitQueue{};
  std::array<int, kKeyCount> keyHit{};
  int charGet = 0;
  int charPut = 0;
  std::array<int, kCharQueueSize> charQueue{};
  float mouseX = 0, mouseY = 0;
  std::array<float, kTouchCount> touchX{};
  std::array<float, kTouchCount> touchY{};
  float accelX = 0, accelY = 0, accelZ = 0;

 private:
  void PressKey(int key);
  void ReleaseKey(int key);
  // A key let go is released only once no other key mapped to the same code is held.
  void ReleaseMappedKey(int key);
  int Mapped(int key) const;
  void StorePointer(int finger, float x, float y);
  // The unit's button keys follow its buttons: pressed ones held (and hit when new).
  void FollowJoyButtons(int unit);

  const KeyMap* keyMap_ = nullptr;
  std::array<bool, kKeyCount> physicalDown_{};  // keyboard keys as pressed, before the map
};

// The input module: the device set once at start-up and the queries the game makes.
void SetInputDevice(InputDevice* device);
InputDevice* GetInputDevice();

// Keys outside 1..511, mouse buttons outside 0..2, fingers outside 0..31, joystick buttons
// outside 0..31 and units outside 0..3 read as 0.
int KeyDown(int key);
int KeyHit(int key);
int GetChar();
float MouseX();
float MouseY();
int MouseDown(int button);
int MouseHit(int button);
int TouchDown(int finger);
float TouchX(int finger);
float TouchY(int finger);
int JoyDown(int button, int unit);
int JoyHit(int button, int unit);
float JoyX(int index, int unit);
float JoyY(int index, int unit);
float AccelX();
float AccelY();
int EnableKeyboard();
int DisableKeyboard();
