#include "graphics/graphics.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/angles.h"
#include "base/runtime.h"
#include "host/files.h"

namespace {
gxtkGraphics* device = nullptr;
gxtkGraphics* renderDevice = nullptr;
GraphicsContext context;

constexpr float kWhite = 255.0f;

void DrawFrame(const Image& image, float x, float y, int frame) {
  gxtkSurface* surface = image.surface.get();
  if (image.flags & Image::WholeSurface) {
    renderDevice->DrawSurface(surface, x, y);
    return;
  }
  const Frame& at = image.frames[static_cast<size_t>(frame)];
  renderDevice->DrawSurface2(surface, x, y, at.x, at.y, image.width, image.height);
}

bool CanDraw(const Image* image, int frame) {
  return renderDevice && image && image->surface && image->HasFrame(frame);
}

// Origins of frameCount frames filling the source rectangle left to right, then top to bottom,
// from (x, y); nothing when a frame falls outside it.
std::optional<std::vector<Frame>> LayOutFrames(int x, int y, int width, int height, int frameCount,
                                               int srcx, int srcy, int srcw, int srch) {
  std::vector<Frame> frames;
  frames.reserve(static_cast<size_t>(std::max(frameCount, 0)));
  int cx = x;
  int cy = y;
  for (int i = 0; i < frameCount; ++i) {
    if (cx + width > srcw) {
      cy += height;
      cx = 0;
      if (width > srcw) return std::nullopt;
    }
    if (cy + height > srch) return std::nullopt;
    frames.push_back({srcx + cx, srcy + cy});
    cx += width;
  }
  return frames;
}

String FrameGridMismatch(int surfaceWidth, int surfaceHeight, int frameWidth, int frameHeight,
                         int frameCount) {
  auto size = [](int w, int h) { return String::FromInt(w) + " x " + String::FromInt(h); };
  return "the image of " + size(surfaceWidth, surfaceHeight) + " pixels cannot hold " +
         String::FromInt(frameCount) + " frames of " + size(frameWidth, frameHeight);
}
}  // namespace

void Image::Init(std::unique_ptr<gxtkSurface> surface, int frameCount, int flags) {
  this->surface = std::move(surface);
  const int count = std::max(frameCount, 1);
  width = this->surface->Width() / count;
  height = this->surface->Height();
  frames.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) frames[static_cast<size_t>(i)] = {i * width, 0};
  ApplyFlags(flags);
}

void Image::Init2(std::unique_ptr<gxtkSurface> surface, int x, int y, int frameWidth,
                  int frameHeight, int frameCount, int flags, Image* source, int srcx, int srcy,
                  int srcw, int srch) {
  this->surface = std::move(surface);
  this->source = source;
  width = frameWidth;
  height = frameHeight;
  auto laidOut = LayOutFrames(x, y, width, height, frameCount, srcx, srcy, srcw, srch);
  if (!laidOut) kvError("Image frame outside surface");
  frames = std::move(*laidOut);
  ApplyFlags(flags);
}

void Image::ApplyFlags(int flags) {
  this->flags = flags;
  if (flags & PadHorizontal) {
    for (Frame& frame : frames) frame.x += 1;
    width -= 2;
  }
  if (flags & PadVertical) {
    for (Frame& frame : frames) frame.y += 1;
    height -= 2;
  }
  if (flags & HandleCentered) {
    SetHandle(0.5f * static_cast<float>(width), 0.5f * static_cast<float>(height));
  }
  const bool wholeSurface = frames.size() == 1 && frames[0].x == 0 && frames[0].y == 0 &&
                            width == surface->Width() && height == surface->Height();
  if (wholeSurface) this->flags |= WholeSurface;
}

void Image::SetHandle(float x, float y) {
  handleX = x;
  handleY = y;
  flags &= ~HandleCentered;
}

void GraphicsContext::Validate() {
  if (!matrixDirty || !renderDevice) return;
  renderDevice->SetMatrix(ix, iy, jx, jy, tx, ty);
  matrixDirty = false;
}

void SetGraphicsDevice(gxtkGraphics* graphics) {
  device = graphics;
}

gxtkGraphics* GetGraphicsDevice() {
  return device;
}

GraphicsContext& GetGraphicsContext() {
  return context;
}

Image* LoadImage(const String& path, int frameCount, int flags) {
  if (!device) return nullptr;
  std::unique_ptr<gxtkSurface> surface = device->LoadSurface(FixDataPath(path));
  if (!surface) return nullptr;
  auto* image = new Image();
  image->Init(std::move(surface), frameCount, flags);
  return image;
}

Image* LoadImage2(const String& path, int frameWidth, int frameHeight, int frameCount, int flags) {
  if (!device) return nullptr;
  const String dataPath = FixDataPath(path);
  std::unique_ptr<gxtkSurface> surface = device->LoadSurface(dataPath);
  if (!surface) return nullptr;
  const int surfaceWidth = surface->Width();
  const int surfaceHeight = surface->Height();
  // The file is the player's to replace: one too small for its frames is a bad file, not a
  // fault of the program, and is skipped like a missing one.
  if (!LayOutFrames(0, 0, frameWidth, frameHeight, frameCount, 0, 0, surfaceWidth, surfaceHeight)) {
    ReportUnloadableAsset(dataPath, FrameGridMismatch(surfaceWidth, surfaceHeight, frameWidth,
                                                      frameHeight, frameCount));
    return nullptr;
  }
  auto* image = new Image();
  image->Init2(std::move(surface), 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0, 0,
               surfaceWidth, surfaceHeight);
  return image;
}

