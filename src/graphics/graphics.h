// The graphics module: images, the transform stack and drawing through the renderer.
#pragma once

#include "graphics/renderer.h"

class Image;

void SetGraphicsDevice(gxtkGraphics* device);
gxtkGraphics* GetGraphicsDevice();
// Null selects the default font.
void SetFont(Image* font, int firstChar);
// Opens and closes a render pass of the module.
void BeginRender();
void EndRender();
