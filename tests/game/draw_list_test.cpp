// The draw list: its limit, text layout, the screen fit and the replay through the graphics
// module, run without a window.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <ostream>
#include <vector>

#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/glyphs.h"
#include "graphics/graphics.h"
#include "sim/headless_game.h"

namespace {

constexpr int kSpriteSlot = 5;

// To a thousandth, so that sums of sines and cosines compare exactly.
float Rounded(float value) {
  return std::round(value * 1000) / 1000;
}

// One renderer call: R rect, O oval, L line, S surface (where the quad's origin lands, the
// turn in degrees and the scale).
struct Call {
  Call(char what, float a, float b, float c, float d)
      : what(what), a(Rounded(a)), b(Rounded(b)), c(Rounded(c)), d(Rounded(d)) {}
  bool operator==(const Call&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Call& c) {
    return out << c.what << "(" << c.a << ", " << c.b << ", " << c.c << ", " << c.d << ")";
  }
  char what;
  float a, b, c, d;
};

// A renderer that writes down what the module asks of it.
class RecordingGraphics : public gxtkGraphics {
 public:
  RecordingGraphics() : gxtkGraphics(1280, 720) {}
  int BeginRender() override { return 1; }
  void EndRender() override {}
  void SetBlend(int) override { ++blends; }
  void SetScissor(int x, int y, int w, int h) override { scissor = {x, y, w, h}; }
  void SetColor(float r, float g, float b) override { color = {r, g, b}; }
  void SetAlpha(float a) override { alphas.push_back(a); }
  void DrawRect(float x, float y, float w, float h) override { calls.push_back({'R', x, y, w, h}); }
  void DrawOval(float x, float y, float w, float h) override { calls.push_back({'O', x, y, w, h}); }
  void DrawLine(float x1, float y1, float x2, float y2) override {
    calls.push_back({'L', x1, y1, x2, y2});
  }
  void DrawSurface(gxtkSurface*, float x, float y) override { Surface(x, y); }
  void DrawSurface2(gxtkSurface*, float x, float y, int, int, int, int) override { Surface(x, y); }
  void Surface(float x, float y) {
    calls.push_back({'S', ix * x + jx * y + tx, iy * x + jy * y + ty,
                     std::atan2(-iy, ix) * 57.29578f, std::hypot(ix, iy)});
  }

  std::vector<Call> calls;
  std::array<int, 4> scissor{};
  std::vector<float> alphas;
  std::array<float, 3> color{};
  int blends = 0;
};

class DrawListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.frame.FontImage = kFontSlot;
    app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameW)] = kGlyphW;
    app.frame.ImageInfo[imageinfo::Index(kFontSlot, imageinfo::kFrameH)] = kGlyphH;
    app.frame.CLS2D(0, 0, 0, 1);
  }
  void TearDown() override {
    SetGraphicsDevice(app.Delegate()._graphics);
    app.frame.Images[kSpriteSlot] = nullptr;
  }
  void Render(int width, int height) {
    app.deviceWidth = width;
    app.deviceHeight = height;
    recorder.calls.clear();
    SetGraphicsDevice(&recorder);
    BeginRender();
    app.OnRender();
    EndRender();
  }

  HeadlessGame game;
  MyApp& app = game.app();
  RecordingGraphics recorder;
};

TEST_F(DrawListTest, AFullListDropsFurtherRecords) {
  app.frame.DrawCount = 37470;
  app.frame.Rect(0, 0, 1, 1);
  EXPECT_EQ(app.frame.DrawCount, 37485);
  app.frame.Rect(0, 0, 1, 1);
  app.frame.Text(0, 0, "abc");
  EXPECT_EQ(app.frame.DrawCount, 37485);
}

