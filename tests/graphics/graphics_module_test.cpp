// The graphics module: frame grids and flags, the matrix stack, lazy matrix hand-over and
// image drawing about the handle.
#include <gtest/gtest.h>

#include <memory>

#include "child_process.h"
#include "fake_gl.h"
#include "graphics/graphics.h"
#include "image_files.h"

namespace {

class GraphicsModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGraphicsDevice(&graphics);
    graphics.BeginRender();
    BeginRender();
  }
  void TearDown() override {
    EndRender();
    SetGraphicsDevice(nullptr);
  }
  // A white sheet cut into frames: by a grid (frameW > 0) or as a strip of count frames.
  std::unique_ptr<Image> Load(int sheetW, int sheetH, int frameW, int frameH, int count,
                              int flags = 0) {
    const std::string path =
        dir.WritePng("sheet.png", sheetW, sheetH, 4, SolidRgba(sheetW, sheetH, 255, 255, 255, 255));
    return std::unique_ptr<Image>(frameW ? LoadImage2(path.c_str(), frameW, frameH, count, flags)
                                         : LoadImage(path.c_str(), count, flags));
  }

  FakeGl gl;
  gxtkGraphics graphics{320, 240};
  TempImageDir dir;
};

TEST_F(GraphicsModuleTest, FramesFillTheSheetRowByRowAndMustFitIt) {
  using Origins = std::vector<std::pair<int, int>>;
  const struct {
    int sheetW, sheetH, frameW, count, flags;
    Origins origins;
    int width, height;
  } rows[] = {
      {64, 32, 16, 6, 0, Origins{{0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 16}, {16, 16}}, 16, 16},
      {100, 20, 0, 4, Image::PadHorizontal, Origins{{1, 0}, {26, 0}, {51, 0}, {76, 0}}, 23, 20},
      {10, 10, 0, 1, Image::PadHorizontal | Image::PadVertical, Origins{{1, 1}}, 8, 8},
      {10, 10, 0, 0, 0, Origins{{0, 0}}, 10, 10},  // a count below one is one frame
  };
  for (const auto& row : rows) {
    auto image = Load(row.sheetW, row.sheetH, row.frameW, 16, row.count, row.flags);
    ASSERT_TRUE(image) << row.sheetW;
    Origins origins;
    for (const Frame& frame : image->frames) origins.emplace_back(frame.x, frame.y);
    EXPECT_EQ(origins, row.origins) << row.sheetW;
    EXPECT_EQ(std::pair(image->width, image->height), std::pair(row.width, row.height));
  }
  // A grid the program asks for wrongly is its own fault: the runtime error.
  for (const auto& [frameW, count] : {std::pair{16, 9}, std::pair{65, 1}}) {
    // Copied into the lambda: Clang before 16 cannot capture structured bindings.
    const ChildResult result = RunInChild([&, frameW = frameW, count = count] {
      Image cut;
      cut.Init2(graphics.CreateSurface(64, 32), 0, 0, frameW, 16, count, 0, nullptr, 0, 0, 64, 32);
    });
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.output.find("Image frame outside surface"), std::string::npos)
        << result.output;
  }
}

TEST_F(GraphicsModuleTest, TheMatrixStackGrowsRestoresInTurnAndIgnoresAnExtraPop) {
  const GraphicsContext& c = GetGraphicsContext();
  for (int depth = 0; depth < 33; ++depth) {
    SetMatrix(1, 0, 0, 1, static_cast<float>(depth), 0);
    PushMatrix();
  }
  for (int depth = 32; depth >= 0; --depth) {
    PopMatrix();
    EXPECT_FLOAT_EQ(c.tx, static_cast<float>(depth));
  }
  SetMatrix(2, 0, 0, 2, 5, 6);
  PopMatrix();
  EXPECT_EQ(c.matrixTop, 0);
  EXPECT_EQ((std::vector<float>{c.ix, c.jy, c.tx, c.ty}), (std::vector<float>{2, 2, 5, 6}));
}

TEST_F(GraphicsModuleTest, FramesTurnAboutTheirHandleAndTheMatrixIsRestored) {
  auto image = Load(32, 16, 32, 16, 1);
  image->SetHandle(8, 4);
  DrawImage2(image.get(), 100, 50, 90, 2, 1, 0);
  // The handle (8, 4) lands on (100, 50); the frame's top-left corner is 8 left and 4 up
  // of it, scaled by 2 horizontally, then turned a quarter counter-clockwise.
  EXPECT_NEAR(graphics.vertexBuffer[0].x, 100 - 4, 1e-4);
  EXPECT_NEAR(graphics.vertexBuffer[0].y, 50 + 16, 1e-4);
  EXPECT_EQ(GetGraphicsContext().matrixTop, 0);
  EXPECT_FLOAT_EQ(GetGraphicsContext().tx, 0);
}

TEST_F(GraphicsModuleTest, FramesOutsideTheImageNullImagesAndDrawingOutsideAPassDrawNothing) {
  auto image = Load(64, 32, 16, 16, 8);
  DrawImage(image.get(), 0, 0, 8);
  DrawImage(image.get(), 0, 0, -1);
  DrawImage2(image.get(), 0, 0, 0, 1, 1, 99);
  DrawImage(nullptr, 0, 0, 0);
  DrawImage2(nullptr, 0, 0, 0, 1, 1, 0);
  EXPECT_EQ(graphics.batchCount, 0);
  EXPECT_EQ(GetGraphicsContext().matrixTop, 0);
  EndRender();
  DrawRect(0, 0, 5, 5);
  SetColor(1, 2, 3);
  EXPECT_EQ(graphics.batchCount, 0);
  EXPECT_FLOAT_EQ(graphics.colorR, 255);
}

}  // namespace
