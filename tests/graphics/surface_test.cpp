// Surfaces: partial writes, textures per context, the power-of-two fallback and decoding.
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

// Surfaces own their pixels and free them.
unsigned char* Malloced(const Pixels& bytes) {
  return static_cast<unsigned char*>(
      std::memcpy(std::malloc(bytes.size()), bytes.data(), bytes.size()));
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

// A texture is made once per context, from the kept pixels, at a power-of-two size when the
// driver refuses others; only a live one is deleted.
TEST(Surface, TexturesFollowTheirContext) {
  FakeGl gl;
  gl.refuseNonPowerOfTwo = true;
  gxtkSurface surface;
  surface.SetData(Malloced({1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255}), 3, 1, 4);
  surface.Bind();
  surface.Bind();
  EXPECT_EQ(gl.allocations, (std::vector<std::pair<int, int>>{{4, 1}}));
  EXPECT_EQ(std::pair(surface.uscale, surface.vscale), std::pair(1.0f / 4, 1.0f));
  const unsigned first = surface.texture;
  ++glfwGraphicsSeq;  // the host opened a new window
  surface.Bind();
  EXPECT_NE(surface.texture, first);
  ASSERT_EQ(gl.uploads.size(), 2u);
  EXPECT_EQ(gl.uploads[1].bytes, (Pixels{1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255}));
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

// Grey-and-alpha files stay two channels, premultiplied.
TEST(ImageDecoding, KeepsTheFilesChannelsAndRefusesBrokenFiles) {
  TempImageDir dir;
  gxtkGraphics graphics(64, 64);
  const auto grey =
      graphics.LoadSurface(dir.WritePng("g.png", 2, 1, 2, {255, 0, 100, 255}).c_str());
  ASSERT_TRUE(grey);
  EXPECT_EQ(Bytes(*grey, 0, 4), (Pixels{0, 0, 100, 255}));
  std::ofstream(dir.path() + "/broken.png") << "\x89PNG not really";
  EXPECT_EQ(graphics.LoadSurface((dir.path() + "/broken.png").c_str()), nullptr);
}

}  // namespace
