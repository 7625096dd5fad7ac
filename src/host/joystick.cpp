#include "host/joystick.h"

#include "host/glfw2.h"
#include "host/glfw_game.h"

namespace {

// Buttons 8..11 are the direction buttons the game expects; larger devices keep theirs last.
constexpr int kDirectButtons = 12;
constexpr int kFirstMovedButton = 8;
constexpr int kMovedButtons = 4;

void MapButtons(const RawJoystick& raw, JoyButtons& buttons) {
  const int n = raw.buttonCount;
  if (n <= kDirectButtons) {
    for (int i = 0; i < n; ++i) buttons[i] = raw.pressed[i];
    return;
  }
  for (int i = 0; i < kFirstMovedButton; ++i) buttons[i] = raw.pressed[i];
  for (int i = 0; i < kMovedButtons; ++i)
    buttons[kFirstMovedButton + i] = raw.pressed[n - kMovedButtons + i];
  for (int i = kFirstMovedButton; i < n - kMovedButtons; ++i)
    buttons[kDirectButtons + i - kFirstMovedButton] = raw.pressed[i];
}

// Two controllers report their second stick on other axes or upside down.
void CorrectSecondStick(const RawJoystick& raw, JoyAxes& axisX, JoyAxes& axisY) {
  const auto& a = raw.axes;
  if (raw.buttonCount == 14 && raw.axisCount == 5) {
    axisX[1] = a[4];
    axisY[1] = -a[3];
  } else if (raw.buttonCount == 18 && raw.axisCount == 4) {
    axisY[1] = -a[2];
  }
}

}  // namespace

void MapJoystick(const RawJoystick& raw, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                 JoyButtons& buttons) {
  const auto& a = raw.axes;
  axisX = {a[0], a[3]};
  axisY = {a[1], a[4]};
  axisZ = {a[2], a[5]};
  MapButtons(raw, buttons);
  CorrectSecondStick(raw, axisX, axisY);
}

bool KvGlfwGame::PollJoystick(int port, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                              JoyButtons& buttons) {
  if (!glfw2::GetJoystickParam(port, glfw2::PRESENT)) return false;
  RawJoystick raw;
  raw.axisCount = glfw2::GetJoystickPos(port, raw.axes.data(), kJoyRawAxes);
  std::array<unsigned char, kJoyRawButtons> states{};
  raw.buttonCount = glfw2::GetJoystickButtons(port, states.data(), kJoyRawButtons);
  for (int i = 0; i < raw.buttonCount; ++i) raw.pressed[i] = states[i] == glfw2::PRESS;
  MapJoystick(raw, axisX, axisY, axisZ, buttons);
  return true;
}
