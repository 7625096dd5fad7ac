// The draw list: records and draw state, text layout, the screen fit and the replay through
// the graphics module, run without a window.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "game/globals.h"
#include "graphics/graphics.h"
#include "headless_game.h"

namespace {

constexpr int kFontSlot = 90;
constexpr int kSpriteSlot = 5;

// A renderer that writes down what the module asks of it instead of drawing.
class RecordingGraphics : public gxtkGraphics {
 public:
  struct Call {
    char what;  // R rect, O oval, L line, S surface, M matrix
    float a, b, c, d;
  };

  RecordingGraphics() : gxtkGraphics(1280, 720) {}
  int BeginRender() override { return 1; }
  void EndRender() override {}
  void SetBlend(int) override { ++blends; }
  void SetScissor(int, int, int, int) override {}
  void SetColor(float r, float g, float b) override { color = {r, g, b}; }
  void SetAlpha(float a) override { alphas.push_back(a); }
  void DrawRect(float x, float y, float w, float h) override { calls.push_back({'R', x, y, w, h}); }
  void DrawOval(float x, float y, float w, float h) override { calls.push_back({'O', x, y, w, h}); }
  void DrawLine(float x1, float y1, float x2, float y2) override {
    calls.push_back({'L', x1, y1, x2, y2});
  }
  void DrawSurface(gxtkSurface*, float x, float y) override { Surface(x, y); }
  void DrawSurface2(gxtkSurface*, float x, float y, int, int, int, int) override { Surface(x, y); }

  // Records where the quad's origin lands and the matrix's linear part as angle and scale.
  void Surface(float x, float y) {
    calls.push_back({'S', ix * x + jx * y + tx, iy * x + jy * y + ty,
                     std::atan2(-iy, ix) * 57.29578f, std::hypot(ix, iy)});
  }

  std::vector<Call> calls;
  std::vector<float> alphas;
  std::array<float, 3> color{};
  int blends = 0;
};

class DrawListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.FontImage = kFontSlot;
    app.ImageInfo[kFontSlot * 3] = 7;
    app.ImageInfo[kFontSlot * 3 + 1] = 10;
    app.CLS2D(0, 0, 0, 1);
  }
  void TearDown() override {
    SetGraphicsDevice(_delegate->_graphics);
    if (sprite) app.Images[kSpriteSlot] = nullptr;
  }

  void Render(int width, int height) {
    _devWidth = width;
    _devHeight = height;
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
    app.Images[kSpriteSlot] = sprite.get();
  }

  const float* Record(int index) const { return &app.DrawList[static_cast<size_t>(index) * 15]; }
  int Records() const { return app.DrawCount / 15; }

  HeadlessGame game;
  MyApp& app = game.app();
  RecordingGraphics recorder;
  std::unique_ptr<Image> sprite;
};

TEST_F(DrawListTest, RecordsCarryTheDrawStateInTheirSlots) {
  app.SetSize(2, kNoArg);
  app.SetCol(10, 20, 30, kNoArg);
  app.SetRot(30);
  app.DrawList[8] = 123;
  app.DrawImg(4, 100, 50, 3);
  app.Alpha(0.5f);
  app.Rect(1, 2, 3, 4);
  app.Oval(5, 6, 7, 8);
  app.Line(9, 10, 11, 12);

  ASSERT_EQ(Records(), 4);
  const float* image = Record(0);
  EXPECT_EQ(std::vector<float>(image, image + 8),
            (std::vector<float>{4, 100, 50, -30, 2, 2, 3, 1}));
  EXPECT_EQ(std::vector<float>(image + 10, image + 14), (std::vector<float>{10, 20, 30, 1}));
  EXPECT_EQ(image[8], 123) << "unused slots keep what was there";
  EXPECT_EQ(std::vector<float>(Record(1), Record(1) + 8),
            (std::vector<float>{-3717, 1, 2, -30, 3, 4, 0, 0.5f}));
  EXPECT_EQ(Record(2)[0], -3716);
  EXPECT_EQ(Record(2)[5], 8);
  EXPECT_EQ(Record(3)[0], -3715);
  EXPECT_EQ(Record(3)[4], 11);
}

TEST_F(DrawListTest, OmittedArgumentsKeepOrCopyValues) {
  app.SetSize(3, 4);
  EXPECT_EQ(app.DrawSizeY, 4);
  app.SetCol(1, 2, 3, 0.25f);
  app.SetCol(4, 5, 6);
  EXPECT_EQ(app.DrawAlpha, 0.25f);
  EXPECT_EQ(app.DrawBlue, 6);

  app.Rect(0, 0, 1, 1);
  app.CLS2D();
  EXPECT_EQ(app.DrawCount, 0);
  EXPECT_EQ(app.ClearAlpha, 1) << "the clear colour stays when none is given";
  EXPECT_EQ(app.DrawSizeX, 1);
  EXPECT_EQ(app.DrawAlpha, 1);
  EXPECT_EQ(app.DrawBlend, 1);
  app.CLS2D(10, 20, 30, 0.5f);
  EXPECT_EQ(app.ClearGreen, 20);
  EXPECT_EQ(app.ClearAlpha, 0.5f);
}

