#include "graphics/graphics.h"

namespace {
gxtkGraphics* device = nullptr;
gxtkGraphics* renderDevice = nullptr;
}  // namespace

void SetGraphicsDevice(gxtkGraphics* graphics) {
  device = graphics;
}
gxtkGraphics* GetGraphicsDevice() {
  return device;
}
void SetFont(Image*, int) {}
void BeginRender() {
  renderDevice = device;
}
void EndRender() {
  renderDevice = nullptr;
}
