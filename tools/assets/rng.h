#pragma once
// A small deterministic generator (PCG32) for the asset generator, so that every run and
// every thread draws the same numbers; the game's global Rnd sequence is not touched.
#include <cstdint>

namespace assets {

class AssetRng {
 public:
  explicit AssetRng(uint64_t seed) : state_(seed * 2 + 1) { Next(); }

  uint32_t Next() {
    uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
    uint32_t xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    uint32_t rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
  }
  // Uniform in [0, 1).
  double Unit() { return Next() * (1.0 / 4294967296.0); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  // Uniform integer in [lo, hi].
  int Int(int lo, int hi) { return lo + static_cast<int>(Unit() * (hi - lo + 1)); }

 private:
  uint64_t state_;
};

}  // namespace assets
