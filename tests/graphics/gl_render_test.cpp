// Pixels drawn by the renderer in a real window (Xvfb + Mesa) and read back.
#include <memory>
#include <ostream>
#include <vector>

#include "graphics/graphics.h"
#include "window_fixture.h"

namespace {

constexpr int kSize = 64;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << c.r << "," << c.g << "," << c.b;
  }
};

class GlRenderTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    if (Stopped()) return;
    glfw2::OpenWindowHint(glfw2::WINDOW_NO_RESIZE, 1);
    ASSERT_EQ(glfw2::OpenWindow(kSize, kSize, 8, 8, 8, 8, 0, 0, glfw2::WINDOW), 1);
    SetGraphicsDevice(&graphics);
    graphics.BeginRender();
    BeginRender();
  }
  void TearDown() override {
    if (ready) EndRender();
    SetGraphicsDevice(nullptr);
    WindowFixture::TearDown();
  }
  // The window is read in one call, top row first, and checked at the points given.
  void ExpectPixels(const std::vector<std::pair<std::pair<int, int>, Rgb>>& rows) {
    std::vector<int> pixels(kSize * kSize);
    graphics.ReadPixels(pixels, 0, 0, kSize, kSize, 0, kSize);
    for (const auto& [at, want] : rows) {
      const int pixel = pixels[at.second * kSize + at.first];
      const Rgb got{pixel >> 16 & 255, pixel >> 8 & 255, pixel & 255};
      const auto near = [](int a, int b) { return a >= b - 1 && a <= b + 1; };
      EXPECT_TRUE(near(got.r, want.r) && near(got.g, want.g) && near(got.b, want.b))
          << "at " << at.first << "," << at.second << ": " << got << ", not " << want;
    }
  }

  gxtkGraphics graphics{kSize, kSize};
};

constexpr Rgb kBlack{0, 0, 0}, kGreen{0, 255, 0};

TEST_F(GlRenderTest, BlendModesMixWithTheBackground) {
  const struct {
    int blend;
    float alpha;
    Rgb background, colour, seen;
  } rows[] = {
      // Source 127 premultiplied, destination kept by 1 - 127/255.
      {kBlendAlpha, 0.5f, {0, 0, 255}, {255, 0, 0}, {127, 0, 128}},
      {kBlendAdditive, 1, {100, 0, 0}, {100, 50, 0}, {200, 50, 0}},
  };
  for (const auto& row : rows) {
    graphics.Cls(row.background.r, row.background.g, row.background.b);
    SetBlend(row.blend);
    SetColor(row.colour.r, row.colour.g, row.colour.b);
    SetAlpha(row.alpha);
    DrawRect(0, 0, 16, 16);
    ExpectPixels({{{8, 8}, row.seen}});
  }
}

TEST_F(GlRenderTest, ScissorLimitsClearsAndDrawingWithYFromTheTop) {
  graphics.Cls(0, 0, 0);
  SetScissor(10, 4, 20, 6);
  graphics.Cls(255, 255, 255);
  SetColor(0, 255, 0);
  DrawRect(0, 0, kSize, kSize);
  SetScissor(0, 0, kSize, kSize);
  ExpectPixels({{{10, 4}, kGreen},
                {{29, 9}, kGreen},
                {{30, 9}, kBlack},
                {{10, 10}, kBlack},
                {{10, 3}, kBlack}});
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
  ExpectPixels({{{9, 9}, {255, 0, 0}},
                {{13, 9}, kGreen},
                {{9, 13}, {0, 0, 255}},
                {{13, 13}, {128, 128, 128}},  // half-transparent white over black
                {{16, 16}, kBlack}});
}

}  // namespace
