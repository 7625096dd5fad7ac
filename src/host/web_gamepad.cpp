#include "host/web_gamepad.h"

namespace {

namespace pad = glfw2::pad;

// The standard layout's button numbers, in the order of the gamepad layout's buttons.
constexpr int kStandardButtonOf[glfw2::GAMEPAD_BUTTONS] = {
    0,   // A
    1,   // B
    2,   // X
    3,   // Y
    4,   // left bumper
    5,   // right bumper
    8,   // back
    9,   // start
    16,  // guide
    10,  // left thumb
    11,  // right thumb
    12,  // d-pad up
    15,  // d-pad right
    13,  // d-pad down
    14,  // d-pad left
};
constexpr int kLeftTrigger = 6;
constexpr int kRightTrigger = 7;
// A button counts as pressed from half way, as the browser's own "pressed" does for triggers.
constexpr float kPressedFrom = 0.5f;

// A trigger from 0..1 to the gamepad layout's -1 (released) .. 1.
float TriggerAxis(float value) {
  return value * 2.0f - 1.0f;
}

}  // namespace

glfw2::GamepadState FromStandardPad(const StandardPad& standard) {
  glfw2::GamepadState state;
  for (int b = 0; b < glfw2::GAMEPAD_BUTTONS; ++b)
    state.buttons[b] = standard.buttons[kStandardButtonOf[b]] >= kPressedFrom;
  for (int a = 0; a < kStandardPadAxes; ++a) state.axes[a] = standard.axes[a];
  state.axes[pad::LEFT_TRIGGER] = TriggerAxis(standard.buttons[kLeftTrigger]);
  state.axes[pad::RIGHT_TRIGGER] = TriggerAxis(standard.buttons[kRightTrigger]);
  return state;
}
