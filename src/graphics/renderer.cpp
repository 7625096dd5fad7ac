#include "graphics/renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/gl_driver.h"
#include "host/glfw2.h"

namespace {
constexpr int kMinOvalSegments = 12;
constexpr int kMaxOvalSegments = MaxVertices;
constexpr int kSegmentStep = 4;
constexpr float kTwoPi = 6.2831855f;
constexpr float kMaxChannel = 255.0f;
constexpr int kRgbaBytes = 4;

// Truncated toward zero and held to a byte (callers stay in range; NaN gives 0).
uint32_t ChannelByte(float value) {
  if (!(value > 0)) return 0;
  if (value >= kMaxChannel) return 255;
  return static_cast<uint32_t>(value);
}
}  // namespace

int OvalSegments(float xRadius, float yRadius, bool transformed, float ix, float iy, float jx,
                 float jy) {
  // Under a transform the radii are measured as they land on the screen.
  const auto length = [](float x, float y) { return std::sqrt(x * x + y * y); };
  const float segments =
      transformed
          ? std::trunc(length(xRadius * ix, xRadius * iy) + length(yRadius * jx, yRadius * jy))
          : std::fabs(std::trunc(xRadius)) + std::fabs(std::trunc(yRadius));
  if (!(segments >= kMinOvalSegments)) return kMinOvalSegments;
  if (segments > kMaxOvalSegments) return kMaxOvalSegments;
  return static_cast<int>(segments) / kSegmentStep * kSegmentStep;
}

uint32_t PackColor(float red, float green, float blue, float alpha) {
  return ChannelByte(kMaxChannel * alpha) << 24 | ChannelByte(blue * alpha) << 16 |
         ChannelByte(green * alpha) << 8 | ChannelByte(red * alpha);
}

gxtkGraphics::gxtkGraphics(int width, int height) : width(width), height(height) {
  for (int q = 0; q < MaxQuads; ++q) {
    const auto first = static_cast<uint16_t>(q * 4);
    uint16_t* quad = &quadIndices[static_cast<size_t>(q) * 6];
    quad[0] = first;
    quad[1] = first + 1;
    quad[2] = first + 2;
    quad[3] = first;
    quad[4] = first + 2;
    quad[5] = first + 3;
  }
}

void gxtkGraphics::ReadWindowSize() {
  int windowWidth = 0;
  int windowHeight = 0;
  glfw2::GetWindowSize(&windowWidth, &windowHeight);
  // Without a window (tests, a window being reopened) the last known size stands.
  if (windowWidth <= 0 || windowHeight <= 0) return;
  width = windowWidth;
  height = windowHeight;
}

int gxtkGraphics::BeginRender() {
  ReadWindowSize();
  Gl().BeginFrame(width, height, vertexBuffer.data(), sizeof(Vertex));
  batchCount = 0;
  stats = {};
  return 1;
}

void gxtkGraphics::EndRender() {
  Flush();
  lastFrameStats = stats;
}

std::unique_ptr<gxtkSurface> gxtkGraphics::LoadSurface(const String& path) {
  auto surface = std::make_unique<gxtkSurface>();
  if (!LoadSurface__UNSAFE__(surface.get(), path)) return nullptr;
  surface->Bind();
  return surface;
}

std::unique_ptr<gxtkSurface> gxtkGraphics::CreateSurface(int width, int height) {
  auto surface = std::make_unique<gxtkSurface>();
  const int w = std::max(width, 0);
  const int h = std::max(height, 0);
  void* pixels = w > 0 && h > 0 ? std::calloc(static_cast<size_t>(w) * h, kRgbaBytes) : nullptr;
  surface->SetData(static_cast<unsigned char*>(pixels), w, h, kRgbaBytes);
  surface->Bind();
  return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) {
  int w = 0;
  int h = 0;
  int depth = 0;
  unsigned char* pixels = LoadImageData(path, &w, &h, &depth);
  if (!pixels) return false;
  surface->SetData(pixels, w, h, depth);
  return true;
}

