// The controls: the game keys the pad and keyboard hold, the pointer and touches, the analogue
// stick, and the console's on-screen pad and tilt.
// May use: core.
#pragma once

#include <array>

constexpr int kPadKeys = 20;
constexpr int kPadBackEntry = 19;  // the PadKeys entry of the console's back button
constexpr int kTouchSlots = 10;

struct Controls {
  // The iCade key-pair controller is on (1); the options panel switches it.
  int ICade = 0;
  std::array<int, kPadKeys> PadKeys{};
  int CharCode = 0;
  int KeyLatch = 0;
  int PointerX = 0, LastPointerX = 0, PointerY = 0, LastPointerY = 0;
  int PointerWasDown = 0, PointerDown = 0, PointerHit = 0;
  std::array<int, kTouchSlots> TouchOn{};
  std::array<int, kTouchSlots> TouchPosX{};
  std::array<int, kTouchSlots> TouchPosY{};
  int PointerActive = 0;
  int StickOriginX = 0, StickOriginY = 0;
  int PinchActive = 0;
  int PinchSpread = 0;
  float AnalogX = 0, AnalogY = 0, KeyAnalogY = 0, KeyAnalogX = 0;
  int PadX = 0, PadY = 0;
  float PadScale = 0;
  float TiltX = 0, TiltY = 0, SmoothTiltX = 0, SmoothTiltY = 0;
  float TiltZeroX = 0, TiltZeroY = 0;
};
