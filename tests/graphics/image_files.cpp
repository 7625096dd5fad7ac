#include "image_files.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdlib>
#include <filesystem>

TempImageDir::TempImageDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zv_images_XXXXXX").string();
  path_ = mkdtemp(pattern.data()) ? pattern : std::string();
}

TempImageDir::~TempImageDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempImageDir::WritePng(const std::string& name, int width, int height, int channels,
                                   const std::vector<unsigned char>& pixels) const {
  const std::string file = path_ + "/" + name;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path());
  stbi_write_png(file.c_str(), width, height, channels, pixels.data(), width * channels);
  return file;
}

std::vector<unsigned char> SolidRgba(int width, int height, unsigned char r, unsigned char g,
                                     unsigned char b, unsigned char a) {
  std::vector<unsigned char> pixels;
  pixels.reserve(static_cast<size_t>(width) * height * 4);
  for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {r, g, b, a});
  return pixels;
}
