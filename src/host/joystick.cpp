#include "host/joystick.h"

#include "host/glfw2.h"
#include "host/glfw_game.h"

namespace {

namespace pad = glfw2::pad;

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

// The framework button each standard-layout button lands on.
constexpr int kPadButtonOrder[glfw2::GAMEPAD_BUTTONS] = {
    pad::A,          pad::B,           pad::X,
    pad::Y,          pad::LEFT_BUMPER, pad::RIGHT_BUMPER,
    pad::BACK,       pad::START,       pad::DPAD_LEFT,
    pad::DPAD_UP,    pad::DPAD_RIGHT,  pad::DPAD_DOWN,
    pad::LEFT_THUMB, pad::RIGHT_THUMB, pad::GUIDE};

// The window library's joystick slots.
class GlfwJoysticks : public JoystickSource {
 public:
  int Slots() override { return glfw2::JOYSTICK_SLOTS; }
  bool Present(int slot) override { return glfw2::GetJoystickParam(slot, glfw2::PRESENT) != 0; }
  JoystickReport Read(int slot) override {
    JoystickReport report;
    report.gamepad = glfw2::GetGamepadState(slot, &report.pad);
    if (report.gamepad) return report;
    RawJoystick& raw = report.raw;
    raw.axisCount = glfw2::GetJoystickPos(slot, raw.axes.data(), kJoyRawAxes);
    std::array<unsigned char, kJoyRawButtons> states{};
    raw.buttonCount = glfw2::GetJoystickButtons(slot, states.data(), kJoyRawButtons);
    for (int i = 0; i < raw.buttonCount; ++i) raw.pressed[i] = states[i] == glfw2::PRESS;
    return report;
  }
};

}  // namespace

void MapGamepad(const glfw2::GamepadState& state, JoyAxes& axisX, JoyAxes& axisY, JoyAxes& axisZ,
                JoyButtons& buttons) {
  const auto& a = state.axes;
  axisX = {a[pad::LEFT_X], a[pad::RIGHT_X]};
  axisY = {-a[pad::LEFT_Y], -a[pad::RIGHT_Y]};
  axisZ = {a[pad::LEFT_TRIGGER], a[pad::RIGHT_TRIGGER]};
  buttons.fill(false);
  for (int b = 0; b < glfw2::GAMEPAD_BUTTONS; ++b) buttons[b] = state.buttons[kPadButtonOrder[b]];
}

bool PollJoystickFrom(JoystickSource& source, int port, JoyAxes& axisX, JoyAxes& axisY,
                      JoyAxes& axisZ, JoyButtons& buttons) {
  int seen = 0;
  for (int slot = 0; slot < source.Slots(); ++slot) {
    if (!source.Present(slot) || seen++ != port) continue;
    const JoystickReport report = source.Read(slot);
    if (report.gamepad) {
      MapGamepad(report.pad, axisX, axisY, axisZ, buttons);
    } else {
      MapJoystick(report.raw, axisX, axisY, axisZ, buttons);
    }
    return true;
  }
  return false;
}

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
  static GlfwJoysticks joysticks;
  return PollJoystickFrom(joysticks, port, axisX, axisY, axisZ, buttons);
}
