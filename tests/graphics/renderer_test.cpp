// Batching, colour packing and transforms of the renderer, checked against a fake OpenGL.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include "fake_gl.h"
#include "graphics/renderer.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

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

TEST_F(RendererTest, ClsDropsPendingPrimitivesAndTheScissorCountsYFromTheTop) {
  graphics.DrawRect(0, 0, 10, 10);
  graphics.Cls(255, 0, 51);
  graphics.EndRender();
  EXPECT_TRUE(gl.draws.empty());
  EXPECT_EQ(gl.clears, (std::vector<std::array<float, 3>>{{1.0f, 0.0f, 0.2f}}));
  graphics.SetScissor(0, 0, 320, 240);  // the whole window: the test is off
  graphics.SetScissor(10, 20, 30, 40);
  EXPECT_EQ(gl.scissors, (std::vector<ScissorCall>{{}, {true, 10, 240 - 20 - 40, 30, 40}}));
}

TEST(ColorPacking, PremultipliesAndHoldsChannelsToAByte) {
  const uint32_t packed = PackColor(255, 128, 0, 0.5f);
  std::array<unsigned char, 4> bytes;
  std::memcpy(bytes.data(), &packed, 4);
  EXPECT_EQ(bytes, (std::array<unsigned char, 4>{127, 64, 0, 127}));
  EXPECT_EQ(PackColor(300, -5, kNaN, 1), 0xFF0000FFu);
}

TEST(OvalSegments, FollowTheRadiiWithinTheLimits) {
  const struct {
    float rx, ry;
    bool transformed;
    float ix, iy, jx, jy;
    int segments;
  } rows[] = {
      {3, 3, false, 1, 0, 0, 1, 12},          {2000, 2000, false, 1, 0, 0, 1, 1024},
      {15, 15, true, 0, 2, -2, 0, 60},        {kNaN, 1, false, 1, 0, 0, 1, 12},
      {1e30f, 1, true, 1e30f, 0, 0, 1, 1024},
  };
  for (const auto& r : rows)
    EXPECT_EQ(OvalSegments(r.rx, r.ry, r.transformed, r.ix, r.iy, r.jx, r.jy), r.segments) << r.rx;
}

TEST_F(RendererTest, TheMatrixIsAppliedOnThePointsUnlessItIsTheIdentity) {
  graphics.SetMatrix(0, 1, -1, 0, 100, 50);  // a quarter turn, then a shift
  graphics.DrawLine(10, 0, 0, 20);
  EXPECT_EQ(VertexValues(graphics, 0, 2), (std::vector<float>{100, 60, 0, 0, 80, 50, 0, 0}));
  graphics.SetMatrix(1, 0, 0, 1, 0, 0);
  EXPECT_FALSE(graphics.transformed);
  graphics.SetMatrix(1, 0, 0, 1, 0, kNaN);
  EXPECT_TRUE(graphics.transformed);
}

TEST_F(RendererTest, ReadPixelsFlushesGivesTheTopRowFirstAndIgnoresTooSmallAnArray) {
  graphics.DrawRect(0, 0, 1, 1);
  std::vector<int> pixels(2 + 3 * 5, -1);
  graphics.ReadPixels(pixels, 4, 10, 4, 3, 2, 5);
  EXPECT_EQ(gl.draws.size(), 1u) << "reading flushes first";
  EXPECT_EQ(gl.readY, 240 - 10 - 3);
  // From offset 2, rows of 4 at a pitch of 5; GL row r, column c reads r << 16 | c.
  const int r2 = 2 << 16, r1 = 1 << 16;
  EXPECT_EQ(pixels, (std::vector<int>{-1, -1, r2, r2 | 1, r2 | 2, r2 | 3, -1, r1, r1 | 1, r1 | 2,
                                      r1 | 3, -1, 0, 1, 2, 3, -1}));
  const std::vector<int> before = pixels;
  graphics.ReadPixels(pixels, 0, 0, 4, 4, 2, 5);
  graphics.ReadPixels(pixels, 0, 0, 2, 2, -1, 2);
  EXPECT_EQ(pixels, before);
}

}  // namespace
