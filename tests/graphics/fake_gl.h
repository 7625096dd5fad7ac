// An OpenGL stand-in for tests without a window: it records the calls the renderer and
// surfaces make and can refuse texture sizes that are not powers of two.
#pragma once

#include <ostream>
#include <utility>
#include <vector>

#include "graphics/gl_driver.h"
#include "graphics/renderer.h"

struct DrawCall {
  GLenum mode = 0;
  int first = 0;
  int count = 0;  // vertices for arrays, indices for elements
  bool elements = false;
  bool texturing = false;
  GLuint texture = 0;
  bool operator==(const DrawCall&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const DrawCall& d) {
    return out << "mode " << d.mode << " first " << d.first << " count " << d.count
               << (d.elements ? " elements" : "") << " texture " << d.texturing << ":" << d.texture;
  }
};

struct Upload {
  GLuint texture = 0;
  int x = 0, y = 0, width = 0, height = 0;
  std::vector<unsigned char> bytes;
};

class FakeGl : public GlDriver {
 public:
  // Installs itself and pretends a context exists; the destructor undoes both.
  FakeGl();
  ~FakeGl() override;

  void BeginFrame(int, int, const void*, int) override {}
  void SetTexturing(bool enabled) override { texturing = enabled; }
  void BlendFunc(GLenum, GLenum) override {}
  void DisableScissor() override {}
  void EnableScissor(int, int, int, int) override {}
  void Clear(float, float, float) override {}
  void DrawArrays(GLenum mode, int first, int count) override {
    draws.push_back({mode, first, count, false, texturing, bound});
  }
  void DrawElements(GLenum mode, int count, const GLushort*) override {
    draws.push_back({mode, 0, count, true, texturing, bound});
  }
  void ReadPixels(int, int, int, int, void*) override {}
  GLuint CreateTexture() override { return bound = nextTexture++; }
  void BindTexture(GLuint texture) override { bound = texture; }
  bool AllocateTexture(GLenum format, int width, int height) override;
  void UploadTexture(int x, int y, int width, int height, GLenum format,
                     const void* pixels) override;
  void DeleteTexture(GLuint texture) override { deleted.push_back(texture); }

  bool refuseNonPowerOfTwo = false;
  bool texturing = false;
  GLuint bound = 0;
  GLuint nextTexture = 1;
  std::vector<DrawCall> draws;
  std::vector<std::pair<int, int>> allocations;
  std::vector<Upload> uploads;
  std::vector<GLuint> deleted;

 private:
  int savedSeq;
};
