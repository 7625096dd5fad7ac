// Joystick state as the framework sees it, built from what the window library reports.
#pragma once

#include <array>

#include "host/kv_game.h"

constexpr int kJoyRawAxes = 6;
constexpr int kJoyRawButtons = 32;

// One device's report: up to 6 axes (missing ones 0) and up to 32 buttons.
struct RawJoystick {
  std::array<float, kJoyRawAxes> axes{};
  int axisCount = 0;
  std::array<bool, kJoyRawButtons> pressed{};
  int buttonCount = 0;
};

// Fills the two sticks and the buttons from a report. Devices with more than 12 buttons have
// their last four moved to buttons 8..11, and two known layouts get their second stick
// corrected. Buttons at or beyond the reported count keep their values.
void MapJoystick(const RawJoystick& raw, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                 JoyButtons& buttons);
