// An OpenGL stand-in for tests without a window: it records the calls the renderer and
// surfaces make and can refuse texture sizes that are not powers of two.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "graphics/gl_driver.h"

struct DrawCall {
  GLenum mode = 0;
  int first = 0;
  int count = 0;  // vertices for arrays, indices for elements
  bool elements = false;
  bool texturing = false;
  GLuint texture = 0;
};

struct Upload {
  GLuint texture = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bytes;
};

struct ScissorCall {
  bool enabled = false;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
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
  void EnableScissor(int x, int y, int width, int height) override;
  void Clear(float red, float green, float blue) override;
  void DrawArrays(GLenum mode, int first, int count) override;
  void DrawElements(GLenum mode, int count, const GLushort* indices) override;
  // Fills GL row r, column c with r << 16 | c, rows counted from the bottom of the window.
  void ReadPixels(int x, int y, int width, int height, void* bgra) override;
  GLuint CreateTexture() override;
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
