// Game controllers as the game sees them: recorded reports with and without a gamepad mapping,
// plugged in and out while the game runs, read through the host's joystick path.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <tuple>
#include <vector>

#include "host/glfw2.h"
#include "input/input_device.h"
#include "sim/headless_game.h"

namespace {

namespace pad = glfw2::pad;

// Released triggers rest at -1.
JoystickReport Gamepad(const std::vector<int>& held, std::array<float, 6> axes = {}) {
  JoystickReport report;
  report.gamepad = true;
  for (int button : held) report.pad.buttons[button] = true;
  report.pad.axes = axes;
  return report;
}

// Device slots holding recorded reports; an empty slot has nothing plugged in.
class GamepadTest : public testing::Test, public JoystickSource {
 protected:
  GamepadTest() { game.host().joysticks = this; }
  ~GamepadTest() override { game.host().joysticks = nullptr; }
  int Slots() override { return glfw2::JOYSTICK_SLOTS; }
  bool Present(int slot) override { return slots[slot].has_value(); }
  JoystickReport Read(int slot) override { return *slots[slot]; }

  // The game keys held by player 0 after one update, asked as the menus ask (stick counts).
  std::vector<int> HeldKeys() {
    game.Step();
    std::vector<int> held;
    for (int key : {kGameUp, kGameLeft, kGameRight, kGameDown, kGameA, kGameB, kGameX, kGameY,
                    kGameL1, kGameR1, kGameBack})
      if (game.app().io.PlayKey(key, 1, 0)) held.push_back(key);
    return held;
  }

  std::array<std::optional<JoystickReport>, glfw2::JOYSTICK_SLOTS> slots;
  HeadlessGame game;
};

// The report's y grows downward, the framework's upward; thumb clicks, the right stick and the
// triggers do nothing.
TEST_F(GamepadTest, TheStandardLayoutReachesTheGameKeys) {
  using Axes = std::array<float, 6>;
  for (const auto& [buttons, axes, keys] :
       {std::tuple{std::vector<int>{pad::A}, Axes{}, std::vector<int>{kGameA}},
        {{pad::B}, {}, {kGameB}},
        {{pad::X}, {}, {kGameX}},
        {{pad::Y}, {}, {kGameY}},
        {{pad::LEFT_BUMPER, pad::RIGHT_BUMPER}, {}, {kGameL1, kGameR1}},
        {{pad::BACK}, {}, {kGameBack}},
        {{pad::START}, {}, {kGameBack}},
        {{pad::DPAD_UP, pad::DPAD_LEFT}, {}, {kGameUp, kGameLeft}},
        {{pad::DPAD_DOWN, pad::DPAD_RIGHT, pad::LEFT_THUMB}, {}, {kGameRight, kGameDown}},
        {{}, {0.9f, -0.9f, 1, 1, 1, 1}, {kGameUp, kGameRight}}}) {
    slots[0] = Gamepad(buttons, axes);
    EXPECT_EQ(HeldKeys(), keys) << buttons.size() << " " << axes[0] << "," << axes[1];
  }
  EXPECT_EQ((std::array{JoyX(0, 0), JoyY(0, 0)}), (std::array{0.9f, 0.9f}));
}

// Without a gamepad mapping the device's own numbering reaches the game as before.
TEST_F(GamepadTest, AControllerWithoutAMappingKeepsItsRawButtons) {
  JoystickReport raw;
  raw.raw.buttonCount = 12;
  raw.raw.axisCount = 2;
  raw.raw.pressed[0] = raw.raw.pressed[9] = true;
  raw.raw.axes[0] = -1;
  slots[0] = raw;
  EXPECT_EQ(HeldKeys(), (std::vector<int>{kGameUp, kGameLeft, kGameA}));
}

// Mended: an unplugged controller's buttons are let go.
TEST_F(GamepadTest, ControllersPluggedInAndOutWhilePlaying) {
  slots[3] = Gamepad({pad::A});
  EXPECT_EQ(HeldKeys(), std::vector<int>{kGameA}) << "a late one in the fourth slot is player 1";
  slots[3].reset();
  EXPECT_EQ(HeldKeys(), std::vector<int>{}) << "unplugged with A held: A is let go";
  EXPECT_EQ(KeyDown(key::JoyButton(0, 0)), 0);

  slots[0] = Gamepad({});
  slots[1] = Gamepad({pad::B});
  EXPECT_EQ(game.app().io.PlayKey(kGameB, 1, 1), 0) << "not yet polled";
  game.Step();
  EXPECT_EQ(game.app().io.PlayKey(kGameB, 1, 1), 1) << "the second controller is player 2";
  slots[0].reset();
  EXPECT_EQ(HeldKeys(), std::vector<int>{kGameB}) << "the first unplugged: the second moves up";
  EXPECT_EQ(game.app().io.PlayKey(kGameB, 1, 1), 0);
}

}  // namespace
