// Batching, colour packing and transforms of the renderer, checked against a fake OpenGL.
#include <gtest/gtest.h>

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

  FakeGl gl;
  gxtkGraphics graphics{320, 240};
};

std::vector<float> Square() {
  return {0, 0, 10, 0, 10, 10, 0, 10};
}

TEST_F(RendererTest, ThreeHundredRectanglesMakeTwoQuadDraws) {
  for (int i = 0; i < 300; ++i) graphics.DrawRect(i, 0, 1, 1);
  graphics.EndRender();

  ASSERT_EQ(gl.draws.size(), 2u);
  EXPECT_TRUE(gl.draws[0].elements);
  EXPECT_EQ(gl.draws[0].mode, static_cast<GLenum>(GL_TRIANGLES));
  EXPECT_EQ(gl.draws[0].count, 256 * 6);
  EXPECT_EQ(gl.draws[1].count, 44 * 6);
  EXPECT_EQ(graphics.lastFrameStats.drawCalls, 2);
  EXPECT_EQ(graphics.lastFrameStats.flushes, 2);
}

TEST_F(RendererTest, RectanglesAndFourPointPolygonsShareABatch) {
  const std::vector<float> square = Square();
  graphics.DrawRect(0, 0, 5, 5);
  graphics.DrawPoly(square);
  graphics.DrawRect(5, 5, 5, 5);
  EXPECT_EQ(graphics.batchCount, 12);
  graphics.EndRender();
  ASSERT_EQ(gl.draws.size(), 1u);
  EXPECT_EQ(gl.draws[0].count, 18);
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
  ASSERT_EQ(gl.scissors.size(), 2u);
  EXPECT_FALSE(gl.scissors[0].enabled);
  EXPECT_TRUE(gl.scissors[1].enabled);
  EXPECT_EQ(gl.scissors[1].x, 10);
  EXPECT_EQ(gl.scissors[1].y, 240 - 20 - 40);
  EXPECT_EQ(gl.scissors[1].width, 30);
  EXPECT_EQ(gl.scissors[1].height, 40);
}

TEST(ColorPacking, PremultipliesByAlphaWithBytesInRgbaOrder) {
  const uint32_t packed = PackColor(255, 128, 0, 0.5f);
  unsigned char bytes[4];
  std::memcpy(bytes, &packed, 4);
  EXPECT_EQ(bytes[0], 127);
  EXPECT_EQ(bytes[1], 64);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 127);
  EXPECT_EQ(PackColor(255, 255, 255, 1), 0xFFFFFFFFu);
  EXPECT_EQ(PackColor(300, -5, std::numeric_limits<float>::quiet_NaN(), 1), 0xFF0000FFu)
      << "out-of-range channels are held to a byte";
}

TEST(OvalSegments, FollowTheRadiiWithinTheLimits) {
  EXPECT_EQ(OvalSegments(3, 3, false, 1, 0, 0, 1), 12);
  EXPECT_EQ(OvalSegments(15, 15, false, 1, 0, 0, 1), 28);
  EXPECT_EQ(OvalSegments(2000, 2000, false, 1, 0, 0, 1), 1024);
  EXPECT_EQ(OvalSegments(-15, 15, false, 1, 0, 0, 1), 28);
  EXPECT_EQ(OvalSegments(15, 15, true, 2, 0, 0, 2), 60);
  EXPECT_EQ(OvalSegments(15, 15, true, 0, 2, -2, 0), 60) << "a rotation keeps the radii";
  EXPECT_EQ(OvalSegments(std::numeric_limits<float>::quiet_NaN(), 1, false, 1, 0, 0, 1), 12);
  EXPECT_EQ(OvalSegments(1e30f, 1, true, 1e30f, 0, 0, 1), 1024);
}

TEST_F(RendererTest, OvalPointsRunCounterClockwiseFromTheRight) {
  graphics.DrawOval(10, 20, 30, 30);
  ASSERT_EQ(graphics.batchKind, 28);
  ASSERT_EQ(graphics.batchCount, 28);
  EXPECT_FLOAT_EQ(graphics.vertexBuffer[0].x, 40);
  EXPECT_FLOAT_EQ(graphics.vertexBuffer[0].y, 35);
  EXPECT_NEAR(graphics.vertexBuffer[7].x, 25, 1e-4);  // a quarter turn: the top
  EXPECT_NEAR(graphics.vertexBuffer[7].y, 20, 1e-4);
}

