#include "input/input_device.h"

namespace {

InputDevice* device = nullptr;

bool IsKey(int key) {
  return key >= 1 && key < kKeyCount;
}
bool IsFinger(int finger) {
  return finger >= 0 && finger < kTouchCount;
}
bool IsMouseButton(int button) {
  return button >= 0 && button < kMouseButtons;
}
bool IsJoyButton(int button, int unit) {
  return button >= 0 && button < key::kJoyButtons && unit >= 0 && unit < kJoystickCount;
}
bool IsStick(int index, int unit) {
  return index >= 0 && index < kJoySticks && unit >= 0 && unit < kJoystickCount;
}

// Codes the keyboard's events bring, as against the mouse, joysticks and touches.
bool IsKeyboardKey(int key) {
  return (key >= key::kMouseLeft + kMouseButtons && key < key::kJoyBase) ||
         key >= key::kConsoleBack;
}

// Out-of-range buttons and fingers must not alias another device's key codes.
int MouseKey(int button) {
  return IsMouseButton(button) ? key::kMouseLeft + button : 0;
}
int TouchKey(int finger) {
  return IsFinger(finger) ? key::kTouchBase + finger : 0;
}
int JoyKey(int button, int unit) {
  return IsJoyButton(button, unit) ? key::kJoyBase | (unit * key::kJoyButtons) | button : 0;
}

// The left mouse button and the first touch are one key seen two ways.
int MirrorOf(int key) {
  if (key == key::kMouseLeft) return key::kTouchBase;
  if (key == key::kTouchBase) return key::kMouseLeft;
  return 0;
}

}  // namespace

void InputDevice::PutKeyHit(int key) {
  if (!IsKey(key) || keyHitQueueLength == kHitQueueSize) return;
  ++keyHit[key];
  keyHitQueue[keyHitQueueLength++] = key;
}

void InputDevice::PressKey(int key) {
  if (!IsKey(key) || keyDown[key]) return;
  keyDown[key] = true;
  PutKeyHit(key);
  if (const int mirror = MirrorOf(key)) {
    keyDown[mirror] = true;
    PutKeyHit(mirror);
  }
}

void InputDevice::ReleaseKey(int key) {
  if (!IsKey(key) || !keyDown[key]) return;
  keyDown[key] = false;
  if (const int mirror = MirrorOf(key)) keyDown[mirror] = false;
}

int InputDevice::Mapped(int key) const {
  if (!keyMap_ || !keyMap_->active || !IsKey(key)) return key;
  return keyMap_->keys[key];
}

void InputDevice::ReleaseMappedKey(int key) {
  if (!IsKey(key)) return;
  physicalDown_[key] = false;
  const int mapped = Mapped(key);
  for (int other = 1; other < kKeyCount; ++other)
    if (physicalDown_[other] && Mapped(other) == mapped) return;
  ReleaseKey(mapped);
}

void InputDevice::SetKeyMap(const KeyMap* map) {
  // Held keys carry over under their new meaning, without a new press.
  for (int key = 1; key < kKeyCount; ++key)
    if (IsKeyboardKey(key)) keyDown[key] = false;
  keyMap_ = map;
  for (int key = 1; key < kKeyCount; ++key) {
    const int mapped = Mapped(key);
    if (physicalDown_[key] && IsKey(mapped)) keyDown[mapped] = true;
  }
}

void InputDevice::KeyEvent(int event, int data) {
  switch (event) {
    case kEventKeyDown:
      if (IsKey(data)) physicalDown_[data] = true;
      PressKey(Mapped(data));
      break;
    case kEventKeyUp:
      ReleaseMappedKey(data);
      break;
    case kEventChar:
      if (charPut < kCharQueueSize) charQueue[charPut++] = data;
      break;
    default:
      break;
  }
}

void InputDevice::StorePointer(int finger, float x, float y) {
  if (!IsFinger(finger)) return;
  touchX[finger] = x;
  touchY[finger] = y;
  if (finger == 0) {
    mouseX = x;
    mouseY = y;
  }
}

void InputDevice::MouseEvent(int event, int data, float x, float y) {
  switch (event) {
    case kEventMouseDown:
      PressKey(MouseKey(data));
      StorePointer(0, x, y);
      break;
    case kEventMouseUp:
      ReleaseKey(MouseKey(data));
      break;
    case kEventMouseMove:
      StorePointer(0, x, y);
      break;
    default:
      break;
  }
}

