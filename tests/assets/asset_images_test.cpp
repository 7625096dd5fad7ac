// The default font: glyphs the renderer can cut from the strip without bleeding into each other.
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <memory>
#include <string>

TEST(AssetImages, DefaultFontIsAStripOf96GlyphsWithBlankBorders) {
  int w = 0, h = 0, channels = 0;
  const std::unique_ptr<unsigned char, void (*)(void*)> rgba(
      stbi_load(ZV_DATA_DIR "/kibo_font.png", &w, &h, &channels, 4), stbi_image_free);
  ASSERT_TRUE(rgba);
  ASSERT_EQ(w % 96, 0);
  const int fw = w / 96;
  const auto alpha = [&](int x, int y) { return rgba.get()[(y * w + x) * 4 + 3]; };
  int ink = 0;  // the most opaque pixel of 'A'
  for (int y = 0; y < h; ++y) {
    for (int i = 0; i < 96; ++i) {
      ASSERT_EQ(alpha(i * fw, y) + alpha(i * fw + fw - 1, y), 0) << "border of glyph " << i;
    }
    for (int x = ('A' - 32) * fw; x < ('A' - 31) * fw; ++x) ink = std::max<int>(ink, alpha(x, y));
  }
  EXPECT_GT(ink, 128);
}
