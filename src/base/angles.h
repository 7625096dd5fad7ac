// Angles in degrees, as the game and the graphics module take them.
#pragma once

#include <cmath>

// The single-precision value of pi / 180.
inline constexpr float kDegreesToRadians = 0.017453292f;

inline float SinDeg(float degrees) {
  return std::sin(degrees * kDegreesToRadians);
}

inline float CosDeg(float degrees) {
  return std::cos(degrees * kDegreesToRadians);
}
