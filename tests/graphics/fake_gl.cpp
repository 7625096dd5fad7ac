#include "fake_gl.h"

#include <bit>
#include <cstring>

#include "host/glfw2.h"

namespace {
int BytesPerPixel(GLenum format) {
  switch (format) {
    case GL_LUMINANCE:
      return 1;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_RGB:
      return 3;
    default:
      return 4;
  }
}
}  // namespace

FakeGl::FakeGl() : savedSeq(glfwGraphicsSeq) {
  SetGlDriver(this);
  glfwGraphicsSeq = savedSeq + 1;
}

FakeGl::~FakeGl() {
  SetGlDriver(nullptr);
  glfwGraphicsSeq = savedSeq;
}

bool FakeGl::AllocateTexture(GLenum, int width, int height) {
  const bool powers = std::has_single_bit(static_cast<unsigned>(width)) &&
                      std::has_single_bit(static_cast<unsigned>(height));
  if (refuseNonPowerOfTwo && !powers) return false;
  allocations.emplace_back(width, height);
  return true;
}

void FakeGl::UploadTexture(int x, int y, int width, int height, GLenum format, const void* pixels) {
  const auto* bytes = static_cast<const unsigned char*>(pixels);
  const size_t size = static_cast<size_t>(width) * height * BytesPerPixel(format);
  uploads.push_back({bound, x, y, width, height, {bytes, bytes + size}});
}
