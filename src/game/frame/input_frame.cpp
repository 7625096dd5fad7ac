#include "game/frame/input_frame.h"

#include <algorithm>
#include <bit>

namespace {

template <size_t N>
bool SameBits(const std::array<float, N>& a, const std::array<float, N>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), [](float x, float y) {
    return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
  });
}

bool SameBits(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

}  // namespace

bool SameAxes(const InputAxes& a, const InputAxes& b) {
  for (int j = 0; j < kJoystickCount; ++j)
    if (!SameBits(a.joy[j], b.joy[j])) return false;
  return SameBits(a.mouseX, b.mouseX) && SameBits(a.mouseY, b.mouseY) &&
         SameBits(a.touchX, b.touchX) && SameBits(a.touchY, b.touchY) && SameBits(a.accel, b.accel);
}

bool IsQuitKey(int key) {
  return key == key::kF4 || key == key::kWindowClose;
}

void CaptureFrame(const InputDevice& device, InputFrame& frame) {
  for (int key = 0; key < kKeyCount; ++key) {
    const bool quit = IsQuitKey(key);
    frame.held[key] = device.keyDown[key] && !quit;
    frame.hits[key] =
        quit ? 0 : static_cast<std::uint8_t>(std::clamp(device.keyHit[key], 0, kHitQueueSize));
  }
  frame.charCount = std::clamp(device.charPut, 0, kCharQueueSize);
  std::copy_n(device.charQueue.begin(), frame.charCount, frame.chars.begin());
  InputAxes& axes = frame.axes;
  axes.mouseX = device.mouseX;
  axes.mouseY = device.mouseY;
  axes.touchX = device.touchX;
  axes.touchY = device.touchY;
  for (int j = 0; j < kJoystickCount; ++j) {
    const JoyState& joy = device.joyStates[j];
    for (int stick = 0; stick < kJoySticks; ++stick) {
      axes.joy[j][stick * 3] = joy.axisX[stick];
      axes.joy[j][stick * 3 + 1] = joy.axisY[stick];
      axes.joy[j][stick * 3 + 2] = joy.axisZ[stick];
    }
  }
  axes.accel = {device.accelX, device.accelY, device.accelZ};
}

void ApplyFrame(const InputFrame& frame, InputDevice& device) {
  device.keyHit.fill(0);
  device.keyHitQueueLength = 0;
  for (int key = 1; key < kKeyCount; ++key) {
    const bool quit = IsQuitKey(key);
    device.keyDown[key] = frame.held[key] && !quit;
    if (frame.hits[key] == 0 || quit || device.keyHitQueueLength == kHitQueueSize) continue;
    device.keyHit[key] = frame.hits[key];
    device.keyHitQueue[device.keyHitQueueLength++] = key;
  }
  device.keyDown[0] = false;
  device.charGet = 0;
  device.charPut = std::clamp(frame.charCount, 0, kCharQueueSize);
  std::copy_n(frame.chars.begin(), device.charPut, device.charQueue.begin());
  const InputAxes& axes = frame.axes;
  device.mouseX = axes.mouseX;
  device.mouseY = axes.mouseY;
  device.touchX = axes.touchX;
  device.touchY = axes.touchY;
  for (int j = 0; j < kJoystickCount; ++j) {
    JoyState& joy = device.joyStates[j];
    for (int stick = 0; stick < kJoySticks; ++stick) {
      joy.axisX[stick] = axes.joy[j][stick * 3];
      joy.axisY[stick] = axes.joy[j][stick * 3 + 1];
      joy.axisZ[stick] = axes.joy[j][stick * 3 + 2];
    }
    for (int b = 0; b < key::kJoyButtons; ++b) joy.buttons[b] = frame.held[key::JoyButton(j, b)];
  }
  device.accelX = axes.accel[0];
  device.accelY = axes.accel[1];
  device.accelZ = axes.accel[2];
}

void DeriveHits(const std::bitset<kKeyCount>& before, InputFrame& frame) {
  for (int key = 0; key < kKeyCount; ++key) frame.hits[key] = frame.held[key] && !before[key];
}
