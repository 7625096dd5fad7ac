// Sparks, debris and exhaust: a fixed pool of short-lived sprites that never affect play.
#include <algorithm>
#include <array>
#include <cmath>

#include "base/angles.h"
#include "base/random.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/frame.h"
#include "game/play/play.h"
#include "game/world/world_map.h"

namespace {
constexpr int kFree = 0;
constexpr int kBouncing = 2;
constexpr int kQuickFade = 3;
constexpr int kLastDrawnKind = 9;

constexpr double kFullTurn = 360;
constexpr double kRandomSpeedBase = 3, kRandomSpeedRange = 5;
constexpr double kSpinRange = 16, kSpinOffset = 8;
constexpr double kLifeBase = 1.8, kLifeRange = 0.7;
constexpr float kQuickFadeLife = 0.8f;
constexpr double kFrameRange = 255.99;

constexpr float kBounceDrag = 0.95f;
constexpr float kBounceGravity = 0.2f;
constexpr float kBounceKeep = 0.8f;
constexpr float kQuickFadeExtra = 0.02f;
constexpr float kFadePerFrame = 0.03f;
constexpr float kDrawSize = 1.5f;
constexpr float kInkLevel = 4;

struct Rgb {
  float red, green, blue;
};
// Index 0 doubles as the ink of every unknown colour.
constexpr std::array<Rgb, 10> kInks = {{{0.3f, 0.3f, 0.3f},
                                        {1, 0.1f, 0.1f},
                                        {1, 0.5f, 0.1f},
                                        {1, 1, 0.1f},
                                        {0.1f, 1, 0.1f},
                                        {0.1f, 1, 1},
                                        {0.1f, 0.1f, 1},
                                        {0.5f, 0.1f, 1},
                                        {1, 0.1f, 0.5f},
                                        {1, 1, 1}}};
constexpr Rgb kUnknownInk = kInks[0];

float Channel(float fraction, float level) {
  return std::clamp(fraction * level * 255.0f, 0.0f, 255.0f);
}
}  // namespace

void Ink(GameFrame& frame, int colour, float level) {
  const Rgb ink = colour >= 0 && colour < static_cast<int>(kInks.size())
                      ? kInks[static_cast<size_t>(colour)]
                      : kUnknownInk;
  frame.SetCol(Channel(ink.red, level), Channel(ink.green, level), Channel(ink.blue, level));
}

int Play::FreeParticle() const {
  for (int i = ParticleCount; i >= 0; --i) {
    const int start = i * particle::kFloats;
    if (Particles[static_cast<size_t>(start + particle::kKind)] == kFree) return start;
  }
  return -1;
}

void Play::ResetParticles(int count) {
  if (count >= 1 && count <= particle::kMaxCount) ParticleCount = count;
  for (int i = 0; i <= ParticleCount; ++i)
    Particles[static_cast<size_t>(i * particle::kFloats + particle::kKind)] = kFree;
}

void Play::ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
  // The random defaults are drawn even when the throw is dropped, so the shared sequence
  // does not depend on how full the pool is.
  if (angle == kNoArg) angle = static_cast<float>(kFullTurn * Rnd());
  if (speed == kNoArg) speed = static_cast<float>(kRandomSpeedBase + kRandomSpeedRange * Rnd());
  const int start = FreeParticle();
  if (start < 0) return;
  float* p = &Particles[static_cast<size_t>(start)];
  p[particle::kKind] = static_cast<float>(kind);
  p[particle::kX] = x;
  p[particle::kY] = y;
  p[particle::kVX] = speed * SinDeg(angle);
  p[particle::kVY] = -speed * CosDeg(angle);
  p[particle::kAngle] = static_cast<float>(kFullTurn * Rnd());
  p[particle::kSpin] = static_cast<float>(kSpinRange * Rnd() - kSpinOffset);
  const auto life = static_cast<float>(kLifeBase + kLifeRange * Rnd());
  p[particle::kLife] = kind == kQuickFade ? kQuickFadeLife : life;
  p[particle::kFrame] = static_cast<float>(std::floor(kFrameRange * Rnd()));
  p[particle::kColour] = static_cast<float>(colour);
}

void Play::DoParticles(GameFrame& frame, const WorldMap& world) {
  frame.ResetDraw();
  for (int i = 0; i <= ParticleCount; ++i) {
    float* p = &Particles[static_cast<size_t>(i * particle::kFloats)];
    const float kind = p[particle::kKind];
    if (!(kind > kFree)) continue;
    p[particle::kX] += p[particle::kVX];
    p[particle::kY] += p[particle::kVY];
    p[particle::kAngle] += p[particle::kSpin];
    frame.SetRot(p[particle::kAngle]);
    if (kind == kBouncing) {
      p[particle::kVX] *= kBounceDrag;
      p[particle::kVY] += kBounceGravity;
      // Outside the world reads as a wall, so strays bounce back too.
      if (WorldMap::isSolid(
              world.CodeAtPixel(std::trunc(p[particle::kX]), std::trunc(p[particle::kY]))))
        p[particle::kVY] = -kBounceKeep * std::abs(p[particle::kVY]);
    }
    if (kind == kQuickFade) p[particle::kLife] -= kQuickFadeExtra;
    frame.Alpha(std::min(p[particle::kLife], 1.0f));
    frame.SetSize(kDrawSize);
    Ink(frame, static_cast<int>(p[particle::kColour]), kInkLevel);
    if (kind <= kLastDrawnKind) {
      frame.DrawImg(kParticleSlot, p[particle::kX] - CamX, p[particle::kY] - CamY,
                    static_cast<int>(p[particle::kFrame]));
    }
    p[particle::kLife] -= kFadePerFrame;
    if (p[particle::kLife] < 0) p[particle::kKind] = kFree;
  }
  frame.ResetDraw();
}