// Glyphs as {font offset, x and y from the text's position, frame}; font cells are 7 x 10.
TEST_F(DrawListTest, TextLaysOutGlyphsByAlignmentWidthsLineBreaksAndButtonMarks) {
  struct Layout {
    float alignX = 0, alignY = 1;
    int font = 0, controlStyle = 0;
    float size = 1, rotation = 0;
  };
  const struct {
    const char* text;
    Layout layout;
    std::vector<std::array<float, 4>> glyphs;
  } cases[] = {
      {"ab", {.alignX = 1}, {{0, 0, 0, 65}, {0, 7, 0, 66}}},
      {"x", {.alignY = 0, .font = 1, .size = 2}, {{1, 14, 10, 88}}},
      {"iwMnq",
       {},
       {{0, 7, 0, 73}, {0, 11, 0, 87}, {0, 20, 0, 45}, {0, 28, 0, 78}, {0, 34, 0, 81}}},
      // \n (two characters) starts a line one cell in; a newline code is a blank cell.
      {"ab\\ncd\nx",
       {},
       {{0, 7, 0, 65}, {0, 14, 0, 66}, {0, 7, 10, 67}, {0, 14, 10, 68}, {0, 28, 10, 88}}},
      {"\u00ACKa\u00ACO", {.controlStyle = 1}, {{0, 7, 0, 97}, {0, 18, 0, 65}, {0, 25, 0, 101}}},
      {"\u00ACJ", {}, {{0, 7, 0, 112}}},
      {"a\u00AC", {.alignX = 1}, {{0, 0, 0, 65}}},
      {"ab", {.rotation = 90}, {{0, 0, 7, 65}, {0, 0, 14, 66}}},
  };
  for (const auto& c : cases) {
    app.frame.CLS2D();
    app.frame.SetSize(c.layout.size);
    app.frame.SetRot(c.layout.rotation);
    app.frame.ControlStyle = c.layout.controlStyle;
    app.frame.Text(100, 50, c.text, c.layout.alignX, c.layout.alignY, c.layout.font);
    std::vector<std::array<float, 4>> glyphs;
    for (int at = 0; at < app.frame.DrawCount; at += drawrec::kFloats) {
      const float* r = &app.frame.DrawList[at];
      glyphs.push_back({r[drawrec::kSlot] - kFontSlot, Rounded(r[drawrec::kX] - 100),
                        Rounded(r[drawrec::kY] - 50), r[drawrec::kFrame]});
    }
    EXPECT_EQ(glyphs, c.glyphs) << c.text;
  }
}

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

// The bars are black, drawing is cut to the area, and the pointer is read inside it.
TEST_F(DrawListTest, TheBarsAreBlackAndThePointerIsReadInsideTheArea) {
  Render(2000, 500);
  app.frame.CLS2D(0, 0, 80, 1);
  app.frame.Rect(0, 0, app.frame.ScreenWidth, app.frame.ScreenHeight);
  Render(2000, 500);
  EXPECT_EQ(recorder.calls,
            (std::vector<Call>{
                {'R', -1, -1, 2002, 502}, {'R', -1, -1, 2002, 502}, {'R', 500, 0, 1000, 500}}));
  EXPECT_EQ(recorder.scissor, (std::array{500, 0, 1000, 500}));
  game.MouseMove(1000, 250);
  game.Step();
  EXPECT_EQ((std::array{app.controls.PointerX, app.controls.PointerY}), (std::array{360, 180}));
}

// Shapes scale to the device below the overscan border; images turn and scale about their
// handle; empty slots, missing frames and unknown slots draw nothing.
TEST_F(DrawListTest, ReplayScalesShapesAndTurnsImagesAboutTheirHandle) {
  auto surface = std::make_unique<gxtkSurface>();
  surface->SetData(nullptr, 32, 16, 4);
  Image sprite;
  sprite.Init2(std::move(surface), 0, 0, 16, 16, 2, Image::HandleCentered, nullptr, 0, 0, 32, 16);
  app.frame.Images[kSpriteSlot] = &sprite;
  app.frame.Overscan = 10;
  app.frame.CLS2D(10, 20, 30, 0.75f);
  app.frame.Rect(10, 20, 30, 40);
  app.frame.Oval(100, 100, 20, 10);
  app.frame.Line(0, 0, 720, 540);
  app.frame.ImageScale = 0.5f;
  app.frame.SetRot(30);
  app.frame.SetSize(2);
  app.frame.DrawImg(kSpriteSlot, 100, 50, 1);
  app.frame.DrawImg(kSpriteSlot + 1, 0, 0, 0);
  app.frame.DrawImg(kSpriteSlot, 0, 0, 2);
  app.frame.DrawList[app.frame.DrawCount] = 250;
  app.frame.DrawCount += drawrec::kFloats;
  app.frame.SetRot(0);
  app.frame.SetSize(1);
  app.frame.SetCol(1, 2, 3, 0.5f);
  app.frame.Rect(0, 0, 1, 1);
  Render(1460, 1100);  // scale 2 inside the borders
  app.frame.Overscan = 0;
  // The handle (8, 8) lands on the position: the origin lies 8 x 8 back along the turned
  // axes, scaled by 2 (size) x 2 (device) x 0.5 (density).
  const float top = 10.0f * 1100 / 1460, c = std::cos(0.5235988f), s = std::sin(0.5235988f);
  EXPECT_EQ(recorder.calls,
            (std::vector<Call>{{'R', -1, -1, 1462, 1102},
                               {'R', 30, 40 + top, 60, 80},
                               {'O', 170, 180 + top, 80, 40},
                               {'L', 10, top, 1450, 1080 + top},
                               {'S', 210 - (c - s) * 16, 100 + top - (s + c) * 16, -30, 2},
                               {'R', 10, top, 2, 2}}));
  EXPECT_EQ(recorder.alphas.at(1), 0.75f) << "the clear's alpha";
  EXPECT_EQ(recorder.color, (std::array<float, 3>{1, 2, 3}));
  EXPECT_EQ(recorder.alphas.back(), 0.5f);
  EXPECT_EQ(recorder.blends, 1) << "blending set once per frame";
}

}  // namespace
