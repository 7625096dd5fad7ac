// The screen fit and the still frame, run without a window. Text layout and the replay
// through the graphics module show in the frame golden and the flight render pictures.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "graphics/graphics.h"
#include "sim/headless_game.h"

namespace {

// To a thousandth, so that scales compare exactly.
float Rounded(float value) {
  return std::round(value * 1000) / 1000;
}

// A renderer with no window behind it.
class NoGraphics : public gxtkGraphics {
 public:
  NoGraphics() : gxtkGraphics(1280, 720) {}
  int BeginRender() override { return 1; }
  void EndRender() override {}
  void SetBlend(int) override {}
  void SetScissor(int, int, int, int) override {}
  void DrawRect(float, float, float, float) override {}
};

class DrawListTest : public ::testing::Test {
 protected:
  void SetUp() override { app.frame.CLS2D(0, 0, 0, 1); }
  void TearDown() override { SetGraphicsDevice(app.Delegate()._graphics); }
  void Render(int width, int height) {
    app.deviceWidth = width;
    app.deviceHeight = height;
    SetGraphicsDevice(&recorder);
    BeginRender();
    app.OnRender();
    EndRender();
  }

  HeadlessGame game;
  MyApp& app = game.app();
  NoGraphics recorder;
};

// The logical screen keeps the design's short side (720 wide or 540 high) and is never
// stretched; windows wider than 2:1 or taller than 1:2 draw in a centred area of that shape.
TEST_F(DrawListTest, DevicesFitTheDesignSizeInACentredAreaOfTheGamesShape) {
  const struct {
    int width, height;
    std::array<float, 4> area;  // left, top, width, height
    float logicalW, logicalH;
  } cases[] = {{640, 480, {0, 0, 640, 480}, 720, 540},
               {1280, 720, {0, 0, 1280, 720}, 720, 405},
               {540, 960, {0, 0, 540, 960}, 455.625f, 810},
               {2000, 500, {500, 0, 1000, 500}, 720, 360},
               {300, 1000, {0, 200, 300, 600}, 405, 810},
               {1, 1, {0, 0, 1, 1}, 540, 540},
               {7, 2, {1, 0, 4, 2}, 720, 360}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    Render(c.width, c.height);
    const auto& f = app.frame;
    EXPECT_EQ((std::array{f.FitLeft, f.FitTop, f.FitWidth, f.FitHeight}), c.area);
    EXPECT_EQ((std::array{f.ScreenWidth, f.ScreenHeight, Rounded(f.ScaleX * c.logicalW), f.ScaleY}),
              (std::array{c.logicalW, c.logicalH, c.area[2], f.ScaleX}));
  }
  Render(0, 0);
  EXPECT_FLOAT_EQ(app.frame.ScreenWidth, 720) << "no area: the last fit stays";
}

// A frame is drawn again only when something it shows changed; one cleared see-through blends
// over the frame before, so it is never still.
TEST_F(DrawListTest, AFrameIsStillUntilItsListClearOrDeviceChanges) {
  const struct {
    const char* change;
    float clearAlpha;
    std::function<void(GameFrame&)> apply;
    int width;
    bool still;
  } cases[] = {
      {"nothing", 1, [](GameFrame&) {}, 640, true},
      {"a record's colour", 1, [](GameFrame& f) { f.DrawList[drawrec::kRed] += 1; }, 640, false},
      {"one record more", 1, [](GameFrame& f) { f.Rect(1, 1, 2, 2); }, 640, false},
      {"the device's size", 1, [](GameFrame&) {}, 800, false},
      {"the clear colour", 1, [](GameFrame& f) { f.ClearGreen = 9; }, 640, false},
      {"nothing, cleared see-through", 0.5f, [](GameFrame&) {}, 640, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    app.frame.CLS2D(0, 0, 0, c.clearAlpha);
    app.frame.Rect(10, 10, 50, 50);
    Render(640, 480);
    c.apply(app.frame);
    EXPECT_EQ(app.frame.StillShown(c.width, 480), c.still);
  }
}

}  // namespace
