#include "base/random.h"

#include <cstdint>

int Seed = kInitialSeed;

double Rnd() {
  // Unsigned arithmetic gives the modulo-2^32 wrap without signed overflow.
  const uint32_t next = static_cast<uint32_t>(Seed) * 1664525u + 1013904223u;
  Seed = static_cast<int>(next);
  return static_cast<double>((next >> 8) & 0xFFFFFF) / 16777216.0;
}

double Rnd(double range) {
  return Rnd() * range;
}

double Rnd(double low, double high) {
  return Rnd(high - low) + low;
}
