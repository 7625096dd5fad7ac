// Batching in the renderer, checked against a fake OpenGL; what is drawn is seen in the GL tests.
#include <gtest/gtest.h>

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
  graphics.EndRender();
  EXPECT_EQ(gl.draws, (std::vector<DrawCall>{{GL_TRIANGLES, 0, 256 * 6, true},
                                             {GL_TRIANGLES, 0, 44 * 6, true}}));
  gl.draws.clear();
  graphics.BeginRender();
  graphics.DrawRect(0, 0, 5, 5);
  graphics.DrawPoly({});
  graphics.DrawPoly(std::vector<float>(2 * 1025, 1.0f));
  graphics.DrawPoly(std::vector<float>{0, 0, 10, 0, 10, 10, 0, 10});  // a quad: same batch
  EXPECT_EQ(graphics.batchCount, 8);
  graphics.EndRender();
  EXPECT_EQ(gl.draws, (std::vector<DrawCall>{{GL_TRIANGLES, 0, 12, true}}));
  graphics.BeginRender();
  graphics.DrawPoly(std::vector<float>(2 * 1024, 1.0f));
  EXPECT_EQ(graphics.batchCount, 1024);
}

TEST_F(RendererTest, OnlyANewSurfaceABlendOrAScissorFlushesTheBatch) {
  gxtkSurface first, second;
  first.SetData(nullptr, 8, 8, 4);
  second.SetData(nullptr, 8, 8, 4);
  for (int i = 0; i < 4; ++i) graphics.DrawSurface(i % 2 ? &second : &first, 0, 0);
  EXPECT_EQ(graphics.stats.flushes, 3);
  graphics.EndRender();
  ASSERT_EQ(gl.draws.size(), 4u);
  EXPECT_TRUE(gl.draws[0].texturing);
  EXPECT_NE(gl.draws[0].texture, gl.draws[1].texture);
  EXPECT_FALSE(gl.texturing) << "texturing is switched off after a textured batch";

  graphics.BeginRender();
  for (int i = 0; i < 4; ++i) graphics.DrawSurface(&first, i, 0);
  graphics.DrawRect(0, 0, 1, 1);
  EXPECT_EQ(graphics.stats.flushes, 1) << "from texture to colour";
  graphics.SetColor(10, 20, 30);
  graphics.SetAlpha(0.5f);
  graphics.SetMatrix(2, 0, 0, 2, 5, 5);
  graphics.DrawRect(0, 0, 1, 1);
  EXPECT_EQ(graphics.stats.flushes, 1) << "colour, alpha and matrix keep the batch";
  graphics.SetBlend(kBlendAlpha);
  graphics.DrawRect(0, 0, 1, 1);
  graphics.SetBlend(kBlendAlpha);
  EXPECT_EQ(graphics.stats.flushes, 3) << "the same blend mode still flushes";
  graphics.DrawRect(0, 0, 1, 1);
  graphics.SetScissor(1, 2, 3, 4);
  EXPECT_EQ(graphics.stats.flushes, 4);
}

}  // namespace
