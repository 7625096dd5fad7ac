// An OpenGL stand-in for tests without a window: it records the calls the renderer and
// surfaces make and can refuse texture sizes that are not powers of two.
#pragma once

#include <array>
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

struct ScissorCall {
  bool enabled = false;
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ScissorCall&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const ScissorCall& s) {
    return out << (s.enabled ? "on " : "off ") << s.x << "," << s.y << " " << s.width << "x"
               << s.height;
  }
};

class FakeGl : public GlDriver {
 public:
  // Installs itself and pretends a context exists; the destructor undoes both.
  FakeGl();
  ~FakeGl() override;

  void BeginFrame(int, int, const void*, int) override {}
  void SetTexturing(bool enabled) override { texturing = enabled; }
  void BlendFunc(GLenum, GLenum) override {}
  void DisableScissor() override { scissors.push_back({}); }
  void EnableScissor(int x, int y, int w, int h) override {
    scissors.push_back({true, x, y, w, h});
  }
  void Clear(float red, float green, float blue) override { clears.push_back({red, green, blue}); }
  void DrawArrays(GLenum mode, int first, int count) override {
    draws.push_back({mode, first, count, false, texturing, bound});
  }
  void DrawElements(GLenum mode, int count, const GLushort*) override {
    draws.push_back({mode, 0, count, true, texturing, bound});
  }
  // Fills GL row r, column c with r << 16 | c, rows counted from the bottom of the window.
  void ReadPixels(int x, int y, int width, int height, void* bgra) override;
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
  std::vector<ScissorCall> scissors;
  std::vector<std::array<float, 3>> clears;
  std::vector<std::pair<int, int>> allocations;
  std::vector<Upload> uploads;
  std::vector<GLuint> deleted;
  int readY = 0;

 private:
  int savedSeq;
};

// x, y, u, v of the renderer's batched vertices first..end.
inline std::vector<float> VertexValues(const gxtkGraphics& graphics, int first, int end) {
  std::vector<float> values;
  for (int i = first; i < end; ++i) {
    const Vertex& v = graphics.vertexBuffer[i];
    values.insert(values.end(), {v.x, v.y, v.u, v.v});
  }
  return values;
}
