// The draw list: its limit, text layout, the screen fit and the replay through
// the graphics module, run without a window.
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
#include "host/glfw2.h"
#include "sim/headless_game.h"

namespace {

constexpr int kSpriteSlot = 5;
constexpr float kTextX = 100;
constexpr float kTextY = 50;

// Positions compared to a thousandth, so that sums of sines and cosines compare exactly.
float Rounded(float value) {
  return std::round(value * 1000) / 1000;
}

// A glyph record: slot offset from the font, x and y from the text's position, frame.
using Glyph = std::array<float, 4>;

// One renderer call: R rect, O oval, L line, S surface (where the quad's origin lands, then
// the matrix's turn in degrees and its scale).
struct Call {
  Call(char what, float a, float b, float c, float d)
      : what(what), a(Rounded(a)), b(Rounded(b)), c(Rounded(c)), d(Rounded(d)) {}
  bool operator==(const Call&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Call& call) {
    return out << call.what << "(" << call.a << ", " << call.b << ", " << call.c << ", " << call.d
               << ")";
  }
  char what;
  float a, b, c, d;
};

// A renderer that writes down what the module asks of it instead of drawing.
class RecordingGraphics : public gxtkGraphics {
 public:
  RecordingGraphics() : gxtkGraphics(1280, 720) {}
  int BeginRender() override { return 1; }
  void EndRender() override {}
  void SetBlend(int) override { ++blends; }
  void SetScissor(int x, int y, int w, int h) override { scissors.push_back({x, y, w, h}); }
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
  std::vector<std::array<int, 4>> scissors;
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
    if (sprite) app.frame.Images[kSpriteSlot] = nullptr;
  }

  void Render(int width, int height) {
    app.deviceWidth = width;
    app.deviceHeight = height;
    SetGraphicsDevice(&recorder);
    BeginRender();
    app.OnRender();
    EndRender();
  }

  // A 32 x 16 sprite sheet of two frames with a centred handle, kept in memory only.
  void LoadSprite() {
    auto surface = std::make_unique<gxtkSurface>();
    surface->SetData(nullptr, 32, 16, 4);
    sprite = std::make_unique<Image>();
    sprite->Init2(std::move(surface), 0, 0, 16, 16, 2, Image::HandleCentered, nullptr, 0, 0, 32,
                  16);
    app.frame.Images[kSpriteSlot] = sprite.get();
  }

  std::vector<Glyph> Glyphs() const {
    std::vector<Glyph> glyphs;
    for (int i = 0; i < Records(); ++i) {
      const float* r = Record(i);
      glyphs.push_back({r[drawrec::kSlot] - kFontSlot, Rounded(r[drawrec::kX] - kTextX),
                        Rounded(r[drawrec::kY] - kTextY), r[drawrec::kFrame]});
    }
    return glyphs;
  }
  const float* Record(int index) const {
    return &app.frame.DrawList[static_cast<size_t>(index) * drawrec::kFloats];
  }
  int Records() const { return app.frame.DrawCount / drawrec::kFloats; }

  HeadlessGame game;
  MyApp& app = game.app();
  RecordingGraphics recorder;
  std::unique_ptr<Image> sprite;
};

TEST_F(DrawListTest, AFullListDropsFurtherRecords) {
  app.frame.DrawCount = 37470;
  app.frame.Rect(0, 0, 1, 1);
  EXPECT_EQ(app.frame.DrawCount, 37485);
  EXPECT_EQ(app.frame.DrawList[37470 + drawrec::kSlot], drawrec::kRectMarker);
  app.frame.Rect(0, 0, 1, 1);
  app.frame.Text(0, 0, "abc");
  EXPECT_EQ(app.frame.DrawCount, 37485);
}

