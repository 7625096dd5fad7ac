// Batching, colour packing and transforms of the renderer, checked against a fake OpenGL.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
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

  std::vector<float> Vertices(int first, int end) const {
    return VertexValues(graphics, first, end);
  }

  FakeGl gl;
  gxtkGraphics graphics{320, 240};
};

TEST_F(RendererTest, ThreeHundredRectanglesMakeTwoQuadDraws) {
  for (int i = 0; i < 300; ++i) graphics.DrawRect(i, 0, 1, 1);
  graphics.EndRender();

  EXPECT_EQ(gl.draws, (std::vector<DrawCall>{{GL_TRIANGLES, 0, 256 * 6, true},
                                             {GL_TRIANGLES, 0, 44 * 6, true}}));
  EXPECT_EQ(graphics.lastFrameStats.drawCalls, 2);
  EXPECT_EQ(graphics.lastFrameStats.flushes, 2);
}

TEST_F(RendererTest, FourPointPolygonsBatchWithRectanglesEmptyOrHugeOnesAreNotDrawn) {
  graphics.DrawRect(0, 0, 5, 5);
  graphics.DrawPoly({});
  graphics.DrawPoly(std::vector<float>(2 * 1025, 1.0f));
  graphics.DrawPoly(std::vector<float>{0, 0, 10, 0, 10, 10, 0, 10});
  graphics.DrawRect(5, 5, 5, 5);
  EXPECT_EQ(graphics.batchCount, 12);
  graphics.EndRender();
  EXPECT_EQ(gl.draws, (std::vector<DrawCall>{{GL_TRIANGLES, 0, 18, true}}));
  graphics.BeginRender();
  graphics.DrawPoly(std::vector<float>(2 * 1024, 1.0f));
  EXPECT_EQ(graphics.batchCount, 1024);
}

TEST_F(RendererTest, ChangingSurfaceFlushesButTheSameSurfaceBatches) {
  gxtkSurface first;
  gxtkSurface second;
  first.SetData(nullptr, 8, 8, 4);
  second.SetData(nullptr, 8, 8, 4);
  for (int i = 0; i < 4; ++i) graphics.DrawSurface(i % 2 ? &second : &first, 0, 0);
  EXPECT_EQ(graphics.stats.flushes, 3);
  graphics.EndRender();
  ASSERT_EQ(gl.draws.size(), 4u);
  EXPECT_TRUE(gl.draws[0].texturing);
  EXPECT_NE(gl.draws[0].texture, gl.draws[1].texture);
  EXPECT_FALSE(gl.texturing) << "texturing is switched off after a textured batch";

  gl.draws.clear();
  graphics.BeginRender();
  for (int i = 0; i < 4; ++i) graphics.DrawSurface(&first, i, 0);
  graphics.EndRender();
  ASSERT_EQ(gl.draws.size(), 1u);
  EXPECT_EQ(gl.draws[0].count, 24);
}

TEST_F(RendererTest, StateSettersOtherThanBlendAndScissorKeepTheBatch) {
  graphics.DrawRect(0, 0, 1, 1);
  graphics.SetColor(10, 20, 30);
  graphics.SetAlpha(0.5f);
  graphics.SetMatrix(2, 0, 0, 2, 5, 5);
  graphics.DrawRect(0, 0, 1, 1);
  EXPECT_EQ(graphics.stats.flushes, 0);

  graphics.SetBlend(kBlendAlpha);
  graphics.DrawRect(0, 0, 1, 1);
  graphics.SetBlend(kBlendAlpha);
  EXPECT_EQ(graphics.stats.flushes, 2) << "the same blend mode still flushes";
  graphics.DrawRect(0, 0, 1, 1);
  graphics.SetScissor(1, 2, 3, 4);
  EXPECT_EQ(graphics.stats.flushes, 3);
}

TEST_F(RendererTest, ClsDropsPendingPrimitives) {
  graphics.DrawRect(0, 0, 10, 10);
  graphics.Cls(255, 0, 51);
  graphics.EndRender();
  EXPECT_TRUE(gl.draws.empty());
  ASSERT_EQ(gl.clears.size(), 1u);
  EXPECT_FLOAT_EQ(gl.clears[0][0], 1.0f);
  EXPECT_FLOAT_EQ(gl.clears[0][2], 0.2f);
}

TEST_F(RendererTest, WholeWindowScissorSwitchesTheTestOffOthersFlipY) {
  graphics.SetScissor(0, 0, 320, 240);
  graphics.SetScissor(10, 20, 30, 40);
  EXPECT_EQ(gl.scissors, (std::vector<ScissorCall>{{}, {true, 10, 240 - 20 - 40, 30, 40}}));
}