Vertex* gxtkGraphics::Begin(int kind, int count, gxtkSurface* surface) {
  if (kind != batchKind || surface != batchSurface || batchCount + count > MaxVertices) {
    Flush();
    batchKind = kind;
    batchSurface = surface;
  }
  Vertex* first = &vertexBuffer[static_cast<size_t>(batchCount)];
  batchCount += count;
  return first;
}

void gxtkGraphics::Flush() {
  if (batchCount == 0) return;
  ++stats.flushes;
  GlDriver& gl = Gl();
  if (batchSurface) {
    gl.SetTexturing(true);
    batchSurface->Bind();
  }
  Submit();
  if (batchSurface) gl.SetTexturing(false);
  batchCount = 0;
}

void gxtkGraphics::Submit() {
  GlDriver& gl = Gl();
  switch (batchKind) {
    case kBatchPoints:
      gl.DrawArrays(GL_POINTS, 0, batchCount);
      break;
    case kBatchLines:
      gl.DrawArrays(GL_LINES, 0, batchCount);
      break;
    case kBatchTriangles:
      gl.DrawArrays(GL_TRIANGLES, 0, batchCount);
      break;
    case kBatchQuads:
      gl.DrawElements(GL_TRIANGLES, batchCount / 4 * 6, quadIndices.data());
      break;
    default:
      for (int first = 0; first < batchCount; first += batchKind) {
        gl.DrawArrays(GL_TRIANGLE_FAN, first, batchKind);
        ++stats.drawCalls;
      }
      return;
  }
  ++stats.drawCalls;
}

void gxtkGraphics::Put(Vertex& vertex, float x, float y) const {
  if (transformed) {
    vertex.x = ix * x + jx * y + tx;
    vertex.y = iy * x + jy * y + ty;
  } else {
    vertex.x = x;
    vertex.y = y;
  }
  vertex.color = packedColor;
}

void gxtkGraphics::Cls(float red, float green, float blue) {
  batchCount = 0;
  // The bytes an opaque rectangle of that colour would leave, so a clear can stand in for one.
  const uint32_t bytes = PackColor(red, green, blue, 1);
  const auto channel = [bytes](int shift) {
    return static_cast<float>(bytes >> shift & 0xff) / kMaxChannel;
  };
  Gl().Clear(channel(0), channel(8), channel(16));
}

void gxtkGraphics::SetAlpha(float alpha) {
  this->alpha = alpha;
  packedColor = PackColor(colorR, colorG, colorB, alpha);
}

void gxtkGraphics::SetColor(float red, float green, float blue) {
  colorR = red;
  colorG = green;
  colorB = blue;
  packedColor = PackColor(colorR, colorG, colorB, alpha);
}

void gxtkGraphics::SetBlend(int blend) {
  Flush();
  Gl().BlendFunc(GL_ONE, blend == kBlendAdditive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
}

void gxtkGraphics::SetScissor(int x, int y, int width, int height) {
  Flush();
  if (x == 0 && y == 0 && width == Width() && height == Height()) {
    Gl().DisableScissor();
  } else {
    Gl().EnableScissor(x, Height() - y - height, width, height);
  }
}

void gxtkGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
  this->ix = ix;
  this->iy = iy;
  this->jx = jx;
  this->jy = jy;
  this->tx = tx;
  this->ty = ty;
  const bool identity = ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0;
  transformed = !identity;
}

void gxtkGraphics::DrawPoint(float x, float y) {
  Put(*Begin(kBatchPoints, 1, nullptr), x, y);
}

void gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
  Vertex* v = Begin(kBatchLines, 2, nullptr);
  Put(v[0], x1, y1);
  Put(v[1], x2, y2);
}

void gxtkGraphics::DrawRect(float x, float y, float width, float height) {
  Vertex* v = Begin(kBatchQuads, 4, nullptr);
  Put(v[0], x, y);
  Put(v[1], x + width, y);
  Put(v[2], x + width, y + height);
  Put(v[3], x, y + height);
}

