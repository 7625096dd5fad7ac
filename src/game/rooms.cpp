// Backdrops and the parallax star field.
#include <cmath>

#include "base/random.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {
constexpr int kStarRecordFloats = 10;
constexpr int kMaxStars = 499;
}  // namespace

void MyApp::ResetStars(int count) {
  if (count >= 1 && count <= kMaxStars) StarCount = count;
  for (int i = 0; i <= StarCount; ++i) {
    float* star = &Stars[i * kStarRecordFloats];
    star[0] = std::floor(255.99 * Rnd());
    star[1] = static_cast<float>((jscrw + 16) * Rnd() - 8);
    star[2] = static_cast<float>((jscrh + 16) * Rnd() - 8);
    star[3] = static_cast<float>(0.2 + 0.6 * Rnd());
    Rnd();
    Rnd();
  }
}
