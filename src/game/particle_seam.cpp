// Stand-in for the particle pool until the flight branch's particles are merged: throws a
// particle with the same random draws, so combat can be built and tested on its own.
#include <algorithm>

#include "base/angles.h"
#include "base/random.h"
#include "game/my_app.h"
#include "game/records.h"

void MyApp::ThrowParticle(float x, float y, int kind, int colour, float angle, float speed) {
  if (angle == kNoArg) angle = static_cast<float>(360 * Rnd());
  if (speed == kNoArg) speed = static_cast<float>(3 + 5 * Rnd());
  if (ParticleCount < 0) return;
  int start = -1;
  for (int i = std::min(ParticleCount, particle::kMaxCount); i >= 0 && start < 0; --i)
    if (Particles[i * particle::kFloats + particle::kKind] == 0) start = i * particle::kFloats;
  if (start < 0) return;
  float* record = &Particles[start];
  record[particle::kKind] = static_cast<float>(kind);
  record[particle::kX] = x;
  record[particle::kY] = y;
  record[particle::kVX] = speed * SinDeg(angle);
  record[particle::kVY] = -speed * CosDeg(angle);
  record[particle::kAngle] = static_cast<float>(360 * Rnd());
  record[particle::kSpin] = static_cast<float>(16 * Rnd() - 8);
  const auto life = static_cast<float>(1.8 + 0.7 * Rnd());
  record[particle::kLife] = kind == 3 ? 0.8f : life;
  record[particle::kFrame] = static_cast<float>(static_cast<int>(255.99 * Rnd()));
  record[particle::kColour] = static_cast<float>(colour);
}
