// The default font: glyphs the renderer can cut from the strip without bleeding into each other.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

struct Image {
  int w = 0, h = 0;
  std::shared_ptr<unsigned char> rgba;
  int Alpha(int x, int y) const { return rgba.get()[(y * w + x) * 4 + 3]; }
  // Largest alpha inside frame i of a grid filled row by row.
  int FrameInk(int fw, int fh, int i) const {
    const int x0 = i % (w / fw) * fw, y0 = i / (w / fw) * fh;
    int ink = 0;
    for (int y = y0; y < y0 + fh; ++y)
      for (int x = x0; x < x0 + fw; ++x) ink = std::max(ink, Alpha(x, y));
    return ink;
  }
};

Image Load(const std::string& file) {
  Image image;
  int channels = 0;
  unsigned char* data =
      stbi_load((std::string(ZV_DATA_DIR) + "/" + file).c_str(), &image.w, &image.h, &channels, 4);
  if (data) image.rgba.reset(data, stbi_image_free);
  return image;
}

TEST(AssetImages, DefaultFontIsAStripOf96GlyphsWithBlankBorders) {
  const Image strip = Load("kibo_font.png");
  ASSERT_TRUE(strip.rgba);
  ASSERT_EQ(strip.w % 96, 0);
  const int fw = strip.w / 96;
  for (int i = 0; i < 96; ++i) {
    for (int y = 0; y < strip.h; ++y) {
      ASSERT_EQ(strip.Alpha(i * fw, y), 0) << "left border of glyph " << i;
      ASSERT_EQ(strip.Alpha(i * fw + fw - 1, y), 0) << "right border of glyph " << i;
    }
  }
  EXPECT_GT(strip.FrameInk(fw, strip.h, 'A' - 32), 128);
}

}  // namespace