TEST_F(RendererTest, OvalsAndPolygonsOfOneVertexCountAreSeparateFansOfOneBatch) {
  std::vector<float> polygon;
  for (int i = 0; i < 28; ++i) polygon.insert(polygon.end(), {float(i), float(i % 3)});
  graphics.DrawOval(0, 0, 30, 30);
  graphics.DrawOval(50, 50, 30, 30);
  graphics.DrawPoly(polygon);
  graphics.EndRender();
  ASSERT_EQ(gl.draws.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(gl.draws[i].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    EXPECT_EQ(gl.draws[i].first, 28 * i);
    EXPECT_EQ(gl.draws[i].count, 28);
  }
  EXPECT_EQ(graphics.lastFrameStats.flushes, 1);
}

TEST_F(RendererTest, PolygonsWithoutVerticesOrWithTooManyAreNotDrawn) {
  graphics.DrawRect(0, 0, 1, 1);
  graphics.DrawPoly({});
  graphics.DrawPoly(std::vector<float>(2 * 1025, 1.0f));
  EXPECT_EQ(graphics.batchKind, kBatchQuads);
  EXPECT_EQ(graphics.batchCount, 4);
  EXPECT_EQ(graphics.stats.flushes, 0);
  graphics.DrawPoly(std::vector<float>(2 * 1024, 1.0f));
  EXPECT_EQ(graphics.batchCount, 1024);
}

TEST_F(RendererTest, TheMatrixIsAppliedOnThePointsUnlessItIsTheIdentity) {
  graphics.SetMatrix(0, 1, -1, 0, 100, 50);  // a quarter turn, then a shift
  EXPECT_TRUE(graphics.transformed);
  graphics.DrawLine(10, 0, 0, 20);
  EXPECT_FLOAT_EQ(graphics.vertexBuffer[0].x, 100);
  EXPECT_FLOAT_EQ(graphics.vertexBuffer[0].y, 60);
  EXPECT_FLOAT_EQ(graphics.vertexBuffer[1].x, 80);
  EXPECT_FLOAT_EQ(graphics.vertexBuffer[1].y, 50);

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
  const Vertex* v = graphics.vertexBuffer.data();
  EXPECT_FLOAT_EQ(v[0].x, 5);
  EXPECT_FLOAT_EQ(v[2].x, 21);
  EXPECT_FLOAT_EQ(v[2].y, 14);
  EXPECT_FLOAT_EQ(v[0].u, 0.25f);
  EXPECT_FLOAT_EQ(v[0].v, 0.25f);
  EXPECT_FLOAT_EQ(v[2].u, 0.5f);
  EXPECT_FLOAT_EQ(v[2].v, 0.5f);
  EXPECT_FLOAT_EQ(v[3].u, 0.25f);
  EXPECT_FLOAT_EQ(v[3].v, 0.5f);

  graphics.DrawSurface(&surface, 0, 0);
  EXPECT_FLOAT_EQ(v[6].u, 1.0f);
  EXPECT_FLOAT_EQ(v[6].v, 1.0f);
  EXPECT_FLOAT_EQ(v[6].x, 64);

  const std::vector<float> verts = {0, 0, 0, 0, 8, 0, 8, 0, 8, 8, 8, 8};
  graphics.DrawPoly2(verts, &surface, 32, 16);
  EXPECT_EQ(graphics.batchKind, kBatchTriangles);
  EXPECT_FLOAT_EQ(v[0].u, 0.5f);
  EXPECT_FLOAT_EQ(v[2].u, 40.0f / 64);
  EXPECT_FLOAT_EQ(v[2].v, 0.75f);
}

TEST_F(RendererTest, ReadPixelsReturnsTheTopRowFirst) {
  graphics.DrawRect(0, 0, 1, 1);
  std::vector<int> pixels(2 + 3 * 5, -1);
  graphics.ReadPixels(pixels, 4, 10, 4, 3, 2, 5);
  EXPECT_EQ(gl.draws.size(), 1u) << "reading flushes first";
  EXPECT_EQ(gl.readY, 240 - 10 - 3);
  EXPECT_EQ(pixels[1], -1);
  EXPECT_EQ(pixels[2], 2 << 16 | 0) << "the top row is the last GL row";
  EXPECT_EQ(pixels[2 + 3], 2 << 16 | 3);
  EXPECT_EQ(pixels[2 + 4], -1) << "the pitch gap is left alone";
  EXPECT_EQ(pixels[2 + 2 * 5], 0 << 16 | 0);
}

TEST_F(RendererTest, ReadPixelsIntoTooSmallAnArrayIsIgnored) {
  std::vector<int> pixels(10, -1);
  graphics.ReadPixels(pixels, 0, 0, 4, 3, 0, 4);
  graphics.ReadPixels(pixels, 0, 0, 2, 2, -1, 2);
  EXPECT_EQ(pixels, std::vector<int>(10, -1));
}

}  // namespace
