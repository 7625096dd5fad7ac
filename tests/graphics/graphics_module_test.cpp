// The graphics module: frame grids and flags, the matrix stack, lazy matrix hand-over and
// image drawing about the handle.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "child_process.h"
#include "fake_gl.h"
#include "graphics/graphics.h"
#include "image_files.h"

namespace {

// Counts the matrices the module hands to the renderer.
class CountingGraphics : public gxtkGraphics {
 public:
  CountingGraphics() : gxtkGraphics(320, 240) {}
  void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) override {
    ++matrices;
    gxtkGraphics::SetMatrix(ix, iy, jx, jy, tx, ty);
  }
  int matrices = 0;
};

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

  std::unique_ptr<Image> Load2(int sheetW, int sheetH, int frameW, int frameH, int count,
                               int flags = 0) {
    const std::string path =
        dir.WritePng("sheet.png", sheetW, sheetH, 4, SolidRgba(sheetW, sheetH, 255, 255, 255, 255));
    return std::unique_ptr<Image>(LoadImage2(path.c_str(), frameW, frameH, count, flags));
  }
  std::unique_ptr<Image> Load(int stripW, int stripH, int count, int flags) {
    const std::string path =
        dir.WritePng("strip.png", stripW, stripH, 4, SolidRgba(stripW, stripH, 255, 255, 255, 255));
    return std::unique_ptr<Image>(LoadImage(path.c_str(), count, flags));
  }

  FakeGl gl;
  CountingGraphics graphics;
  TempImageDir dir;
};

std::vector<float> Matrix() {
  const GraphicsContext& c = GetGraphicsContext();
  return {c.ix, c.iy, c.jx, c.jy, c.tx, c.ty};
}

std::vector<std::pair<int, int>> Origins(const Image& image) {
  std::vector<std::pair<int, int>> origins;
  for (const Frame& frame : image.frames) origins.emplace_back(frame.x, frame.y);
  return origins;
}

TEST_F(GraphicsModuleTest, SheetFramesFillRowsLeftToRightThenDownAndMustFitTheSheet) {
  auto image = Load2(64, 32, 16, 16, 8);
  ASSERT_TRUE(image);
  EXPECT_EQ(Origins(*image),
            (std::vector<std::pair<int, int>>{
                {0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 16}, {16, 16}, {32, 16}, {48, 16}}));
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

TEST_F(GraphicsModuleTest, StripsWithBordersLoseAPixelEachSide) {
  auto image = Load(100, 20, 4, Image::PadHorizontal);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 23);
  EXPECT_EQ(image->height, 20);
  EXPECT_EQ(Origins(*image), (std::vector<std::pair<int, int>>{{1, 0}, {26, 0}, {51, 0}, {76, 0}}));

  auto both = Load(10, 10, 1, Image::PadHorizontal | Image::PadVertical);
  EXPECT_EQ(Origins(*both), (std::vector<std::pair<int, int>>{{1, 1}}));
  EXPECT_EQ(both->height, 8);
  EXPECT_FALSE(both->flags & Image::WholeSurface);

  auto noFrames = Load(10, 10, 0, 0);
  EXPECT_EQ(noFrames->FrameCount(), 1) << "a frame count below one is one frame";
}

TEST_F(GraphicsModuleTest, CentredSingleFrameImagesUseTheWholeSurface) {
  auto image = Load(32, 32, 1, Image::HandleCentered);
  EXPECT_FLOAT_EQ(image->handleX, 16);
  EXPECT_FLOAT_EQ(image->handleY, 16);
  EXPECT_EQ(image->flags, Image::WholeSurface);
  image->flags |= Image::HandleCentered;
  image->SetHandle(3, 4);
  EXPECT_EQ(image->flags, Image::WholeSurface);
}

TEST_F(GraphicsModuleTest, TransformAppliesTheNewMatrixToPointsFirst) {
  Translate(10, 20);
  Scale(2, 3);
  // A point is scaled, then moved.
  EXPECT_EQ(Matrix(), (std::vector<float>{2, 0, 0, 3, 10, 20}));

  SetMatrix(1, 0, 0, 1, 0, 0);
  const GraphicsContext& c = GetGraphicsContext();
  Rotate(90);
  // With y down a positive angle turns counter-clockwise on the screen: right goes up.
  EXPECT_NEAR(c.ix, 0, 1e-6);
  EXPECT_NEAR(c.iy, -1, 1e-6);
  EXPECT_NEAR(c.jx, 1, 1e-6);
  EXPECT_TRUE(c.matrixDirty);
}

TEST_F(GraphicsModuleTest, TheMatrixStackGrowsByDoublingRestoresInTurnAndIgnoresAnExtraPop) {
  for (int depth = 0; depth < 33; ++depth) {
    SetMatrix(1, 0, 0, 1, static_cast<float>(depth), 0);
    PushMatrix();
  }
  const GraphicsContext& c = GetGraphicsContext();
  EXPECT_EQ(c.matrixStack.size(), 384u);
  EXPECT_EQ(c.matrixTop, 33 * 6);
  for (int depth = 32; depth >= 0; --depth) {
    PopMatrix();
    EXPECT_FLOAT_EQ(c.tx, static_cast<float>(depth));
  }
  SetMatrix(2, 0, 0, 2, 5, 6);
  PopMatrix();
  EXPECT_EQ(c.matrixTop, 0);
  EXPECT_EQ(Matrix(), (std::vector<float>{2, 0, 0, 2, 5, 6})) << "a pop without a push";
}

