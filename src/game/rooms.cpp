// Backdrops and the parallax star field.
#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "game/asset_table.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/records.h"

namespace {
constexpr int kKeepTarget = -122;
constexpr float kOpaque = -123.0f;
constexpr float kBackdropEase = 30.0f;
constexpr int kStarSlot = ImageAssetNamed("parts").slot;
constexpr float kStarMargin = 16.0f;
constexpr int kLastStarFrame = 255;

// A star that wrapped across the screen comes back elsewhere along the edge it entered by,
// at a new depth and with a new look.
void RenewStar(MyApp& app, float* record, int along, float screenSize) {
  record[along] = static_cast<float>((screenSize + 16) * Rnd() - 8);
  record[star::kDepth] = static_cast<float>(0.2 + 0.6 * Rnd());
  record[star::kFrame] = static_cast<float>(app.Rand(0, kLastStarFrame));
}

// Wraps one coordinate of a star around the screen plus its margins.
void WrapStar(MyApp& app, float* record, int axis, int other, float screenSize, float otherSize) {
  const float margin = overscan + kStarMargin;
  const float span = screenSize + 2 * overscan + 2 * kStarMargin;
  if (record[axis] < -margin) {
    record[axis] += span;
    RenewStar(app, record, other, otherSize);
  }
  if (record[axis] > screenSize + margin) {
    record[axis] -= span;
    RenewStar(app, record, other, otherSize);
  }
}
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

void MyApp::DoStars(float dx, float dy) {
  SetSize(1);
  SetRot(0);
  for (int i = 0; i <= StarCount; ++i) {
    float* record = &Stars[i * star::kFloats];
    record[star::kX] += dx * record[star::kDepth];
    record[star::kY] += dy * record[star::kDepth];
    WrapStar(*this, record, star::kX, star::kY, jscrw, jscrh);
    WrapStar(*this, record, star::kY, star::kX, jscrh, jscrw);
    Alpha(record[star::kDepth]);
    DrawImg(kStarSlot, record[star::kX], record[star::kY], static_cast<int>(record[star::kFrame]));
  }
  ResetDraw();
}
