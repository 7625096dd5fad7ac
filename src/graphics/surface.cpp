#include "graphics/surface.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "graphics/gl_driver.h"
#include "host/files.h"
#include "host/glfw2.h"

namespace {
constexpr int kNoContext = 0;
constexpr int kNoTexture = -1;
constexpr int kRgbaBytes = 4;
// stb_image's failure reason when an allocation failed.
constexpr const char* kDecoderOutOfMemory = "outofmem";

GLenum FormatForDepth(int depth) {
  switch (depth) {
    case 1:
      return GL_LUMINANCE;
    case 2:
      return GL_LUMINANCE_ALPHA;
    case 3:
      return GL_RGB;
    default:
      return GL_RGBA;
  }
}

unsigned char Premultiply(int channel, int alpha) {
  return static_cast<unsigned char>(channel * alpha / 255);
}

void PremultiplyPixels(unsigned char* pixels, int count, int depth) {
  if (depth != 2 && depth != 4) return;
  const int alphaIndex = depth - 1;
  for (unsigned char* pixel = pixels; pixel < pixels + count * depth; pixel += depth) {
    for (int c = 0; c < alphaIndex; ++c) pixel[c] = Premultiply(pixel[c], pixel[alphaIndex]);
  }
}

// Smallest power of two not below size, at least 1.
int PowerOfTwoAbove(int size) {
  return size <= 1 ? 1 : static_cast<int>(std::bit_ceil(static_cast<unsigned>(size)));
}
}  // namespace

gxtkSurface::~gxtkSurface() {
  Release();
}

int gxtkSurface::Discard() {
  Release();
  return 0;
}

void gxtkSurface::Release() {
  if (seq == glfwGraphicsSeq) {
    Gl().DeleteTexture(texture);
    seq = kNoTexture;
  }
  std::free(data);
  data = nullptr;
}

void gxtkSurface::SetData(unsigned char* pixels, int width, int height, int depth) {
  std::free(data);
  data = pixels;
  this->width = width;
  this->height = height;
  this->depth = depth;
  format = static_cast<int>(FormatForDepth(depth));
  if (data) PremultiplyPixels(data, width * height, depth);
}

void gxtkSurface::SetSubData(int x, int y, int width, int height, std::span<const int> pixels,
                             int pitch) {
  if (format != GL_RGBA || width <= 0 || height <= 0 || pitch < 0) return;
  if (x < 0 || y < 0 || width > this->width - x || height > this->height - y) return;
  if (static_cast<size_t>(height - 1) * pitch + width > pixels.size()) return;
  if (!data) {
    data = static_cast<unsigned char*>(
        std::calloc(static_cast<size_t>(this->width) * this->height, kRgbaBytes));
    if (!data) return;
  }
  for (int j = 0; j < height; ++j) {
    unsigned char* out = PixelAt(x, y + j);
    for (int i = 0; i < width; ++i, out += kRgbaBytes) {
      const auto p = static_cast<unsigned>(pixels[static_cast<size_t>(j) * pitch + i]);
      const int a = static_cast<int>(p >> 24);
      out[0] = Premultiply((p >> 16) & 255, a);
      out[1] = Premultiply((p >> 8) & 255, a);
      out[2] = Premultiply(p & 255, a);
      out[3] = static_cast<unsigned char>(a);
    }
  }
  // A texture of an older context is remade whole from the buffer at the next Bind.
  if (seq == glfwGraphicsSeq) UploadRect(x, y, width, height);
}

unsigned char* gxtkSurface::PixelAt(int x, int y) const {
  return data + (static_cast<size_t>(y) * width + x) * kRgbaBytes;
}

void gxtkSurface::UploadRect(int x, int y, int width, int height) {
  GlDriver& gl = Gl();
  gl.BindTexture(texture);
  if (width == this->width) {
    gl.UploadTexture(x, y, width, height, GL_RGBA, PixelAt(x, y));
    return;
  }
  for (int j = 0; j < height; ++j) gl.UploadTexture(x, y + j, width, 1, GL_RGBA, PixelAt(x, y + j));
}

void gxtkSurface::Bind() {
  if (glfwGraphicsSeq == kNoContext) return;
  if (seq == glfwGraphicsSeq) {
    Gl().BindTexture(texture);
    return;
  }
  MakeTexture();
}

void gxtkSurface::MakeTexture() {
  GlDriver& gl = Gl();
  seq = glfwGraphicsSeq;
  texture = gl.CreateTexture();
  int textureWidth = width;
  int textureHeight = height;
  const auto glFormat = static_cast<GLenum>(format);
  if (!gl.AllocateTexture(glFormat, textureWidth, textureHeight)) {
    // An OpenGL without non-power-of-two textures: the picture fills the top-left corner.
    textureWidth = PowerOfTwoAbove(width);
    textureHeight = PowerOfTwoAbove(height);
    gl.AllocateTexture(glFormat, textureWidth, textureHeight);
  }
  uscale = 1.0f / static_cast<float>(std::max(textureWidth, 1));
  vscale = 1.0f / static_cast<float>(std::max(textureHeight, 1));
  if (data) gl.UploadTexture(0, 0, width, height, glFormat, data);
}

unsigned char* LoadImageData(const String& path, int* width, int* height, int* depth) {
  std::string whyNot;
  FILE* file = OpenFile(path, "rb", &whyNot);
  if (!file) {
    ReportUnloadableAsset(path, String(whyNot));
    return nullptr;
  }
  unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
  std::fclose(file);
  if (pixels) return pixels;
  // Memory running out is no fault of the file: the program ends with one line saying so. The
  // decoder gives no reason at all only when an allocation in its inflater failed.
  const char* why = stbi_failure_reason();
  if (!why || std::strcmp(why, kDecoderOutOfMemory) == 0) throw std::bad_alloc();
  ReportUnloadableAsset(path, String("not an image: ") + why);
  return nullptr;
}