void InputDevice::TouchEvent(int event, int data, float x, float y) {
  if (!IsFinger(data)) return;
  switch (event) {
    case kEventTouchDown:
      PressKey(TouchKey(data));
      StorePointer(data, x, y);
      break;
    case kEventTouchUp:
      ReleaseKey(TouchKey(data));
      break;
    case kEventTouchMove:
      StorePointer(data, x, y);
      break;
    default:
      break;
  }
}

void InputDevice::MotionEvent(int event, int, float x, float y, float z) {
  if (event != kEventMotion) return;
  accelX = x;
  accelY = y;
  accelZ = z;
}

void InputDevice::BeginUpdate() {
  int j = 0;
  for (; j < kJoystickCount; ++j) {
    JoyState& joy = joyStates[j];
    if (!KvGame::_game->PollJoystick(j, joy.axisX, joy.axisY, joy.axisZ, joy.buttons)) break;
    joyPresent[j] = true;
    FollowJoyButtons(j);
  }
  // A controller unplugged while a button was held must not leave that button held.
  for (; j < kJoystickCount; ++j) {
    if (!joyPresent[j]) continue;
    joyPresent[j] = false;
    joyStates[j] = {};
    FollowJoyButtons(j);
  }
}

void InputDevice::FollowJoyButtons(int unit) {
  JoyState& joy = joyStates[unit];
  if (keyMap_ && keyMap_->active) {
    JoyButtons mapped{};
    for (int b = 0; b < key::kJoyButtons; ++b) {
      const int to = keyMap_->buttons[b];
      if (joy.buttons[b] && to >= 0 && to < key::kJoyButtons) mapped[to] = true;
    }
    joy.buttons = mapped;
  }
  for (int b = 0; b < key::kJoyButtons; ++b) {
    const int key = key::kJoyBase + key::kJoyButtons * unit + b;
    if (joy.buttons[b] && !keyDown[key]) {
      keyDown[key] = true;
      PutKeyHit(key);
    } else if (!joy.buttons[b]) {
      keyDown[key] = false;
    }
  }
}

void InputDevice::EndUpdate() {
  for (int i = 0; i < keyHitQueueLength; ++i) keyHit[keyHitQueue[i]] = 0;
  keyHitQueueLength = 0;
  charGet = 0;
  charPut = 0;
}

int InputDevice::SetKeyboardEnabled(bool enabled) {
  KvGame::_game->SetKeyboardEnabled(enabled);
  return 1;
}

int InputDevice::KeyDown(int key) const {
  return IsKey(key) && keyDown[key] ? 1 : 0;
}

int InputDevice::KeyHit(int key) const {
  return IsKey(key) ? keyHit[key] : 0;
}

int InputDevice::GetChar() {
  if (charGet == charPut) return 0;
  return charQueue[charGet++];
}

void SetInputDevice(InputDevice* input) {
  device = input;
}
InputDevice* GetInputDevice() {
  return device;
}

int KeyDown(int key) {
  return device->KeyDown(key);
}
int KeyHit(int key) {
  return device->KeyHit(key);
}
int GetChar() {
  return device->GetChar();
}
float MouseX() {
  return device->mouseX;
}
float MouseY() {
  return device->mouseY;
}
int MouseDown(int button) {
  return KeyDown(MouseKey(button));
}
int MouseHit(int button) {
  return KeyHit(MouseKey(button));
}
int TouchDown(int finger) {
  return KeyDown(TouchKey(finger));
}
float TouchX(int finger) {
  return IsFinger(finger) ? device->touchX[finger] : 0;
}
float TouchY(int finger) {
  return IsFinger(finger) ? device->touchY[finger] : 0;
}
int JoyDown(int button, int unit) {
  return KeyDown(JoyKey(button, unit));
}
int JoyHit(int button, int unit) {
  return KeyHit(JoyKey(button, unit));
}
float JoyX(int index, int unit) {
  return IsStick(index, unit) ? device->joyStates[unit].axisX[index] : 0;
}
float JoyY(int index, int unit) {
  return IsStick(index, unit) ? device->joyStates[unit].axisY[index] : 0;
}
float AccelX() {
  return device->accelX;
}
float AccelY() {
  return device->accelY;
}
int EnableKeyboard() {
  return device->SetKeyboardEnabled(true);
}
int DisableKeyboard() {
  return device->SetKeyboardEnabled(false);
}