TEST_F(DrawListTest, AFullListDropsFurtherRecords) {
  app.DrawCount = 37470;
  app.Rect(0, 0, 1, 1);
  EXPECT_EQ(app.DrawCount, 37485);
  EXPECT_EQ(app.DrawList[37470], -3717);
  app.Rect(0, 0, 1, 1);
  app.Text(0, 0, "abc");
  EXPECT_EQ(app.DrawCount, 37485);
}

TEST_F(DrawListTest, CentredTextStartsHalfItsWidthLeft) {
  app.Text(100, 50, "ab", 1, 1);
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(Record(0)[0], kFontSlot);
  EXPECT_EQ(Record(0)[6], 'a' - 32);
  EXPECT_NEAR(Record(0)[1], 100, 1e-4);
  EXPECT_NEAR(Record(0)[2], 50, 1e-4);
  EXPECT_NEAR(Record(1)[1], 107, 1e-4);
}

TEST_F(DrawListTest, TopAlignedTextSitsHalfALineLower) {
  app.SetSize(2);
  app.Text(0, 0, "x", 0, 0, 1);
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Record(0)[0], kFontSlot + 1);
  EXPECT_NEAR(Record(0)[1], 14, 1e-4);
  EXPECT_NEAR(Record(0)[2], 10, 1e-4);
}

TEST_F(DrawListTest, NarrowAndWideLettersAdvanceByTheirOwnWidths) {
  app.Text(0, 0, "iwMnq");
  ASSERT_EQ(Records(), 5);
  const float expected[] = {7, 7 + 4, 7 + 4 + 9, 7 + 4 + 9 + 8, 7 + 4 + 9 + 8 + 6};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(Record(i)[1], expected[i], 1e-4) << i;
}

TEST_F(DrawListTest, BackslashNStartsALineOneCellInAndNewlineCodesAreBlank) {
  app.Text(0, 0, "ab\\ncd\nx", 0, 1);
  ASSERT_EQ(Records(), 5);
  EXPECT_NEAR(Record(2)[1], 7, 1e-4) << "c starts one cell in";
  EXPECT_NEAR(Record(2)[2], 10, 1e-4);
  EXPECT_NEAR(Record(3)[1], 14, 1e-4);
  EXPECT_NEAR(Record(4)[1], 28, 1e-4) << "the newline code advances by a cell";
}

TEST_F(DrawListTest, ButtonMarksDrawControllerOrKeyboardGlyphs) {
  app.ControlStyle = 1;
  app.Text(0, 0, "\u00ACKa\u00ACO");
  ASSERT_EQ(Records(), 3);
  EXPECT_EQ(Record(0)[6], 97);
  EXPECT_NEAR(Record(1)[1], 7 + 11, 1e-4) << "a button glyph is wider";
  EXPECT_EQ(Record(2)[6], 101);

  app.CLS2D();
  app.ControlStyle = 0;
  app.Text(0, 0, "\u00ACJ");
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(Record(0)[6], 96 + 16);
}

TEST_F(DrawListTest, AButtonMarkAtTheEndDrawsNothing) {
  app.Text(0, 0, "a\u00AC", 1);
  ASSERT_EQ(Records(), 1);
  EXPECT_NEAR(Record(0)[1], -7 + 7, 1e-4) << "the trailing mark is not measured";
}

TEST_F(DrawListTest, RotatedTextRunsAlongItsAngle) {
  app.SetRot(90);
  app.Text(0, 0, "ab", 0, 1);
  ASSERT_EQ(Records(), 2);
  // SetRot(90) turns clockwise: the text runs down the screen.
  EXPECT_NEAR(Record(0)[1], 0, 1e-4);
  EXPECT_NEAR(Record(0)[2], 7, 1e-4);
  EXPECT_NEAR(Record(1)[2], 14, 1e-4);
}

TEST_F(DrawListTest, RstrRightAlignsInAFixedWidth) {
  EXPECT_EQ(app.rstr(42, 5, "0"), String("00042"));
  EXPECT_EQ(app.rstr(123456, 3, " "), String("456"));
  EXPECT_EQ(app.rstr(7, 3, "ab"), String("ab7"));
  EXPECT_EQ(app.rstr(7, 0, "0"), String(""));
}

