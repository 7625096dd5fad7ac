#include "graphics/gl_driver.h"

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace {
GlDriver openGl;
GlDriver* current = &openGl;

constexpr int kPositionOffset = 0;
constexpr int kTexCoordOffset = 8;
constexpr int kColorOffset = 16;
// OpenGL keeps at most one error flag per kind, so a few reads empty the queue.
constexpr int kMaxStaleErrors = 8;

const void* At(const void* base, int offset) {
  return static_cast<const unsigned char*>(base) + offset;
}
}  // namespace

GlDriver& Gl() {
  return *current;
}

void SetGlDriver(GlDriver* driver) {
  current = driver ? driver : &openGl;
}

void GlDriver::BeginFrame(int width, int height, const void* vertices, int stride) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(2, GL_FLOAT, stride, At(vertices, kPositionOffset));
  glTexCoordPointer(2, GL_FLOAT, stride, At(vertices, kTexCoordOffset));
  glColorPointer(4, GL_UNSIGNED_BYTE, stride, At(vertices, kColorOffset));
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_TEXTURE_2D);
}

void GlDriver::SetTexturing(bool enabled) {
  if (enabled) {
    glEnable(GL_TEXTURE_2D);
  } else {
    glDisable(GL_TEXTURE_2D);
  }
}

void GlDriver::BlendFunc(GLenum source, GLenum destination) {
  glBlendFunc(source, destination);
}

void GlDriver::DisableScissor() {
  glDisable(GL_SCISSOR_TEST);
}

void GlDriver::EnableScissor(int x, int y, int width, int height) {
  glEnable(GL_SCISSOR_TEST);
  glScissor(x, y, width, height);
}

void GlDriver::Clear(float red, float green, float blue) {
  glClearColor(red, green, blue, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
}

void GlDriver::DrawArrays(GLenum mode, int first, int count) {
  glDrawArrays(mode, first, count);
}

void GlDriver::DrawElements(GLenum mode, int count, const GLushort* indices) {
  glDrawElements(mode, count, GL_UNSIGNED_SHORT, indices);
}

void GlDriver::ReadPixels(int x, int y, int width, int height, void* bgra) {
  glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
}

GLuint GlDriver::CreateTexture() {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  return texture;
}

void GlDriver::BindTexture(GLuint texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
}

bool GlDriver::AllocateTexture(GLenum format, int width, int height) {
  // Drop errors left by earlier calls so that only this allocation is judged.
  for (int i = 0; i < kMaxStaleErrors && glGetError() != GL_NO_ERROR; ++i) {
  }
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
               GL_UNSIGNED_BYTE, nullptr);
  return glGetError() == GL_NO_ERROR;
}

void GlDriver::UploadTexture(int x, int y, int width, int height, GLenum format,
                             const void* pixels) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, format, GL_UNSIGNED_BYTE, pixels);
}

void GlDriver::DeleteTexture(GLuint texture) {
  glDeleteTextures(1, &texture);
}