TEST_F(GraphicsModuleTest, TheRendererGetsAMatrixOnlyWhenDrawingUnderANewOne) {
  EXPECT_EQ(graphics.matrices, 0);
  DrawRect(0, 0, 1, 1);
  EXPECT_EQ(graphics.matrices, 1);
  EXPECT_FALSE(graphics.transformed) << "the first draw of a pass sends the identity";
  DrawLine(0, 0, 1, 1);
  EXPECT_EQ(graphics.matrices, 1);
  Translate(5, 5);
  Translate(5, 5);
  EXPECT_EQ(graphics.matrices, 1);
  DrawEllipse(0, 0, 1, 1);
  EXPECT_EQ(graphics.matrices, 2);
  EXPECT_FLOAT_EQ(graphics.tx, 10);
}

TEST_F(GraphicsModuleTest, BeginRenderResetsTheModuleState) {
  SetColor(10, 20, 30);
  SetAlpha(0.25f);
  SetBlend(kBlendAdditive);
  Translate(1, 2);
  PushMatrix();
  BeginRender();
  const GraphicsContext& c = GetGraphicsContext();
  EXPECT_EQ(c.matrixTop, 0);
  EXPECT_EQ(Matrix(), (std::vector<float>{1, 0, 0, 1, 0, 0}));
  EXPECT_EQ((std::vector<float>{c.colorR, c.colorG, c.colorB, c.alpha, graphics.alpha}),
            (std::vector<float>{255, 255, 255, 1, 1}));
  EXPECT_EQ(c.blend, kBlendAlpha);
  EXPECT_FLOAT_EQ(c.scissorWidth, 320);
  ASSERT_FALSE(gl.scissors.empty());
  EXPECT_FALSE(gl.scissors.back().enabled);
}

TEST_F(GraphicsModuleTest, UnrotatedDrawImage2PlacesTheFrameAsDrawImage) {
  auto image = Load2(64, 32, 16, 16, 8, Image::HandleCentered);
  DrawImage(image.get(), 100, 50, 5);
  DrawImage2(image.get(), 100, 50, 0, 1, 1, 5);
  ASSERT_EQ(graphics.batchCount, 8);
  EXPECT_EQ(VertexValues(graphics, 4, 8), VertexValues(graphics, 0, 4));
  EXPECT_EQ(VertexValues(graphics, 0, 1), (std::vector<float>{92, 42, 16.0f / 64, 0.5f}));
}

TEST_F(GraphicsModuleTest, RotatedAndScaledFramesTurnAboutTheirHandle) {
  auto image = Load2(32, 16, 32, 16, 1);
  image->SetHandle(8, 4);
  DrawImage2(image.get(), 100, 50, 90, 2, 1, 0);
  // The handle (8, 4) lands on (100, 50); the frame's top-left corner is 8 left and 4 up
  // of it, scaled by 2 horizontally, then turned a quarter counter-clockwise.
  const Vertex& topLeft = graphics.vertexBuffer[0];
  EXPECT_NEAR(topLeft.x, 100 - 4, 1e-4);
  EXPECT_NEAR(topLeft.y, 50 + 16, 1e-4);
  const GraphicsContext& c = GetGraphicsContext();
  EXPECT_EQ(c.matrixTop, 0) << "the matrix is restored";
  EXPECT_FLOAT_EQ(c.tx, 0);
}

TEST_F(GraphicsModuleTest, FramesOutsideTheImageNullImagesAndDrawingOutsideAPassDrawNothing) {
  auto image = Load2(64, 32, 16, 16, 8);
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

TEST_F(GraphicsModuleTest, TheDefaultFontIsLoadedFromTheDataFolderOnFirstNeed) {
  // Only a child process may load it (and change folder): the module keeps the default font for
  // good.
  const ChildResult missing = RunInChild([&] {
    std::filesystem::current_path(dir.path());
    SetFont(nullptr, 0);
    std::printf("%d %d", GetGraphicsContext().font != nullptr, GetGraphicsContext().firstChar);
  });
  EXPECT_EQ(missing.output, "0 32");

  dir.WritePng("data/kibo_font.png", 96 * 6, 9, 4, SolidRgba(96 * 6, 9, 255, 255, 255, 255));
  const ChildResult found = RunInChild([&] {
    std::filesystem::current_path(dir.path());
    SetFont(nullptr, 0);
    const Image* font = GetGraphicsContext().font;
    std::printf("%d %d %d", font->FrameCount(), font->width, font->frames[1].x);
  });
  EXPECT_EQ(found.output, "96 4 7");
}

}  // namespace
