// Backdrops and the parallax star field.
#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/records.h"

namespace {
constexpr int kKeepTarget = -122;
constexpr float kOpaque = -123.0f;
constexpr float kBackdropEase = 30.0f;
}  // namespace

void MyApp::DoBG(int red, int green, int blue, float alpha) {
  const int targets[] = {red, green, blue};
  for (int i = 0; i < 3; ++i) {
    if (targets[i] >= kKeepTarget) BgTarget[i] = static_cast<float>(targets[i]);
    BgColour[i] += (BgTarget[i] - BgColour[i]) / kBackdropEase;
  }
  alpha = alpha == kOpaque ? 1.0f : std::clamp(alpha, 0.0f, 1.0f);
  if (red > kNoArg) {
    CLS2D(BgColour[0], BgColour[1], BgColour[2], alpha);
  } else {
    CLS2D();
  }
}

void MyApp::ResetStars(int count) {
  if (count >= 1 && count <= star::kMaxCount) StarCount = count;
  for (int i = 0; i <= StarCount; ++i) {
    float* record = &Stars[i * star::kFloats];
    record[star::kFrame] = std::floor(255.99 * Rnd());
    record[star::kX] = static_cast<float>((jscrw + 16) * Rnd() - 8);
    record[star::kY] = static_cast<float>((jscrh + 16) * Rnd() - 8);
    record[star::kDepth] = static_cast<float>(0.2 + 0.6 * Rnd());
    Rnd();
    Rnd();
  }
}
