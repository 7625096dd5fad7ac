// What the game can read of the input device in one update, as one value: recorded runs are
// a sequence of these, and replays, scripts and the autopilot hand the game these.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "input/input_device.h"

constexpr int kJoyAxes = 6;  // stick 0 x, y, z, then stick 1 x, y, z
constexpr int kAccelAxes = 3;

// The positions and axes; they keep their values from update to update.
struct InputAxes {
  float mouseX = 0, mouseY = 0;
  std::array<float, kTouchCount> touchX{}, touchY{};
  std::array<std::array<float, kJoyAxes>, kJoystickCount> joy{};
  std::array<float, kAccelAxes> accel{};
};

// Bit for bit, so that a replay sees -0 where the recording saw -0.
bool SameAxes(const InputAxes& a, const InputAxes& b);

struct InputFrame {
  std::bitset<kKeyCount> held;
  std::array<std::uint8_t, kKeyCount> hits{};  // presses counted since the previous update
  std::array<int, kCharQueueSize> chars{};
  int charCount = 0;
  InputAxes axes;
};

// The keys that quit the program at once; recording and replay leave their presses out, so
// that a replay runs to its end.
bool IsQuitKey(int key);

void CaptureFrame(const InputDevice& device, InputFrame& frame);
// The device afterwards reads as the frame: keys, hits, characters, pointer and joysticks.
void ApplyFrame(const InputFrame& frame, InputDevice& device);
// Sets hits to 1 for the keys held now but not in `before`, 0 for the rest.
void DeriveHits(const std::bitset<kKeyCount>& before, InputFrame& frame);
