// Surfaces: partial writes, lazy textures per context, the power-of-two fallback and image
// decoding (their pixels are seen in the GL tests).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
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

Pixels Bytes(const gxtkSurface& surface, int from, int to) {
  return {surface.data + from, surface.data + to};
}

// Partial writes are checked against both the surface and the source array, whatever the
// sizes (an overflow once let them write outside).
TEST(Surface, WritesOutsideTheSurfaceOrBeyondTheSourceAreIgnored) {
  gxtkGraphics graphics(64, 64);
  std::unique_ptr<gxtkSurface> surface = graphics.CreateSurface(4, 4);
  const Pixels before = Bytes(*surface, 0, 64);
  const std::vector<int> pixels(16, -1);
  const struct {
    int x, y, width, height, offset, pitch;
  } rows[] = {{3, 3, 2, 2, 0, 2},
              {-1, 0, 2, 2, 0, 2},
              {0, 0, 4, 4, 1, 4},
              {0, 0, 1, 1, 17, 1},
              {0, 0, 1 << 30, 1 << 30, 0, 1 << 30}};
  for (const auto& r : rows)
    graphics.WritePixels2(surface.get(), pixels, r.x, r.y, r.width, r.height, r.offset, r.pitch);
  EXPECT_EQ(Bytes(*surface, 0, 64), before);
  gxtkSurface rgb;
  rgb.SetData(Malloced({9, 9, 9}), 1, 1, 3);
  rgb.SetSubData(0, 0, 1, 1, pixels, 1);
  EXPECT_EQ(Bytes(rgb, 0, 3), (Pixels{9, 9, 9})) << "only RGBA is written";
}

TEST(Surface, FallsBackToPowerOfTwoTexturesWhenRefused) {
  FakeGl gl;
  gl.refuseNonPowerOfTwo = true;
  gxtkSurface surface;
  surface.SetData(Malloced(Pixels(24 * 40 * 4, 7)), 24, 40, 4);
  surface.Bind();
  EXPECT_EQ(gl.allocations, (std::vector<std::pair<int, int>>{{32, 64}}));
  EXPECT_EQ(std::pair(surface.uscale, surface.vscale), std::pair(1.0f / 32, 1.0f / 64));
  ASSERT_EQ(gl.uploads.size(), 1u);
  EXPECT_EQ(std::pair(gl.uploads[0].width, gl.uploads[0].height), std::pair(24, 40));
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
  EXPECT_NE(surface.texture, first);
  ASSERT_EQ(gl.uploads.size(), 2u);
  EXPECT_EQ(gl.uploads[1].bytes, (Pixels{1, 2, 3, 255}));
  EXPECT_TRUE(gl.deleted.empty()) << "the old texture went with its context";
  surface.Discard();
  EXPECT_EQ(gl.deleted, std::vector<GLuint>{surface.texture});
  gxtkSurface stale;
  stale.SetData(nullptr, 1, 1, 4);
  stale.Bind();
  ++glfwGraphicsSeq;
  stale.Discard();
  EXPECT_EQ(gl.deleted.size(), 1u) << "a texture of a closed window is not deleted";
}

TEST(ImageDecoding, KeepsTheFilesChannelsAndRefusesMissingOrBrokenFiles) {
  TempImageDir dir;
  gxtkGraphics graphics(64, 64);
  const std::string grey = dir.WritePng("grey.png", 2, 1, 2, {255, 0, 100, 255});
  std::unique_ptr<gxtkSurface> surface = graphics.LoadSurface(grey.c_str());
  ASSERT_TRUE(surface);
  EXPECT_EQ(Bytes(*surface, 0, 4), (Pixels{0, 0, 100, 255}));
  const std::string broken = dir.path() + "/broken.png";
  std::ofstream(broken) << "\x89PNG not really";
  EXPECT_EQ(graphics.LoadSurface((dir.path() + "/missing.png").c_str()), nullptr);
  EXPECT_EQ(graphics.LoadSurface(broken.c_str()), nullptr);
}

}  // namespace
