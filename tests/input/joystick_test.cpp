// Joystick reports from the window library mapped to the framework's sticks and buttons.
#include <gtest/gtest.h>

#include <vector>

#include "host/joystick.h"

namespace {

RawJoystick Report(int axisCount, int buttonCount) {
  RawJoystick raw;
  raw.axisCount = axisCount;
  raw.buttonCount = buttonCount;
  for (int i = 0; i < axisCount; ++i) raw.axes[i] = 0.1f * (i + 1);
  return raw;
}

struct Mapped {
  JoyAxes x{}, y{}, z{};
  JoyButtons buttons{};
};

Mapped Map(const RawJoystick& raw, Mapped mapped = {}) {
  MapJoystick(raw, mapped.x, mapped.y, mapped.z, mapped.buttons);
  return mapped;
}

// Which device button lands on each framework button, by pressing them one at a time.
std::vector<int> ButtonOrder(int buttonCount) {
  std::vector<int> order(kJoyRawButtons, -1);
  for (int device = 0; device < buttonCount; ++device) {
    RawJoystick raw = Report(2, buttonCount);
    raw.pressed[device] = true;
    const Mapped mapped = Map(raw);
    for (int b = 0; b < kJoyRawButtons; ++b)
      if (mapped.buttons[b]) order[b] = device;
  }
  return order;
}

TEST(Joystick, AxesFillTwoSticksWithMissingOnesZero) {
  const Mapped m = Map(Report(6, 10));
  EXPECT_EQ(m.x, (JoyAxes{0.1f, 0.4f}));
  EXPECT_EQ(m.y, (JoyAxes{0.2f, 0.5f}));
  EXPECT_EQ(m.z, (JoyAxes{0.3f, 0.6f}));
  const Mapped two = Map(Report(2, 10));
  EXPECT_EQ(two.x, (JoyAxes{0.1f, 0}));
  EXPECT_EQ(two.z, (JoyAxes{0, 0}));
}

TEST(Joystick, UpToTwelveButtonsKeepTheirNumbers) {
  const auto order = ButtonOrder(12);
  for (int b = 0; b < 12; ++b) EXPECT_EQ(order[b], b);
  EXPECT_EQ(order[12], -1);
}

TEST(Joystick, FourteenButtonsMoveTheLastFourToEightToEleven) {
  const auto order = ButtonOrder(14);
  const std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 8, 9};
  EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 14), expected);
  EXPECT_EQ(order[14], -1);
}

TEST(Joystick, ThirtyTwoButtonsFillEverySlotOnce) {
  const auto order = ButtonOrder(kJoyRawButtons);
  EXPECT_EQ(order[8], 28);
  EXPECT_EQ(order[11], 31);
  EXPECT_EQ(order[12], 8);
  EXPECT_EQ(order[31], 27);
}

TEST(Joystick, ButtonsBeyondTheReportKeepTheirValues) {
  Mapped before;
  before.buttons[5] = true;
  before.buttons[20] = true;
  const Mapped m = Map(Report(2, 6), before);
  EXPECT_FALSE(m.buttons[5]);
  EXPECT_TRUE(m.buttons[20]);
  const Mapped wide = Map(Report(2, 14), before);
  EXPECT_TRUE(wide.buttons[20]);
}

TEST(Joystick, TwoKnownLayoutsGetTheirSecondStickCorrected) {
  const Mapped fourteen = Map(Report(5, 14));
  EXPECT_EQ(fourteen.x[1], 0.5f);
  EXPECT_EQ(fourteen.y[1], -0.4f);
  const Mapped eighteen = Map(Report(4, 18));
  EXPECT_EQ(eighteen.x[1], 0.4f);
  EXPECT_EQ(eighteen.y[1], -0.3f);
  // Same buttons, other axis count: left alone.
  const Mapped plain = Map(Report(6, 14));
  EXPECT_EQ(plain.x[1], 0.4f);
  EXPECT_EQ(plain.y[1], 0.5f);
}

}  // namespace
