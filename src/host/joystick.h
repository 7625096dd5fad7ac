// Joystick state as the framework sees it, built from what the window library reports.
#pragma once

#include <array>

#include "host/glfw2.h"
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

// Fills the sticks and buttons from a controller read through the standard gamepad layout, in
// the order the game's controls expect: A, B, X, Y, left and right shoulder, back, start, d-pad
// left, up, right, down, left and right thumb, guide; stick y positive up; the triggers on the
// third axis of each stick.
void MapGamepad(const glfw2::GamepadState& pad, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                JoyButtons& buttons);

// One device slot of the window library as the host reads it.
struct JoystickReport {
  bool gamepad = false;  // has a gamepad mapping: pad holds it, else raw
  glfw2::GamepadState pad;
  RawJoystick raw;
};

// The devices the host reads joysticks from: the window library while playing, recorded reports
// in tests.
class JoystickSource {
 public:
  virtual ~JoystickSource() = default;
  virtual int Slots() = 0;
  virtual bool Present(int slot) = 0;
  virtual JoystickReport Read(int slot) = 0;
};

// Fills framework joystick port from the port-th present device, so a controller unplugged
// while others stay leaves no gap and one plugged in while the game runs is taken up at once.
// False when fewer devices are present.
bool PollJoystickFrom(JoystickSource& source, int port, JoyAxes& axisX, JoyAxes& axisY,
                      JoyAxes& axisZ, JoyButtons& buttons);
