#include "host/web_gamepad.h"

#include <gtest/gtest.h>

namespace pad = glfw2::pad;

// Each button of the browser's standard layout, pressed alone, is the gamepad button of the
// same meaning; the triggers are analogue buttons there and axes here.
TEST(WebGamepad, StandardLayoutButtonsLandOnTheirGamepadButtons) {
  const struct {
    int standard;
    int gamepad;
  } rows[] = {
      {0, pad::A},           {1, pad::B},
      {2, pad::X},           {3, pad::Y},
      {4, pad::LEFT_BUMPER}, {5, pad::RIGHT_BUMPER},
      {8, pad::BACK},        {9, pad::START},
      {10, pad::LEFT_THUMB}, {11, pad::RIGHT_THUMB},
      {12, pad::DPAD_UP},    {13, pad::DPAD_DOWN},
      {14, pad::DPAD_LEFT},  {15, pad::DPAD_RIGHT},
      {16, pad::GUIDE},
  };
  for (const auto& row : rows) {
    StandardPad standard;
    standard.buttons[row.standard] = 1.0f;
    const glfw2::GamepadState state = FromStandardPad(standard);
    for (int b = 0; b < glfw2::GAMEPAD_BUTTONS; ++b)
      EXPECT_EQ(state.buttons[b], b == row.gamepad) << "standard " << row.standard << ", " << b;
  }
}

TEST(WebGamepad, SticksPassAndTriggersBecomeAxes) {
  StandardPad standard;
  standard.axes = {0.5f, -1.0f, 0.25f, 1.0f};
  standard.buttons[6] = 0.0f;  // left trigger released
  standard.buttons[7] = 0.75f;
  const glfw2::GamepadState state = FromStandardPad(standard);
  EXPECT_EQ(state.axes[pad::LEFT_X], 0.5f);
  EXPECT_EQ(state.axes[pad::LEFT_Y], -1.0f);
  EXPECT_EQ(state.axes[pad::RIGHT_X], 0.25f);
  EXPECT_EQ(state.axes[pad::RIGHT_Y], 1.0f);
  EXPECT_EQ(state.axes[pad::LEFT_TRIGGER], -1.0f);
  EXPECT_EQ(state.axes[pad::RIGHT_TRIGGER], 0.5f);
  // An analogue button half way down counts as pressed, as the browser's own reading does.
  standard.buttons[0] = 0.4f;
  standard.buttons[1] = 0.5f;
  EXPECT_FALSE(FromStandardPad(standard).buttons[pad::A]);
  EXPECT_TRUE(FromStandardPad(standard).buttons[pad::B]);
}
