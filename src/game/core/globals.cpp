#include "game/core/globals.h"

#include <cmath>

#include "base/random.h"

// Rnd draws in double precision, and so does this, so a level comes out the same on every
// machine and build type.
int Rand(float lo, float hi) {
  const double low = lo;
  return static_cast<int>(std::floor(low + (hi + 0.99 - low) * Rnd()));
}

void InitGameGlobals() {
  Seed = kInitialSeed;
}
