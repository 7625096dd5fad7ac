// Controllers in the browser: the Gamepad API reports a known controller in its "standard"
// layout, which the host reads as the window library's gamepad layout.
#pragma once

#include <array>

#include "host/glfw2.h"

constexpr int kStandardPadButtons = 17;
constexpr int kStandardPadAxes = 4;

// One controller as the browser reports it in the standard layout: button values from 0 to 1
// (the triggers are analogue), sticks from -1 to 1 with y positive down.
struct StandardPad {
  std::array<float, kStandardPadButtons> buttons{};
  std::array<float, kStandardPadAxes> axes{};
};

glfw2::GamepadState FromStandardPad(const StandardPad& pad);