TEST_F(DrawListTest, TextLaysOutGlyphsByAlignmentWidthsLineBreaksAndButtonMarks) {
  struct Layout {
    float alignX = 0, alignY = 1;
    int fontOffset = 0, controlStyle = 0;
    float size = 1, rotation = 0;
  };
  // Font cells are 7 x 10.
  const struct {
    const char* name;
    const char* text;
    Layout layout;
    std::vector<Glyph> glyphs;
  } cases[] = {
      {"centred", "ab", {.alignX = 1}, {{0, 0, 0, 65}, {0, 7, 0, 66}}},
      {"top aligned at size 2 in the next font",
       "x",
       {.alignY = 0, .fontOffset = 1, .size = 2},
       {{1, 14, 10, 88}}},
      {"narrow and wide letters",
       "iwMnq",
       {},
       {{0, 7, 0, 73}, {0, 11, 0, 87}, {0, 20, 0, 45}, {0, 28, 0, 78}, {0, 34, 0, 81}}},
      {"backslash n starts a line one cell in; a newline code is a blank cell",
       "ab\\ncd\nx",
       {},
       {{0, 7, 0, 65}, {0, 14, 0, 66}, {0, 7, 10, 67}, {0, 14, 10, 68}, {0, 28, 10, 88}}},
      {"controller button marks are wider",
       "\u00ACKa\u00ACO",
       {.controlStyle = 1},
       {{0, 7, 0, 97}, {0, 18, 0, 65}, {0, 25, 0, 101}}},
      {"keyboard button marks", "\u00ACJ", {}, {{0, 7, 0, 112}}},
      {"a trailing mark is neither measured nor drawn", "a\u00AC", {.alignX = 1}, {{0, 0, 0, 65}}},
      {"turned clockwise it runs down", "ab", {.rotation = 90}, {{0, 0, 7, 65}, {0, 0, 14, 66}}},
  };
  for (const auto& c : cases) {
    app.frame.CLS2D();
    app.frame.SetSize(c.layout.size);
    app.frame.SetRot(c.layout.rotation);
    app.frame.ControlStyle = c.layout.controlStyle;
    app.frame.Text(kTextX, kTextY, c.text, c.layout.alignX, c.layout.alignY, c.layout.fontOffset);
    EXPECT_EQ(Glyphs(), c.glyphs) << c.name;
  }
}

// The logical screen keeps the design's short side (720 wide or 540 high) and is never
// stretched; windows wider than 2:1 or taller than 1:2 draw the game in a centred area of that
// shape with black bars beside it, so the logical screen never gets too flat or too narrow.
TEST_F(DrawListTest, DevicesFitTheDesignSizeInACentredAreaOfTheGamesShape) {
  const struct {
    int width, height;
    std::array<float, 4> area;  // left, top, width, height
    float logicalW, logicalH;
  } cases[] = {{640, 480, {0, 0, 640, 480}, 720, 540},
               {1280, 720, {0, 0, 1280, 720}, 720, 405},
               {540, 960, {0, 0, 540, 960}, 455.625f, 810},
               {1000, 500, {0, 0, 1000, 500}, 720, 360},
               {2000, 500, {500, 0, 1000, 500}, 720, 360},
               {300, 1000, {0, 200, 300, 600}, 405, 810},
               {7, 2, {1, 0, 4, 2}, 720, 360},
               {1, 1, {0, 0, 1, 1}, 540, 540},
               {3841, 100, {1820, 0, 200, 100}, 720, 360}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
    Render(c.width, c.height);
    EXPECT_EQ(
        (std::array{app.frame.FitLeft, app.frame.FitTop, app.frame.FitWidth, app.frame.FitHeight}),
        c.area);
    EXPECT_FLOAT_EQ(app.frame.ScreenWidth, c.logicalW);
    EXPECT_FLOAT_EQ(app.frame.ScreenHeight, c.logicalH);
    EXPECT_FLOAT_EQ(app.frame.ScaleX * c.logicalW, c.area[2]);
    EXPECT_FLOAT_EQ(app.frame.ScaleY, app.frame.ScaleX) << "never stretched";
    EXPECT_EQ(app.frame.Landscape, c.logicalW >= c.logicalH);
  }
  Render(0, 0);
  EXPECT_FLOAT_EQ(app.frame.ScreenWidth, 720) << "a device without area keeps the last fit";
}

TEST_F(DrawListTest, TheBarsAreBlackAndDrawingStaysInsideTheArea) {
  Render(2000, 500);
  app.frame.CLS2D(0, 0, 80, 1);
  app.frame.Rect(0, 0, app.frame.ScreenWidth, app.frame.ScreenHeight);
  recorder.calls.clear();
  recorder.scissors.clear();
  Render(2000, 500);
  const std::vector<Call> expected = {{'R', -1, -1, 2002, 502},  // black, all over
                                      {'R', -1, -1, 2002, 502},  // the clear, cut to the area
                                      {'R', 500, 0, 1000, 500}};
  EXPECT_EQ(recorder.calls, expected);
  EXPECT_EQ(recorder.scissors.back(), (std::array{500, 0, 1000, 500}));

  // The pointer is read inside the area: its centre is the logical screen's.
  game.MouseMove(1000, 250);
  game.Step();
  EXPECT_EQ(app.controls.PointerX, 360);
  EXPECT_EQ(app.controls.PointerY, 180);
}

