// Sprite throughput of the renderer in a real window (run under xvfb-run with Mesa):
// 10,000 textured 32 x 32 sprites per frame, drawn plainly and turned about their handles.
// The Time column is the time for one frame of 10,000 sprites.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "graphics/graphics.h"
#include "host/glfw2.h"

namespace {

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
constexpr int kSprites = 10000;
constexpr int kSpriteSize = 32;
constexpr int kFramesOnSheet = 4;
constexpr double kFramesPerSecond = 60.0;

// One window and a 128 x 32 sheet of four 32 x 32 frames, made once for every benchmark.
struct Scene {
  Scene() {
    if (!getenv("DISPLAY") || !glfw2::Init()) return;
    if (!glfw2::OpenWindow(kWindowWidth, kWindowHeight, 8, 8, 8, 8, 0, 0, glfw2::WINDOW)) return;
    graphics = std::make_unique<gxtkGraphics>(kWindowWidth, kWindowHeight);
    SetGraphicsDevice(graphics.get());
    const int sheetWidth = kSpriteSize * kFramesOnSheet;
    std::unique_ptr<gxtkSurface> surface = graphics->CreateSurface(sheetWidth, kSpriteSize);
    std::vector<int> pixels(static_cast<size_t>(sheetWidth) * kSpriteSize);
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<int>(0xFF000000u | i * 2654435761u >> 8);
    graphics->WritePixels2(surface.get(), pixels, 0, 0, sheetWidth, kSpriteSize, 0, sheetWidth);
    sprite = std::make_unique<Image>();
    sprite->Init2(std::move(surface), 0, 0, kSpriteSize, kSpriteSize, kFramesOnSheet,
                  Image::HandleCentered, nullptr, 0, 0, sheetWidth, kSpriteSize);
  }

  std::unique_ptr<gxtkGraphics> graphics;
  std::unique_ptr<Image> sprite;
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

template <typename DrawSprite>
void RunFrames(benchmark::State& state, DrawSprite draw) {
  Scene& scene = TheScene();
  if (!scene.graphics) {
    state.SkipWithError("no X display");
    return;
  }
  for (auto _ : state) {
    scene.graphics->BeginRender();
    BeginRender();
    for (int i = 0; i < kSprites; ++i) draw(*scene.sprite, i);
    EndRender();
    scene.graphics->EndRender();
    glFinish();  // count the rasterising too, not only the submission
  }
  const double sprites = static_cast<double>(state.iterations()) * kSprites;
  state.counters["sprites_per_frame_at_60fps"] =
      benchmark::Counter(sprites / kFramesPerSecond, benchmark::Counter::kIsRate);
  state.counters["draw_calls"] = scene.graphics->lastFrameStats.drawCalls;
}

float X(int i) {
  return static_cast<float>(i * 37 % kWindowWidth);
}

float Y(int i) {
  return static_cast<float>(i * 53 % kWindowHeight);
}

void BM_Sprites(benchmark::State& state) {
  RunFrames(state,
            [](Image& sprite, int i) { DrawImage(&sprite, X(i), Y(i), i % kFramesOnSheet); });
}
BENCHMARK(BM_Sprites)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_TurnedScaledSprites(benchmark::State& state) {
  RunFrames(state, [](Image& sprite, int i) {
    DrawImage2(&sprite, X(i), Y(i), static_cast<float>(i % 360), 1.5f, 1.5f, i % kFramesOnSheet);
  });
}
BENCHMARK(BM_TurnedScaledSprites)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Sprites shrunk to a pixel: the submission through OpenGL without the fill.
void BM_PixelSizedSprites(benchmark::State& state) {
  constexpr float kToOnePixel = 1.0f / kSpriteSize;
  RunFrames(state, [](Image& sprite, int i) {
    DrawImage2(&sprite, X(i), Y(i), 0, kToOnePixel, kToOnePixel, i % kFramesOnSheet);
  });
}
BENCHMARK(BM_PixelSizedSprites)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The vertex work alone: the same sprites, dropped before they reach OpenGL.
void BM_SpriteBatchingOnly(benchmark::State& state) {
  Scene& scene = TheScene();
  if (!scene.graphics) {
    state.SkipWithError("no X display");
    return;
  }
  for (auto _ : state) {
    scene.graphics->BeginRender();
    BeginRender();
    for (int i = 0; i < kSprites; ++i) {
      DrawImage2(scene.sprite.get(), X(i), Y(i), static_cast<float>(i % 360), 1.5f, 1.5f, 0);
      if (scene.graphics->batchCount == MaxVertices) scene.graphics->batchCount = 0;
    }
    EndRender();
    scene.graphics->batchCount = 0;
  }
}
BENCHMARK(BM_SpriteBatchingOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
