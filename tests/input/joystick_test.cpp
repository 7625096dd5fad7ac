// Joystick reports from the window library mapped to the framework's sticks and buttons.
#include <gtest/gtest.h>

#include <array>
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

// Which device button lands on each framework button (-1: none), pressing them one at a time.
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

std::vector<int> Padded(std::vector<int> order) {
  order.resize(kJoyRawButtons, -1);
  return order;
}

TEST(Joystick, AxesFillTwoSticksAndTwoKnownLayoutsGetTheirSecondStickCorrected) {
  // Report axes read 0.1, 0.2, 0.3 ... in order.
  const struct {
    const char* name;
    int axes, buttons;
    JoyAxes x, y, z;
  } cases[] = {{"plain", 6, 10, {0.1f, 0.4f}, {0.2f, 0.5f}, {0.3f, 0.6f}},
               {"14 buttons, 5 axes", 5, 14, {0.1f, 0.5f}, {0.2f, -0.4f}, {0.3f, 0}},
               {"18 buttons, 4 axes", 4, 18, {0.1f, 0.4f}, {0.2f, -0.3f}, {0.3f, 0}},
               {"14 buttons, 6 axes: left alone", 6, 14, {0.1f, 0.4f}, {0.2f, 0.5f}, {0.3f, 0.6f}}};
  for (const auto& c : cases) {
    const Mapped m = Map(Report(c.axes, c.buttons));
    EXPECT_EQ((std::array{m.x, m.y, m.z}), (std::array{c.x, c.y, c.z})) << c.name;
  }
}

TEST(Joystick, BeyondTwelveButtonsTheLastFourMoveToEightToEleven) {
  std::vector<int> all = {0, 1, 2, 3, 4, 5, 6, 7, 28, 29, 30, 31};
  for (int device = 8; device < 28; ++device) all.push_back(device);
  const std::pair<int, std::vector<int>> rows[] = {
      {12, Padded({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11})},
      {14, Padded({0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 8, 9})},
      {kJoyRawButtons, all}};
  for (const auto& [count, order] : rows) EXPECT_EQ(ButtonOrder(count), order) << count;
}

}  // namespace
