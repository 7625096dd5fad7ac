// Pixels drawn by the renderer in a real window (Xvfb + Mesa) and read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <vector>

#include "display_skip.h"
#include "graphics/graphics.h"
#include "host/glfw2.h"
#include "image_files.h"

namespace {

constexpr int kSize = 64;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << c.r << "," << c.g << "," << c.b;
  }
};

class GlRenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ready = getenv("DISPLAY") && glfw2::Init(); }
  static void TearDownTestSuite() {
    if (ready) glfw2::Terminate();
  }
  void SetUp() override {
    if (!ready) ZV_SKIP_DISPLAY_TEST("no X display");
    ASSERT_TRUE(OpenWindow());
    SetGraphicsDevice(&graphics);
    Begin();
  }
  void TearDown() override {
    if (!ready) return;
    EndRender();
    SetGraphicsDevice(nullptr);
    glfw2::CloseWindow();
  }

  static bool OpenWindow() {
    glfw2::OpenWindowHint(glfw2::WINDOW_NO_RESIZE, 1);
    return glfw2::OpenWindow(kSize, kSize, 8, 8, 8, 8, 0, 0, glfw2::WINDOW) == 1;
  }
  void Begin() {
    graphics.BeginRender();
    BeginRender();
  }
  // The pixels of a column from (x, y) down, as colours.
  std::vector<Rgb> Column(int x, int y, int height) {
    std::vector<int> pixels(height);
    graphics.ReadPixels(pixels, x, y, 1, height, 0, 1);
    std::vector<Rgb> colours;
    for (int pixel : pixels) colours.push_back({pixel >> 16 & 255, pixel >> 8 & 255, pixel & 255});
    return colours;
  }
  void ExpectPixel(int x, int y, Rgb want) {
    const Rgb got = Column(x, y, 1)[0];
    EXPECT_NEAR(got.r, want.r, 1) << "at " << x << "," << y;
    EXPECT_NEAR(got.g, want.g, 1) << "at " << x << "," << y;
    EXPECT_NEAR(got.b, want.b, 1) << "at " << x << "," << y;
  }

  static inline bool ready = false;
  gxtkGraphics graphics{kSize, kSize};
  TempImageDir dir;
};

TEST_F(GlRenderTest, FilledRectangleCoversExactlyItsPixelsReadTopRowFirst) {
  graphics.Cls(0, 0, 0);
  SetColor(200, 100, 50);
  DrawRect(10, 20, 8, 4);
  ExpectPixel(17, 23, {200, 100, 50});
  ExpectPixel(18, 23, {0, 0, 0});
  ExpectPixel(10, 24, {0, 0, 0});
  ExpectPixel(9, 19, {0, 0, 0});
  // Rows 18 to 23 in one read, the top one first.
  const Rgb black{0, 0, 0}, orange{200, 100, 50};
  EXPECT_EQ(Column(10, 18, 6), (std::vector<Rgb>{black, black, orange, orange, orange, orange}));
}

TEST_F(GlRenderTest, TranslucentColourBlendsOverTheBackground) {
  graphics.Cls(0, 0, 255);
  SetColor(255, 0, 0);
  SetAlpha(0.5f);
  DrawRect(0, 0, 16, 16);
  // Source 127 premultiplied, destination kept by 1 - 127/255.
  ExpectPixel(8, 8, {127, 0, 128});
}

TEST_F(GlRenderTest, AdditiveBlendAddsTheColours) {
  graphics.Cls(100, 0, 0);
  SetBlend(kBlendAdditive);
  SetColor(100, 50, 0);
  DrawRect(0, 0, 16, 16);
  ExpectPixel(8, 8, {200, 50, 0});
}

TEST_F(GlRenderTest, ScissorLimitsClearsAndDrawingWithYFromTheTop) {
  graphics.Cls(0, 0, 0);
  SetScissor(10, 4, 20, 6);
  graphics.Cls(255, 255, 255);
  SetColor(0, 255, 0);
  DrawRect(0, 0, kSize, kSize);
  SetScissor(0, 0, kSize, kSize);
  ExpectPixel(10, 4, {0, 255, 0});
  ExpectPixel(29, 9, {0, 255, 0});
  ExpectPixel(30, 9, {0, 0, 0});
  ExpectPixel(10, 10, {0, 0, 0});
  ExpectPixel(10, 3, {0, 0, 0});
}

TEST_F(GlRenderTest, TexturedQuadShowsItsTexels) {
  std::unique_ptr<gxtkSurface> surface = graphics.CreateSurface(2, 2);
  const std::vector<int> texels = {static_cast<int>(0xFFFF0000), static_cast<int>(0xFF00FF00),
                                   static_cast<int>(0xFF0000FF), static_cast<int>(0x80FFFFFF)};
  graphics.WritePixels2(surface.get(), texels, 0, 0, 2, 2, 0, 2);
  graphics.Cls(0, 0, 0);
  SetColor(255, 255, 255);
  SetMatrix(4, 0, 0, 4, 8, 8);  // each texel becomes 4 x 4 pixels
  GetGraphicsContext().Validate();
  graphics.DrawSurface(surface.get(), 0, 0);
  ExpectPixel(9, 9, {255, 0, 0});
  ExpectPixel(13, 9, {0, 255, 0});
  ExpectPixel(9, 13, {0, 0, 255});
  ExpectPixel(13, 13, {128, 128, 128});  // half-transparent white over black
  ExpectPixel(16, 16, {0, 0, 0});
}

TEST_F(GlRenderTest, RotatedImageTurnsAboutItsHandle) {
  // Left half red, right half green; the handle in the middle.
  std::vector<unsigned char> pixels;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const unsigned char red = x < 4 ? 255 : 0;
      pixels.insert(pixels.end(), {red, static_cast<unsigned char>(255 - red), 0, 255});
    }
  }
  const std::string path = dir.WritePng("halves.png", 8, 8, 4, pixels);
  std::unique_ptr<Image> image(LoadImage2(path.c_str(), 8, 8, 1, Image::HandleCentered));
  ASSERT_TRUE(image);
  graphics.Cls(0, 0, 0);
  DrawImage2(image.get(), 32, 32, 90, 2, 2, 0);
  // A quarter turn counter-clockwise takes the left half below the handle.
  ExpectPixel(32, 36, {255, 0, 0});
  ExpectPixel(32, 28, {0, 255, 0});
  ExpectPixel(39, 39, {255, 0, 0});
  ExpectPixel(32, 40, {0, 0, 0});
  ExpectPixel(23, 32, {0, 0, 0});
}

}  // namespace
