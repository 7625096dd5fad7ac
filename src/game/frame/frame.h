// The frame: what the game draws this frame (the draw list and its drawing state), the
// logical screen fitted into the window, the loaded images and the loader's progress.
// May use: core.
#pragma once

#include <array>

#include "game/core/globals.h"

class Image;

constexpr int kImageSlots = 100;
constexpr int kImageInfoInts = 300;
constexpr int kDrawListFloats = 37500;

struct GameFrame {
  // The logical screen the game lays itself out on, and the console's overscan margin.
  float ScreenWidth = kDesignWidth, ScreenHeight = kDesignHeight;
  float Overscan = 0;
  float ClearRed = 0, ClearGreen = 0, ClearBlue = 0, ClearAlpha = 0;
  int DrawCount = 0;
  std::array<float, kDrawListFloats> DrawList{};
  float DrawSizeX = 0, DrawSizeY = 0, DrawRot = 0;
  float DrawRed = 0, DrawGreen = 0, DrawBlue = 0, DrawAlpha = 0;
  int DrawBlend = 0;
  float ScaleX = 0, ScaleY = 0;
  // The fit area in device pixels (FitArea).
  float FitLeft = 0, FitTop = 0, FitWidth = 0, FitHeight = 0;
  int FitMode = 0;
  int Landscape = 0;
  int LastDevWidth = 0, LastDevHeight = 0;
  int ImageLevel = 0;
  float ImageScale = 0;
  std::array<Image*, kImageSlots> Images{};
  std::array<int, kImageInfoInts> ImageInfo{};
  int FontImage = 0;
  int LoadStep = 0;
  int LogoSoundDone = 0;
  int RenderMillisecs = 0, RenderRate = 0, SmoothRenderRate = 0;
  int LastMillisecs = 0, FrameRate = 0, SmoothFrameRate = 0;
};
