// The batched OpenGL renderer: colour, alpha and the 2D transform are applied on the
// processor while vertices are written into one client array, which reaches OpenGL in as
// few draw calls as the primitive kinds and textures allow.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "base/string.h"
#include "graphics/surface.h"

constexpr int MaxVertices = 1024;
constexpr int MaxQuads = MaxVertices / 4;
constexpr int kQuadIndexCount = MaxQuads * 6;

// Batch kinds; any kind from kBatchPolygon up is a convex polygon of that many vertices.
constexpr int kBatchPoints = 1;
constexpr int kBatchLines = 2;
constexpr int kBatchTriangles = 3;
constexpr int kBatchQuads = 4;
constexpr int kBatchPolygon = 5;

constexpr int kBlendAlpha = 0;
constexpr int kBlendAdditive = 1;

// Positions in window pixels (origin top left, y down); colour bytes R, G, B, A.
struct Vertex {
  float x;
  float y;
  float u;
  float v;
  uint32_t color;
};
static_assert(sizeof(Vertex) == 20, "OpenGL reads vertices with a 20-byte stride");

// What reached OpenGL since the last BeginRender: the tests and the debug overlay read it.
struct RenderStats {
  int drawCalls = 0;
  int flushes = 0;
};

// Segment count of an oval with the radii under the matrix's linear part (ix, iy, jx, jy).
int OvalSegments(float xRadius, float yRadius, bool transformed, float ix, float iy, float jx,
                 float jy);
// Colour premultiplied by alpha as the bytes R, G, B, A in memory.
uint32_t PackColor(float red, float green, float blue, float alpha);

class gxtkGraphics {
 public:
  // Sized from the window; makes no OpenGL call, so it can exist without a window.
  gxtkGraphics(int width, int height);
  virtual ~gxtkGraphics() = default;
  gxtkGraphics(const gxtkGraphics&) = delete;
  gxtkGraphics& operator=(const gxtkGraphics&) = delete;

  virtual int Width() { return width; }
  virtual int Height() { return height; }
  // Sets up OpenGL for a frame and drops anything left batched; 1 means render normally.
  virtual int BeginRender();
  virtual void EndRender();
  // Textures outlive a context change through the context sequence number.
  virtual void DiscardGraphics() {}

  // A bound surface with the decoded file, or null when it cannot be read.
  virtual std::unique_ptr<gxtkSurface> LoadSurface(const String& path);
  // A bound, fully transparent RGBA surface.
  virtual std::unique_ptr<gxtkSurface> CreateSurface(int width, int height);
  // Decodes the file into the surface without any OpenGL call.
  virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path);

  // Clears (within the scissor) to the bytes an opaque rectangle of the colour would leave, and
  // drops what is batched without drawing it.
  virtual void Cls(float red, float green, float blue);
  virtual void SetAlpha(float alpha);
  virtual void SetColor(float red, float green, float blue);
  virtual void SetBlend(int blend);
  virtual void SetScissor(int x, int y, int width, int height);
  virtual void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
  virtual void DrawPoint(float x, float y);
  virtual void DrawRect(float x, float y, float width, float height);
  virtual void DrawLine(float x1, float y1, float x2, float y2);
  virtual void DrawOval(float x, float y, float width, float height);
  // x0, y0, x1, y1, ...: 1 to MaxVertices vertices, else nothing is drawn.
  virtual void DrawPoly(std::span<const float> verts);
  // x, y, u, v per vertex, u and v in surface pixels offset by (srcx, srcy).
  virtual void DrawPoly2(std::span<const float> verts, gxtkSurface* surface, int srcx, int srcy);
  virtual void DrawSurface(gxtkSurface* surface, float x, float y);
  virtual void DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                            int srch);
  // Window pixels as 0xAARRGGBB, top row first, row i at offset + i * pitch. Ignored when
  // the rectangle does not fit in pixels.
  virtual void ReadPixels(std::span<int> pixels, int x, int y, int width, int height, int offset,
                          int pitch);
  virtual void WritePixels2(gxtkSurface* surface, std::span<const int> pixels, int x, int y,
                            int width, int height, int offset, int pitch);

  // Room for count vertices of the kind and texture, flushing first when they cannot join
  // the batch.
  Vertex* Begin(int kind, int count, gxtkSurface* surface);
  void Flush();

  int width;
  int height;
  uint32_t packedColor = 0;
  float colorR = 0;
  float colorG = 0;
  float colorB = 0;
  float alpha = 0;
  float ix = 0;
  float iy = 0;
  float jx = 0;
  float jy = 0;
  float tx = 0;
  float ty = 0;
  bool transformed = false;
  std::array<Vertex, MaxVertices> vertexBuffer{};
  std::array<uint16_t, kQuadIndexCount> quadIndices{};
  int batchKind = 0;
  int batchCount = 0;
  gxtkSurface* batchSurface = nullptr;
  RenderStats stats;
  // The counts of the last completed frame.
  RenderStats lastFrameStats;

 private:
  void ReadWindowSize();
  void Submit();
  // Writes a transformed position and the current colour.
  void Put(Vertex& vertex, float x, float y) const;
  void PutQuad(gxtkSurface* surface, float x, float y, float w, float h, float uLeft, float vTop,
               float uRight, float vBottom);
};
