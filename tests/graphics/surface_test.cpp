// Surfaces: premultiplied pixels, lazy textures per context, the power-of-two fallback,
// partial writes and image decoding.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "fake_gl.h"
#include "graphics/renderer.h"
#include "host/glfw2.h"
#include "image_files.h"

namespace {

using Pixels = std::vector<unsigned char>;

unsigned char* Malloced(const Pixels& bytes) {
  auto* copy = static_cast<unsigned char*>(std::malloc(bytes.size()));
  std::memcpy(copy, bytes.data(), bytes.size());
  return copy;
}

Pixels Bytes(const gxtkSurface& surface, int count) {
  return {surface.data, surface.data + count};
}

TEST(Surface, PixelsArePremultipliedWhenSet) {
  const struct {
    int width, channels;
    GLenum format;
    Pixels set, kept;
  } cases[] = {
      {2, 4, GL_RGBA, {200, 100, 50, 128, 10, 20, 30, 255}, {100, 50, 25, 128, 10, 20, 30, 255}},
      {2, 2, GL_LUMINANCE_ALPHA, {255, 0, 200, 128}, {0, 0, 100, 128}},
      {1, 3, GL_RGB, {200, 100, 50}, {200, 100, 50}}};
  for (const auto& c : cases) {
    gxtkSurface surface;
    surface.SetData(Malloced(c.set), c.width, 1, c.channels);
    EXPECT_EQ(Bytes(surface, c.width * c.channels), c.kept) << c.channels << " channels";
    EXPECT_EQ(surface.format, c.format) << c.channels << " channels";
  }
}

TEST(Surface, BindingWithoutAContextDoesNothing) {
  ASSERT_EQ(glfwGraphicsSeq, 0);
  gxtkSurface surface;
  surface.SetData(nullptr, 4, 4, 4);
  surface.Bind();
  EXPECT_EQ(surface.seq, -1);
  EXPECT_EQ(surface.uscale, 0);
}

TEST(Surface, FallsBackToPowerOfTwoTexturesWhenRefused) {
  FakeGl gl;
  gl.refuseNonPowerOfTwo = true;
  gxtkSurface surface;
  surface.SetData(Malloced(Pixels(24 * 40 * 4, 7)), 24, 40, 4);
  surface.Bind();
  ASSERT_EQ(gl.allocations.size(), 1u);
  EXPECT_EQ(gl.allocations[0], std::make_pair(32, 64));
  EXPECT_FLOAT_EQ(surface.uscale, 1.0f / 32);
  EXPECT_FLOAT_EQ(surface.vscale, 1.0f / 64);
  ASSERT_EQ(gl.uploads.size(), 1u);
  EXPECT_EQ(gl.uploads[0].width, 24) << "the picture fills the top-left corner";
  EXPECT_EQ(gl.uploads[0].height, 40);
}

TEST(Surface, TextureIsMadeOncePerContextFromTheKeptPixelsAndOnlyALiveOneIsDeleted) {
  FakeGl gl;
  gxtkSurface surface;
  surface.SetData(Malloced({1, 2, 3, 255}), 1, 1, 4);
  surface.Bind();
  surface.Bind();
  EXPECT_EQ(gl.allocations.size(), 1u);
  const unsigned first = surface.texture;

  ++glfwGraphicsSeq;  // the host opened a new window
  surface.Bind();
  EXPECT_EQ(surface.seq, glfwGraphicsSeq);
  EXPECT_NE(surface.texture, first);
  ASSERT_EQ(gl.uploads.size(), 2u);
  EXPECT_EQ(gl.uploads[1].bytes, (Pixels{1, 2, 3, 255}));
  EXPECT_TRUE(gl.deleted.empty()) << "the old texture went with its context";

  surface.Discard();
  EXPECT_EQ(gl.deleted, std::vector<GLuint>{surface.texture});
  EXPECT_EQ(surface.seq, -1);
  EXPECT_EQ(surface.data, nullptr);
  gxtkSurface stale;
  stale.SetData(nullptr, 1, 1, 4);
  stale.Bind();
  ++glfwGraphicsSeq;
  stale.Discard();
  EXPECT_EQ(gl.deleted.size(), 1u) << "a texture of a closed window is not deleted";
}

TEST(Surface, SubDataIsStoredPremultipliedAndUploadedByRows) {
  FakeGl gl;
  gxtkGraphics graphics(64, 64);
  std::unique_ptr<gxtkSurface> surface = graphics.CreateSurface(4, 3);
  ASSERT_TRUE(surface->data);
  EXPECT_EQ(Bytes(*surface, 48), Pixels(48, 0)) << "starts transparent";
  gl.uploads.clear();

  const std::vector<int> pixels = {0, static_cast<int>(0x80FF0000), 0, 0, -1, 0x40204080};
  graphics.WritePixels2(surface.get(), pixels, 1, 1, 2, 2, 1, 3);
  // Rows are 16 bytes; the square covers pixels 1 and 2 of rows 1 and 2.
  EXPECT_EQ(Pixels(surface->data + 16 + 4, surface->data + 16 + 12),
            (Pixels{128, 0, 0, 128, 0, 0, 0, 0}));
  EXPECT_EQ(Pixels(surface->data + 32 + 4, surface->data + 32 + 12),
            (Pixels{255, 255, 255, 255, 8, 16, 32, 64}));
  ASSERT_EQ(gl.uploads.size(), 2u) << "a narrow rectangle goes up row by row";
  EXPECT_EQ(gl.uploads[1].y, 2);
  EXPECT_EQ(gl.uploads[1].width, 2);

  gl.uploads.clear();
  graphics.WritePixels2(surface.get(), std::vector<int>(8, -1), 0, 1, 4, 2, 0, 4);
  ASSERT_EQ(gl.uploads.size(), 1u) << "a full-width rectangle goes up at once";
  EXPECT_EQ(gl.uploads[0].height, 2);
}

TEST(Surface, SubDataOutsideTheSurfaceOrBeyondTheSourceIsIgnored) {
  gxtkGraphics graphics(64, 64);
  std::unique_ptr<gxtkSurface> surface = graphics.CreateSurface(4, 4);
  const Pixels before = Bytes(*surface, 64);
  const std::vector<int> pixels(16, -1);
  graphics.WritePixels2(surface.get(), pixels, 3, 3, 2, 2, 0, 2);
  graphics.WritePixels2(surface.get(), pixels, -1, 0, 2, 2, 0, 2);
  graphics.WritePixels2(surface.get(), pixels, 0, 0, 4, 4, 1, 4);
  graphics.WritePixels2(surface.get(), pixels, 0, 0, 1, 1, 17, 1);
  EXPECT_EQ(Bytes(*surface, 64), before);

  gxtkSurface rgb;
  rgb.SetData(Malloced({9, 9, 9}), 1, 1, 3);
  rgb.SetSubData(0, 0, 1, 1, pixels, 1);
  EXPECT_EQ(Bytes(rgb, 3), (Pixels{9, 9, 9})) << "only RGBA is written";
}

TEST(ImageDecoding, KeepsTheChannelCountOfTheFile) {
  TempImageDir dir;
  const std::string grey = dir.WritePng("grey.png", 2, 1, 2, {255, 0, 100, 255});
  gxtkGraphics graphics(64, 64);
  std::unique_ptr<gxtkSurface> surface = graphics.LoadSurface(grey.c_str());
  ASSERT_TRUE(surface);
  EXPECT_EQ(Bytes(*surface, 4), (Pixels{0, 0, 100, 255}));
}

TEST(ImageDecoding, MissingOrBrokenFilesGiveNoSurface) {
  TempImageDir dir;
  gxtkGraphics graphics(64, 64);
  EXPECT_EQ(graphics.LoadSurface((dir.path() + "/missing.png").c_str()), nullptr);
  const std::string broken = dir.path() + "/broken.png";
  FILE* file = std::fopen(broken.c_str(), "wb");
  std::fputs("\x89PNG not really", file);
  std::fclose(file);
  EXPECT_EQ(graphics.LoadSurface(broken.c_str()), nullptr);
  gxtkSurface surface;
  EXPECT_FALSE(graphics.LoadSurface__UNSAFE__(&surface, broken.c_str()));
}

}  // namespace