void gxtkGraphics::DrawOval(float x, float y, float width, float height) {
  const float xr = width * 0.5f;
  const float yr = height * 0.5f;
  const int segments = OvalSegments(xr, yr, transformed, ix, iy, jx, jy);
  const float cx = x + xr;
  const float cy = y + yr;
  Vertex* v = Begin(segments, segments, nullptr);
  for (int i = 0; i < segments; ++i) {
    const float theta = static_cast<float>(i) * kTwoPi / static_cast<float>(segments);
    Put(v[i], cx + std::cos(theta) * xr, cy - std::sin(theta) * yr);
  }
}

void gxtkGraphics::DrawPoly(std::span<const float> verts) {
  const int count = static_cast<int>(verts.size() / 2);
  if (count < 1 || count > MaxVertices) return;
  Vertex* v = Begin(count, count, nullptr);
  for (int i = 0; i < count; ++i) Put(v[i], verts[2 * i], verts[2 * i + 1]);
}

void gxtkGraphics::DrawPoly2(std::span<const float> verts, gxtkSurface* surface, int srcx,
                             int srcy) {
  const int count = static_cast<int>(verts.size() / 4);
  if (!surface || count < 1 || count > MaxVertices) return;
  Vertex* v = Begin(count, count, surface);
  for (int i = 0; i < count; ++i) {
    const float* in = &verts[static_cast<size_t>(i) * 4];
    Put(v[i], in[0], in[1]);
    v[i].u = (in[2] + static_cast<float>(srcx)) * surface->uscale;
    v[i].v = (in[3] + static_cast<float>(srcy)) * surface->vscale;
  }
}

void gxtkGraphics::PutQuad(gxtkSurface* surface, float x, float y, float w, float h, float uLeft,
                           float vTop, float uRight, float vBottom) {
  Vertex* v = Begin(kBatchQuads, 4, surface);
  Put(v[0], x, y);
  Put(v[1], x + w, y);
  Put(v[2], x + w, y + h);
  Put(v[3], x, y + h);
  v[0].u = v[3].u = uLeft;
  v[1].u = v[2].u = uRight;
  v[0].v = v[1].v = vTop;
  v[2].v = v[3].v = vBottom;
}

void gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
  if (!surface) return;
  const auto w = static_cast<float>(surface->Width());
  const auto h = static_cast<float>(surface->Height());
  PutQuad(surface, x, y, w, h, 0, 0, w * surface->uscale, h * surface->vscale);
}

void gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy,
                                int srcw, int srch) {
  if (!surface) return;
  const float u = surface->uscale;
  const float v = surface->vscale;
  PutQuad(surface, x, y, static_cast<float>(srcw), static_cast<float>(srch),
          static_cast<float>(srcx) * u, static_cast<float>(srcy) * v,
          static_cast<float>(srcx + srcw) * u, static_cast<float>(srcy + srch) * v);
}

void gxtkGraphics::ReadPixels(std::span<int> pixels, int x, int y, int width, int height,
                              int offset, int pitch) {
  Flush();
  if (width <= 0 || height <= 0 || offset < 0 || pitch < 0) return;
  const size_t needed =
      static_cast<size_t>(offset) + static_cast<size_t>(height - 1) * pitch + width;
  if (needed > pixels.size()) return;
  std::vector<int> rows(static_cast<size_t>(width) * height);
  Gl().ReadPixels(x, Height() - y - height, width, height, rows.data());
  for (int i = 0; i < height; ++i) {
    const int* glRow = &rows[static_cast<size_t>(height - 1 - i) * width];
    std::memcpy(&pixels[static_cast<size_t>(offset) + static_cast<size_t>(i) * pitch], glRow,
                static_cast<size_t>(width) * sizeof(int));
  }
}

void gxtkGraphics::WritePixels2(gxtkSurface* surface, std::span<const int> pixels, int x, int y,
                                int width, int height, int offset, int pitch) {
  Flush();
  if (!surface || offset < 0 || static_cast<size_t>(offset) > pixels.size()) return;
  surface->SetSubData(x, y, width, height, pixels.subspan(static_cast<size_t>(offset)), pitch);
}
