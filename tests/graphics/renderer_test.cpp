// Batching in the renderer, checked against a fake OpenGL; what is drawn is seen in the GL tests.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "fake_gl.h"
#include "graphics/renderer.h"

namespace {

class RendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    graphics.BeginRender();
    graphics.SetColor(255, 255, 255);
    graphics.SetAlpha(1);
  }
  FakeGl gl;
  gxtkGraphics graphics{320, 240};
};

TEST_F(RendererTest, BatchesHoldAtMost256QuadsAndEmptyOrHugePolygonsAreNotDrawn) {
  for (int i = 0; i < 300; ++i) graphics.DrawRect(i, 0, 1, 1);
  graphics.DrawPoly({});
  graphics.DrawPoly(std::vector<float>(2 * 1025, 1.0f));
  graphics.EndRender();
  EXPECT_EQ(gl.draws,
            (std::vector<DrawCall>{{GL_TRIANGLES, 256 * 6, true}, {GL_TRIANGLES, 44 * 6, true}}));
  graphics.BeginRender();
  graphics.DrawPoly(std::vector<float>(2 * 1024, 1.0f));
  EXPECT_EQ(graphics.batchCount, 1024);
}

// Colour, alpha and the matrix keep a batch; a blend (even the same), a scissor or another
// surface end it, and texturing is off again after a textured batch.
TEST_F(RendererTest, OnlyANewSurfaceABlendOrAScissorFlushesTheBatch) {
  gxtkSurface first, second;
  first.SetData(nullptr, 8, 8, 4);
  second.SetData(nullptr, 8, 8, 4);
  const std::pair<std::function<void()>, int> rows[] = {
      {[&] {
         graphics.SetColor(10, 20, 30);
         graphics.SetAlpha(0.5f);
         graphics.SetMatrix(2, 0, 0, 2, 5, 5);
       },
       0},
      {[&] { graphics.SetBlend(kBlendAlpha); }, 1},
      {[&] { graphics.SetScissor(1, 2, 3, 4); }, 1},
      {[&] { graphics.DrawSurface(&second, 0, 0); }, 1},
  };
  for (const auto& [change, flushes] : rows) {
    graphics.DrawSurface(&first, 0, 0);
    const int before = graphics.stats.flushes;
    change();
    EXPECT_EQ(graphics.stats.flushes - before, flushes) << &change - &rows[0].first;
  }
  graphics.EndRender();
  EXPECT_TRUE(gl.draws.back().texturing);
  EXPECT_FALSE(gl.texturing);
}

}  // namespace
