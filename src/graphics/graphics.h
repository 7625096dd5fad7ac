// The graphics module: images cut into frames, the current transform with its matrix
// stack, and drawing through the renderer while a render pass is open.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "base/string.h"
#include "graphics/renderer.h"

struct Frame {
  int x = 0;
  int y = 0;
};

// A surface cut into equal frames with a handle: the point of a frame that lands on the
// drawing position.
class Image {
 public:
  static constexpr int HandleCentered = 1;
  // A one-pixel border left and right (top and bottom) of each frame is not drawn.
  static constexpr int PadHorizontal = 2;
  static constexpr int PadVertical = 4;
  // One frame covering the whole surface: drawn with the renderer's whole-surface draw.
  static constexpr int WholeSurface = 65536;

  // A horizontal strip of frameCount frames (below 1 counts as 1).
  void Init(std::unique_ptr<gxtkSurface> surface, int frameCount, int flags);
  // Frames of frameWidth x frameHeight filling the source rectangle left to right, then top
  // to bottom, from (x, y). A frame that does not fit is the runtime error
  // "Image frame outside surface".
  void Init2(std::unique_ptr<gxtkSurface> surface, int x, int y, int frameWidth, int frameHeight,
             int frameCount, int flags, Image* source, int srcx, int srcy, int srcw, int srch);
  void ApplyFlags(int flags);
  void SetHandle(float x, float y);

  int FrameCount() const { return static_cast<int>(frames.size()); }
  bool HasFrame(int frame) const { return frame >= 0 && frame < FrameCount(); }

  std::unique_ptr<gxtkSurface> surface;
  int width = 0;
  int height = 0;
  std::vector<Frame> frames;
  int flags = 0;
  float handleX = 0;
  float handleY = 0;
  Image* source = nullptr;
};

constexpr int kMatrixFloats = 6;
constexpr int kInitialMatrixDepth = 32;

struct GraphicsContext {
  // Gives the renderer the current matrix if it changed since the last draw.
  void Validate();

  Image* defaultFont = nullptr;
  Image* font = nullptr;
  int firstChar = 0;
  int matrixTop = 0;
  float ix = 1;
  float iy = 0;
  float jx = 0;
  float jy = 1;
  float tx = 0;
  float ty = 0;
  bool matrixDirty = false;
  float colorR = 0;
  float colorG = 0;
  float colorB = 0;
  float alpha = 0;
  int blend = 0;
  float scissorX = 0;
  float scissorY = 0;
  float scissorWidth = 0;
  float scissorHeight = 0;
  std::vector<float> matrixStack = std::vector<float>(kInitialMatrixDepth * kMatrixFloats);
};

constexpr const char* kDefaultFontPath = "kibo_font.png";
constexpr int kDefaultFontGlyphs = 96;
constexpr int kDefaultFirstChar = 32;

void SetGraphicsDevice(gxtkGraphics* device);
gxtkGraphics* GetGraphicsDevice();
GraphicsContext& GetGraphicsContext();

// New images owned by the caller, or null when the file cannot be read.
Image* LoadImage(const String& path, int frameCount, int flags);
Image* LoadImage2(const String& path, int frameWidth, int frameHeight, int frameCount, int flags);
// Null selects the default font (loaded on first need) with the first character 32.
void SetFont(Image* font, int firstChar);

void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
void SetMatrix2(std::span<const float, kMatrixFloats> matrix);
// Applies the given transform to points first, then the current one.
void Transform(float ix, float iy, float jx, float jy, float tx, float ty);
void Transform2(std::span<const float, kMatrixFloats> matrix);
void Translate(float x, float y);
void Scale(float x, float y);
// Degrees; positive turns counter-clockwise on the screen.
void Rotate(float angle);
void PushMatrix();
// Without a matching PushMatrix the current matrix stays as it is.
void PopMatrix();

// The setters and drawing functions act only while a render pass is open.
// Fills the scissor area with the colour as an opaque rectangle would, at a fraction of the cost.
void Cls(float red, float green, float blue);
void SetColor(float red, float green, float blue);
void SetAlpha(float alpha);
void SetBlend(int blend);
void SetScissor(float x, float y, float width, float height);
void BeginRender();
void EndRender();
void DrawRect(float x, float y, float width, float height);
// Centre and radii.
void DrawEllipse(float x, float y, float xRadius, float yRadius);
void DrawLine(float x1, float y1, float x2, float y2);
// A null image or a frame outside the image draws nothing.
void DrawImage(Image* image, float x, float y, int frame);
// The frame rotated (degrees) and scaled about its handle, the handle landing on (x, y).
void DrawImage2(Image* image, float x, float y, float rotation, float scaleX, float scaleY,
                int frame);
