// Joystick reports from the window library mapped to the framework's sticks and buttons.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "host/joystick.h"

namespace {

struct Mapped {
  JoyAxes x{}, y{}, z{};
  JoyButtons buttons{};
};

// A report whose axes read 0.1, 0.2, 0.3 ... in order, with one button pressed (or none).
Mapped Map(int axisCount, int buttonCount, int pressed = -1) {
  RawJoystick raw;
  raw.axisCount = axisCount;
  raw.buttonCount = buttonCount;
  for (int i = 0; i < axisCount; ++i) raw.axes[i] = 0.1f * (i + 1);
  if (pressed >= 0) raw.pressed[pressed] = true;
  Mapped mapped;
  MapJoystick(raw, mapped.x, mapped.y, mapped.z, mapped.buttons);
  return mapped;
}

TEST(Joystick, AxesFillTwoSticksAndTwoKnownLayoutsGetTheirSecondStickCorrected) {
  const struct {
    int axes, buttons;
    JoyAxes x, y, z;
  } rows[] = {{6, 10, {0.1f, 0.4f}, {0.2f, 0.5f}, {0.3f, 0.6f}},
              {5, 14, {0.1f, 0.5f}, {0.2f, -0.4f}, {0.3f, 0}},
              {4, 18, {0.1f, 0.4f}, {0.2f, -0.3f}, {0.3f, 0}},
              {6, 14, {0.1f, 0.4f}, {0.2f, 0.5f}, {0.3f, 0.6f}}};  // not a known layout
  for (const auto& r : rows) {
    const Mapped m = Map(r.axes, r.buttons);
    EXPECT_EQ((std::array{m.x, m.y, m.z}), (std::array{r.x, r.y, r.z})) << r.axes << r.buttons;
  }
}

// Which device button lands on each framework button (-1: none), pressing one at a time.
TEST(Joystick, BeyondTwelveButtonsTheLastFourMoveToEightToEleven) {
  std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 28, 29, 30, 31};
  for (int device = 8; device < 28; ++device) all.push_back(device);
  const std::pair<int, std::vector<int>> rows[] = {
      {12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
      {14, {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 8, 9}},
      {kJoyRawButtons, all}};
  for (auto [count, order] : rows) {
    order.resize(kJoyRawButtons, -1);
    std::vector<int> got(kJoyRawButtons, -1);
    for (int device = 0; device < count; ++device) {
      const Mapped mapped = Map(2, count, device);
      for (int b = 0; b < kJoyRawButtons; ++b)
        if (mapped.buttons[b]) got[b] = device;
    }
    EXPECT_EQ(got, order) << count;
  }
}

}  // namespace
