// The OpenGL calls the renderer and surfaces make, behind one seam so that batching and
// texture handling can be checked without a window and the calls counted.
#pragma once

#include <GL/gl.h>

class GlDriver {
 public:
  virtual ~GlDriver() = default;

  // Viewport, a top-left-origin orthographic projection, the vertex, texture-coordinate and
  // colour client arrays over the vertex buffer, premultiplied alpha blending, no texturing.
  virtual void BeginFrame(int width, int height, const void* vertices, int stride);
  virtual void SetTexturing(bool enabled);
  virtual void BlendFunc(GLenum source, GLenum destination);
  virtual void DisableScissor();
  // GL window coordinates (origin at the bottom left).
  virtual void EnableScissor(int x, int y, int width, int height);
  virtual void Clear(float red, float green, float blue);
  virtual void DrawArrays(GLenum mode, int first, int count);
  virtual void DrawElements(GLenum mode, int count, const GLushort* indices);
  // Rows bottom to top, each pixel the bytes B, G, R, A.
  virtual void ReadPixels(int x, int y, int width, int height, void* bgra);

  // A new texture name, bound, with nearest filtering and edge clamping.
  virtual GLuint CreateTexture();
  virtual void BindTexture(GLuint texture);
  // Allocates the bound texture without contents; false when OpenGL refuses the size.
  virtual bool AllocateTexture(GLenum format, int width, int height);
  // Uploads tightly packed rows into the bound texture.
  virtual void UploadTexture(int x, int y, int width, int height, GLenum format,
                             const void* pixels);
  virtual void DeleteTexture(GLuint texture);
};

// The driver every renderer and surface calls; the real OpenGL one unless replaced.
GlDriver& Gl();
// Null restores the real driver.
void SetGlDriver(GlDriver* driver);