TEST_F(DrawListTest, WideAndTallDevicesFitTheDesignSize) {
  Render(1280, 720);
  EXPECT_EQ(app.FitMode, 1);
  EXPECT_FLOAT_EQ(app.ScaleX, 1280.0f / 720);
  EXPECT_FLOAT_EQ(app.ScaleY, app.ScaleX);
  EXPECT_FLOAT_EQ(jscrw, 720);
  EXPECT_FLOAT_EQ(jscrh, 405);
  EXPECT_EQ(app.Landscape, 1);

  Render(540, 960);
  EXPECT_EQ(app.FitMode, 2);
  EXPECT_FLOAT_EQ(app.ScaleX, 960.0f / 810);
  EXPECT_FLOAT_EQ(jscrh, 810);
  EXPECT_FLOAT_EQ(jscrw, 455.625f);
  EXPECT_EQ(app.Landscape, 0);

  Render(0, 0);
  EXPECT_FLOAT_EQ(jscrw, 455.625f) << "a device without area keeps the last fit";
}

TEST_F(DrawListTest, ADeviceChangeAsksForAReloadOnce) {
  Render(800, 600);
  app.LoadStep = 0;
  Render(800, 600);
  EXPECT_EQ(app.LoadStep, 0);
  Render(1024, 600);
  EXPECT_EQ(app.LoadStep, 1);
  EXPECT_EQ(app.LastDevWidth, 1024);
}

TEST_F(DrawListTest, ClearCoversTheDeviceInTheClearColour) {
  app.CLS2D(10, 20, 30, 0.75f);
  Render(800, 600);
  ASSERT_GE(recorder.calls.size(), 1u);
  const auto& clear = recorder.calls[0];
  EXPECT_EQ(clear.what, 'R');
  EXPECT_EQ(clear.a, -1);
  EXPECT_EQ(clear.c, 802);
  EXPECT_EQ(clear.d, 602);
  EXPECT_EQ(recorder.alphas.at(1), 0.75f);
}

TEST_F(DrawListTest, ReplayScalesShapesToTheDevice) {
  overscan = 10;
  app.Rect(10, 20, 30, 40);
  app.Oval(100, 100, 20, 10);
  app.Line(0, 0, 720, 540);
  app.SetCol(1, 2, 3, 0.5f);
  app.Rect(0, 0, 1, 1);
  Render(1460, 1100);  // scale 2 after the borders
  overscan = 0;

  ASSERT_EQ(recorder.calls.size(), 5u);
  const float top = 10.0f * 1100 / 1460;
  const auto& rect = recorder.calls[1];
  EXPECT_FLOAT_EQ(rect.a, 30);
  EXPECT_FLOAT_EQ(rect.b, 40 + top);
  EXPECT_FLOAT_EQ(rect.c, 60);
  EXPECT_FLOAT_EQ(rect.d, 80);
  const auto& oval = recorder.calls[2];
  EXPECT_FLOAT_EQ(oval.a, 210 - 40);
  EXPECT_FLOAT_EQ(oval.c, 80);
  EXPECT_FLOAT_EQ(oval.d, 40);
  const auto& line = recorder.calls[3];
  EXPECT_FLOAT_EQ(line.c, 1450);
  EXPECT_FLOAT_EQ(line.d, 1080 + top);
  EXPECT_EQ(recorder.color, (std::array<float, 3>{1, 2, 3}));
  EXPECT_EQ(recorder.alphas.back(), 0.5f);
  EXPECT_EQ(recorder.blends, 1) << "alpha blending is set once per frame, not per record";
}

TEST_F(DrawListTest, ReplayTurnsAndScalesImagesAboutTheirHandle) {
  LoadSprite();
  app.ImageScale = 0.5f;
  app.SetRot(30);
  app.SetSize(2);
  app.DrawImg(kSpriteSlot, 100, 50, 1);
  app.DrawImg(kSpriteSlot + 1, 0, 0, 0);  // an empty slot
  app.DrawImg(kSpriteSlot, 0, 0, 2);      // no such frame
  app.DrawList[app.DrawCount] = 250;      // no such slot
  app.DrawCount += 15;
  Render(1440, 1080);

  ASSERT_EQ(recorder.calls.size(), 2u);
  const auto& image = recorder.calls[1];
  EXPECT_EQ(image.what, 'S');
  // The handle (8, 8) lands on the position; the quad's origin sits 8 x 8 back along the
  // turned axes, scaled by 2 (size) x 2 (device) x 0.5 (image density).
  const float angle = -30 * 0.017453292f;
  const float ix = std::cos(angle);
  const float iy = -std::sin(angle);
  const float jx = std::sin(angle);
  const float jy = std::cos(angle);
  EXPECT_NEAR(image.a, 200 + (ix + jx) * -16, 1e-3);
  EXPECT_NEAR(image.b, 100 + (iy + jy) * -16, 1e-3);
  EXPECT_NEAR(image.c, -30, 1e-3) << "the record's rotation reaches DrawImage2";
  EXPECT_NEAR(image.d, 2, 1e-5);
}

}  // namespace