// A scaled screen: the window is 640 x 480 in screen coordinates and its framebuffer 1280 x 960.
// The game draws at the framebuffer's size with the denser images, over the same logical
// screen, and the mouse (given in screen coordinates) lands on the same game point.
TEST_F(DrawListTest, AScaledScreenDrawsAtFramebufferResolution) {
  constexpr int kWindowW = 640, kWindowH = 480, kScale = 2;
  Render(kWindowW * kScale, kWindowH * kScale);
  app.frame.ChooseImageLevel();
  EXPECT_EQ(app.frame.ImageLevel, 4) << "the density follows the framebuffer, not the window";
  game.MouseMove(static_cast<float>(glfw2::ToPixels(320, kWindowW, kWindowW * kScale)),
                 static_cast<float>(glfw2::ToPixels(120.5, kWindowH, kWindowH * kScale)));
  game.Step();
  EXPECT_EQ(app.controls.PointerX, 360);
  EXPECT_EQ(app.controls.PointerY, 135);
  EXPECT_EQ(glfw2::ToPixels(99.9, 0, 0), 99) << "no window: unchanged";
}

TEST_F(DrawListTest, ADeviceChangeAsksForAReloadOnce) {
  Render(800, 600);
  app.frame.LoadStep = 0;
  Render(800, 600);
  EXPECT_EQ(app.frame.LoadStep, 0);
  Render(1024, 600);
  EXPECT_EQ(app.frame.LoadStep, 1);
  EXPECT_EQ(app.frame.LastDevWidth, 1024);
}

TEST_F(DrawListTest, ReplayClearsTheDeviceAndScalesShapesToIt) {
  app.frame.Overscan = 10;
  app.frame.CLS2D(10, 20, 30, 0.75f);
  app.frame.Rect(10, 20, 30, 40);
  app.frame.Oval(100, 100, 20, 10);
  app.frame.Line(0, 0, 720, 540);
  app.frame.SetCol(1, 2, 3, 0.5f);
  app.frame.Rect(0, 0, 1, 1);
  Render(1460, 1100);  // scale 2 after the borders
  app.frame.Overscan = 0;

  const float top = 10.0f * 1100 / 1460;
  const std::vector<Call> expected = {{'R', -1, -1, 1462, 1102},
                                      {'R', 30, 40 + top, 60, 80},
                                      {'O', 170, 180 + top, 80, 40},
                                      {'L', 10, top, 1450, 1080 + top},
                                      {'R', 10, top, 2, 2}};
  EXPECT_EQ(recorder.calls, expected);
  EXPECT_EQ(recorder.alphas.at(1), 0.75f) << "the clear's alpha";
  EXPECT_EQ(recorder.color, (std::array<float, 3>{1, 2, 3}));
  EXPECT_EQ(recorder.alphas.back(), 0.5f);
  EXPECT_EQ(recorder.blends, 1) << "alpha blending is set once per frame, not per record";
}

TEST_F(DrawListTest, ReplayTurnsAndScalesImagesAboutTheirHandle) {
  LoadSprite();
  app.frame.ImageScale = 0.5f;
  app.frame.SetRot(30);
  app.frame.SetSize(2);
  app.frame.DrawImg(kSpriteSlot, 100, 50, 1);
  app.frame.DrawImg(kSpriteSlot + 1, 0, 0, 0);    // an empty slot
  app.frame.DrawImg(kSpriteSlot, 0, 0, 2);        // no such frame
  app.frame.DrawList[app.frame.DrawCount] = 250;  // no such slot
  app.frame.DrawCount += 15;
  Render(1440, 1080);

  // The handle (8, 8) lands on the position; the quad's origin sits 8 x 8 back along the
  // turned axes, scaled by 2 (size) x 2 (device) x 0.5 (image density).
  const float angle = -30 * 0.017453292f;
  const float ix = std::cos(angle);
  const float iy = -std::sin(angle);
  ASSERT_EQ(recorder.calls.size(), 2u);
  EXPECT_EQ(recorder.calls[1], Call('S', 200 + (ix - iy) * -16, 100 + (iy + ix) * -16, -30, 2))
      << "the record's rotation reaches DrawImage2";
}

}  // namespace
