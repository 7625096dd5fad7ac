// The flight rules, shared by play and the pilot's forecast of it so that the two cannot
// drift apart: how held keys move the stick, how the stick moves the ship, and how the walls
// beside it stop it.
#pragma once

#include <algorithm>
#include <cmath>

namespace flight {

constexpr float kKeyRampStep = 0.15f, kKeyRelaxStep = 0.2f;
constexpr float kIdleStick = 0.2f, kThrustStick = -0.2f;
constexpr float kMaxSpeedX = 8, kDrag = 0.5f;
constexpr float kThrust = 1, kGravity = 0.35f;
constexpr float kMaxRise = 6, kMaxFall = 5;

inline float ClampUnit(float value) {
  return std::clamp(value, -1.0f, 1.0f);
}

// One key-driven stick axis: ramps while a key is held, relaxes back to 0 without passing it.
inline void RampAxis(bool towardNegative, bool towardPositive, float& ramp, float& analog) {
  if (towardNegative) {
    ramp -= kKeyRampStep;
    analog = ramp;
  } else if (ramp < 0) {
    ramp = std::min(ramp + kKeyRelaxStep, 0.0f);
    analog = ramp;
  }
  if (towardPositive) {
    ramp += kKeyRampStep;
    analog = ramp;
  } else if (ramp > 0) {
    ramp = std::max(ramp - kKeyRelaxStep, 0.0f);
    analog = ramp;
  }
}

// The speeds after one update with the stick at (ax, ay).
inline void Accelerate(float ax, float ay, bool gravity, float& vx, float& vy) {
  vx = std::clamp(vx + ax, -kMaxSpeedX, kMaxSpeedX);
  if (std::fabs(ax) < kIdleStick)
    vx = vx > 0 ? std::max(vx - kDrag, 0.0f) : std::min(vx + kDrag, 0.0f);
  if (ay < kThrustStick) vy -= kThrust;
  if (ay > kThrustStick && gravity) vy += kGravity;
  vy = std::clamp(vy, -kMaxRise, kMaxFall);
}

// Where a point lies in its tile, from the tile's middle.
inline float OffsetInTile(float pixel, float tileSize) {
  return std::fmod(pixel, tileSize) - tileSize / 2;
}

struct SolidNeighbours {
  bool left = false, right = false, up = false, down = false;
};

// A solid neighbour stops motion toward it once the ship is past its tile's middle; true when
// the floor stopped it.
inline bool StopAtWalls(const SolidNeighbours& solid, float ox, float oy, float& vx, float& vy) {
  if (solid.left && vx < 0 && ox < 0) vx = 0;
  if (solid.right && vx > 0 && ox > 0) vx = 0;
  if (solid.up && vy < 0 && oy < 0) vy = 0;
  if (!(solid.down && vy > 0 && oy > 0)) return false;
  vy = 0;
  return true;
}

}  // namespace flight
