#include "graphics/renderer.h"

#include <GL/gl.h>

int gxtkGraphics::BeginRender() {
  glViewport(0, 0, width, height);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  return 1;
}
