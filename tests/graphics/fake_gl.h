// An OpenGL stand-in for tests without a window: it pretends a context exists while it lives,
// records draws, textures and uploads, and can refuse sizes that are not powers of two.
#pragma once

#include <bit>
#include <ostream>
#include <utility>
#include <vector>

#include "graphics/gl_driver.h"
#include "graphics/renderer.h"
#include "host/glfw2.h"

struct DrawCall {
  GLenum mode = 0;
  int count = 0;  // vertices for arrays, indices for elements
  bool elements = false, texturing = false;
  bool operator==(const DrawCall&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const DrawCall& d) {
    return out << d.mode << " x" << d.count << (d.elements ? " elements" : "")
               << (d.texturing ? " textured" : "");
  }
};

struct Upload {
  int width = 0, height = 0;
  std::vector<unsigned char> bytes;
};

class FakeGl : public GlDriver {
 public:
  FakeGl() {
    SetGlDriver(this);
    glfwGraphicsSeq = saved + 1;
  }
  ~FakeGl() override {
    SetGlDriver(nullptr);
    glfwGraphicsSeq = saved;
  }

  void BeginFrame(int, int, const void*, int) override {}
  void SetTexturing(bool enabled) override { texturing = enabled; }
  void BlendFunc(GLenum, GLenum) override {}
  void DisableScissor() override {}
  void EnableScissor(int, int, int, int) override {}
  void Clear(float, float, float) override {}
  void DrawArrays(GLenum mode, int, int count) override {
    draws.push_back({mode, count, false, texturing});
  }
  void DrawElements(GLenum mode, int count, const GLushort*) override {
    draws.push_back({mode, count, true, texturing});
  }
  void ReadPixels(int, int, int, int, void*) override {}
  GLuint CreateTexture() override { return nextTexture++; }
  void BindTexture(GLuint) override {}
  bool AllocateTexture(GLenum, int width, int height) override {
    if (refuseNonPowerOfTwo &&
        !(std::has_single_bit(0u + width) && std::has_single_bit(0u + height)))
      return false;
    allocations.emplace_back(width, height);
    return true;
  }
  void UploadTexture(int, int, int width, int height, GLenum format, const void* pixels) override {
    const int depth = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : format == GL_LUMINANCE ? 1 : 2;
    const auto* bytes = static_cast<const unsigned char*>(pixels);
    uploads.push_back({width, height, {bytes, bytes + width * height * depth}});
  }
  void DeleteTexture(GLuint texture) override { deleted.push_back(texture); }

  bool refuseNonPowerOfTwo = false, texturing = false;
  GLuint nextTexture = 1;
  std::vector<DrawCall> draws;
  std::vector<std::pair<int, int>> allocations;
  std::vector<Upload> uploads;
  std::vector<GLuint> deleted;
  const int saved = glfwGraphicsSeq;
};
