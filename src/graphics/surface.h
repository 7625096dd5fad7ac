// Surfaces: decoded pictures kept in memory premultiplied by alpha, with an OpenGL texture
// made lazily for the current context and remade after the host opens a new window.
#pragma once

#include <span>

#include "base/string.h"

class gxtkSurface {
 public:
  gxtkSurface() = default;
  virtual ~gxtkSurface();
  gxtkSurface(const gxtkSurface&) = delete;
  gxtkSurface& operator=(const gxtkSurface&) = delete;

  // Deletes the texture if it belongs to the current context and frees the pixels.
  virtual int Discard();
  virtual int Width() { return width; }
  virtual int Height() { return height; }
  virtual int Loaded() { return 1; }
  virtual void OnUnsafeLoadComplete() { Bind(); }

  // Takes ownership of a malloc'd buffer of width x height pixels of depth bytes (1 to 4)
  // and premultiplies it in place. Makes no OpenGL call.
  void SetData(unsigned char* pixels, int width, int height, int depth);
  // Stores 0xAARRGGBB ints (rows pitch ints apart) premultiplied at (x, y) and updates a live
  // texture. Only RGBA surfaces are written; a rectangle reaching outside the surface or
  // beyond the given pixels is ignored.
  void SetSubData(int x, int y, int width, int height, std::span<const int> pixels, int pitch);
  // Binds the texture, making it first when the current context has none of it yet. Does
  // nothing while no context exists.
  void Bind();

  unsigned char* data = nullptr;
  int width = 0;
  int height = 0;
  int depth = 0;
  int format = 0;
  // glfwGraphicsSeq of the context the texture was made in; -1 when there is none.
  int seq = -1;
  unsigned texture = 0;
  float uscale = 0;
  float vscale = 0;

 private:
  void Release();
  void MakeTexture();
  // Start of an RGBA pixel in data.
  unsigned char* PixelAt(int x, int y) const;
  // Sends a rectangle of data to the live texture.
  void UploadRect(int x, int y, int width, int height);
};

// Decodes an image file (opened through the host's data paths) keeping its own channel
// count; rows top to bottom. Null when the file cannot be opened or decoded. The caller
// owns the buffer and releases it with free.
unsigned char* LoadImageData(const String& path, int* width, int* height, int* depth);
