// Pixels drawn by the renderer in a real window (Xvfb + Mesa) and read back.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "graphics/graphics.h"
#include "window_fixture.h"

namespace {

constexpr int kSize = 64;

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
  // The window is read in one call, top row first; each point's 0xRRGGBB within 1 a channel.
  void ExpectPixels(const std::vector<std::pair<std::pair<int, int>, int>>& rows) {
    std::vector<int> pixels(kSize * kSize);
    graphics.ReadPixels(pixels, 0, 0, kSize, kSize, 0, kSize);
    for (const auto& [at, want] : rows) {
      const int got = pixels[at.second * kSize + at.first] & 0xFFFFFF;
      bool near = true;
      for (int shift : {0, 8, 16})
        near &= std::abs((got >> shift & 255) - (want >> shift & 255)) <= 1;
      char told[64];
      std::snprintf(told, sizeof told, "at %d,%d: %06x, not %06x", at.first, at.second, got, want);
      EXPECT_TRUE(near) << told;
    }
  }

  gxtkGraphics graphics{kSize, kSize};
};

TEST_F(GlRenderTest, BlendModesMixWithTheBackground) {
  const struct {
    int blend;
    float alpha;
    int background[3], colour[3], seen;
  } rows[] = {
      // Source 127 premultiplied, destination kept by 1 - 127/255.
      {kBlendAlpha, 0.5f, {0, 0, 255}, {255, 0, 0}, 0x7F0080},
      {kBlendAdditive, 1, {100, 0, 0}, {100, 50, 0}, 0xC83200},
  };
  for (const auto& row : rows) {
    graphics.Cls(row.background[0], row.background[1], row.background[2]);
    SetBlend(row.blend);
    SetColor(row.colour[0], row.colour[1], row.colour[2]);
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
  ExpectPixels(
      {{{10, 4}, 0x00FF00}, {{29, 9}, 0x00FF00}, {{30, 9}, 0}, {{10, 10}, 0}, {{10, 3}, 0}});
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
  // The last texel is half-transparent white over black.
  ExpectPixels({{{9, 9}, 0xFF0000},
                {{13, 9}, 0x00FF00},
                {{9, 13}, 0x0000FF},
                {{13, 13}, 0x808080},
                {{16, 16}, 0}});
}

}  // namespace