TEST(ColorPacking, PremultipliesByAlphaWithBytesInRgbaOrder) {
  const uint32_t packed = PackColor(255, 128, 0, 0.5f);
  std::array<unsigned char, 4> bytes;
  std::memcpy(bytes.data(), &packed, 4);
  EXPECT_EQ(bytes, (std::array<unsigned char, 4>{127, 64, 0, 127}));
  EXPECT_EQ(PackColor(255, 255, 255, 1), 0xFFFFFFFFu);
  EXPECT_EQ(PackColor(300, -5, std::numeric_limits<float>::quiet_NaN(), 1), 0xFF0000FFu)
      << "out-of-range channels are held to a byte";
}

TEST(OvalSegments, FollowTheRadiiWithinTheLimits) {
  EXPECT_EQ(OvalSegments(3, 3, false, 1, 0, 0, 1), 12);
  EXPECT_EQ(OvalSegments(2000, 2000, false, 1, 0, 0, 1), 1024);
  EXPECT_EQ(OvalSegments(15, 15, true, 0, 2, -2, 0), 60) << "a rotation keeps the radii";
  EXPECT_EQ(OvalSegments(std::numeric_limits<float>::quiet_NaN(), 1, false, 1, 0, 0, 1), 12);
  EXPECT_EQ(OvalSegments(1e30f, 1, true, 1e30f, 0, 0, 1), 1024);
}

TEST_F(RendererTest, OvalPointsRunCounterClockwiseFromTheRight) {
  graphics.DrawOval(10, 20, 30, 30);
  ASSERT_EQ(graphics.batchKind, 28);
  ASSERT_EQ(graphics.batchCount, 28);
  EXPECT_EQ(Vertices(0, 1), (std::vector<float>{40, 35, 0, 0}));
  // A quarter turn on: the top.
  EXPECT_NEAR(graphics.vertexBuffer[7].x, 25, 1e-4);
  EXPECT_NEAR(graphics.vertexBuffer[7].y, 20, 1e-4);
}

TEST_F(RendererTest, OvalsAndPolygonsOfOneVertexCountAreSeparateFansOfOneBatch) {
  std::vector<float> polygon;
  for (int i = 0; i < 28; ++i) polygon.insert(polygon.end(), {float(i), float(i % 3)});
  graphics.DrawOval(0, 0, 30, 30);
  graphics.DrawOval(50, 50, 30, 30);
  graphics.DrawPoly(polygon);
  graphics.EndRender();
  EXPECT_EQ(gl.draws,
            (std::vector<DrawCall>{
                {GL_TRIANGLE_FAN, 0, 28}, {GL_TRIANGLE_FAN, 28, 28}, {GL_TRIANGLE_FAN, 56, 28}}));
  EXPECT_EQ(graphics.lastFrameStats.flushes, 1);
}

TEST_F(RendererTest, TheMatrixIsAppliedOnThePointsUnlessItIsTheIdentity) {
  graphics.SetMatrix(0, 1, -1, 0, 100, 50);  // a quarter turn, then a shift
  EXPECT_TRUE(graphics.transformed);
  graphics.DrawLine(10, 0, 0, 20);
  EXPECT_EQ(Vertices(0, 2), (std::vector<float>{100, 60, 0, 0, 80, 50, 0, 0}));

  graphics.SetMatrix(1, 0, 0, 1, 0, 0);
  EXPECT_FALSE(graphics.transformed);
  graphics.SetMatrix(1, 0, 0, 1, 0, std::numeric_limits<float>::quiet_NaN());
  EXPECT_TRUE(graphics.transformed);
}

TEST_F(RendererTest, SurfaceQuadsAddressTheirTexelsThroughTheScale) {
  gxtkSurface surface;
  surface.SetData(nullptr, 64, 32, 4);
  surface.uscale = 1.0f / 64;
  surface.vscale = 1.0f / 32;
  graphics.DrawSurface2(&surface, 5, 6, 16, 8, 16, 8);
  EXPECT_EQ(Vertices(0, 4), (std::vector<float>{5, 6, 0.25f, 0.25f, 21, 6, 0.5f, 0.25f, 21, 14,
                                                0.5f, 0.5f, 5, 14, 0.25f, 0.5f}));
  graphics.DrawSurface(&surface, 0, 0);
  EXPECT_EQ(Vertices(6, 7), (std::vector<float>{64, 32, 1, 1}));

  graphics.DrawPoly2(std::vector<float>{0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 8, 8}, &surface, 32, 16);
  EXPECT_EQ(graphics.batchKind, kBatchTriangles);
  EXPECT_EQ(Vertices(0, 3),
            (std::vector<float>{0, 0, 0.5f, 0.5f, 8, 0, 0.625f, 0.5f, 8, 8, 0.625f, 0.75f}));
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