void SetFont(Image* font, int firstChar) {
  if (!font) {
    if (!context.defaultFont) {
      context.defaultFont = LoadImage(kDefaultFontPath, kDefaultFontGlyphs, Image::PadHorizontal);
    }
    font = context.defaultFont;
    firstChar = kDefaultFirstChar;
  }
  context.font = font;
  context.firstChar = firstChar;
}

void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
  context.ix = ix;
  context.iy = iy;
  context.jx = jx;
  context.jy = jy;
  context.tx = tx;
  context.ty = ty;
  context.matrixDirty = true;
}

void SetMatrix2(std::span<const float, kMatrixFloats> m) {
  SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

void Transform(float ix, float iy, float jx, float jy, float tx, float ty) {
  const GraphicsContext& c = context;
  SetMatrix(ix * c.ix + iy * c.jx, ix * c.iy + iy * c.jy, jx * c.ix + jy * c.jx,
            jx * c.iy + jy * c.jy, tx * c.ix + ty * c.jx + c.tx, tx * c.iy + ty * c.jy + c.ty);
}

void Transform2(std::span<const float, kMatrixFloats> m) {
  Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

void Translate(float x, float y) {
  Transform(1, 0, 0, 1, x, y);
}

void Scale(float x, float y) {
  Transform(x, 0, 0, y, 0, 0);
}

void Rotate(float angle) {
  const float radians = angle * kDegreesToRadians;
  const auto s = static_cast<float>(std::sin(static_cast<double>(radians)));
  const auto c = static_cast<float>(std::cos(static_cast<double>(radians)));
  Transform(c, -s, s, c, 0, 0);
}

void PushMatrix() {
  std::vector<float>& stack = context.matrixStack;
  if (static_cast<size_t>(context.matrixTop) == stack.size()) {
    stack.resize(std::max<size_t>(stack.size() * 2, kMatrixFloats));
  }
  float* top = &stack[static_cast<size_t>(context.matrixTop)];
  top[0] = context.ix;
  top[1] = context.iy;
  top[2] = context.jx;
  top[3] = context.jy;
  top[4] = context.tx;
  top[5] = context.ty;
  context.matrixTop += kMatrixFloats;
}

void PopMatrix() {
  if (context.matrixTop < kMatrixFloats) return;
  context.matrixTop -= kMatrixFloats;
  const float* top = &context.matrixStack[static_cast<size_t>(context.matrixTop)];
  SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}

void Cls(float red, float green, float blue) {
  if (renderDevice) renderDevice->Cls(red, green, blue);
}

void SetColor(float red, float green, float blue) {
  if (!renderDevice) return;
  context.colorR = red;
  context.colorG = green;
  context.colorB = blue;
  renderDevice->SetColor(red, green, blue);
}

void SetAlpha(float alpha) {
  if (!renderDevice) return;
  context.alpha = alpha;
  renderDevice->SetAlpha(alpha);
}

void SetBlend(int blend) {
  if (!renderDevice) return;
  context.blend = blend;
  renderDevice->SetBlend(blend);
}

void SetScissor(float x, float y, float width, float height) {
  if (!renderDevice) return;
  context.scissorX = x;
  context.scissorY = y;
  context.scissorWidth = width;
  context.scissorHeight = height;
  renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                           static_cast<int>(height));
}

void BeginRender() {
  renderDevice = device;
  if (!renderDevice) return;
  context.matrixTop = 0;
  SetMatrix(1, 0, 0, 1, 0, 0);
  SetColor(kWhite, kWhite, kWhite);
  SetAlpha(1);
  SetBlend(kBlendAlpha);
  SetScissor(0, 0, static_cast<float>(device->Width()), static_cast<float>(device->Height()));
}

void EndRender() {
  renderDevice = nullptr;
}

void DrawRect(float x, float y, float width, float height) {
  if (!renderDevice) return;
  context.Validate();
  renderDevice->DrawRect(x, y, width, height);
}

void DrawEllipse(float x, float y, float xRadius, float yRadius) {
  if (!renderDevice) return;
  context.Validate();
  renderDevice->DrawOval(x - xRadius, y - yRadius, 2 * xRadius, 2 * yRadius);
}

void DrawLine(float x1, float y1, float x2, float y2) {
  if (!renderDevice) return;
  context.Validate();
  renderDevice->DrawLine(x1, y1, x2, y2);
}

void DrawImage(Image* image, float x, float y, int frame) {
  if (!CanDraw(image, frame)) return;
  context.Validate();
  DrawFrame(*image, x - image->handleX, y - image->handleY, frame);
}

void DrawImage2(Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                int frame) {
  if (!CanDraw(image, frame)) return;
  PushMatrix();
  Translate(x, y);
  Rotate(rotation);
  Scale(scaleX, scaleY);
  Translate(-image->handleX, -image->handleY);
  context.Validate();
  DrawFrame(*image, 0, 0, frame);
  PopMatrix();
}
