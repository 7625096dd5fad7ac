// The batched OpenGL renderer.
#pragma once

class gxtkGraphics {
 public:
  // Sized from the window; makes no OpenGL call, so it can exist without a window.
  gxtkGraphics(int width, int height) : width(width), height(height) {}
  virtual ~gxtkGraphics() = default;

  // Sets up the frame; 1 means render normally.
  virtual int BeginRender();
  virtual void EndRender() {}
  virtual void DiscardGraphics() {}

  int width;
  int height;
};
