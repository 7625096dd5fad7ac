// Asset loading, one step per update, and the loading screen shown meanwhile.
#include <algorithm>
#include <cmath>

#include "game/globals.h"
#include "game/my_app.h"
#include "graphics/graphics.h"

namespace {

constexpr int kNone = -1;
constexpr int kLastStep = 36;  // the last step that loads something
constexpr int kLogoStep = 4;
constexpr int kFontStep = 6;
constexpr int kStartJingle = 96;

constexpr int kLogoSlot = 93;
constexpr int kFontSlot = 90;
constexpr int kGlyphCell = 16;
constexpr int kGlyphFrames = 128;
constexpr int kGlyphW = 7;
constexpr int kGlyphH = 10;

// Largest device side served by the 1x and the 2x image sets.
constexpr int kMaxSideLevel1 = 630;
constexpr int kMaxSideLevel2 = 1230;

struct ImageLoad {
  int slot;
  const char* name;
  int w, h, frames;
};

struct LoadingStep {
  ImageLoad images[2];
  int sounds[2];
};

constexpr ImageLoad kNoImage{kNone, "", 0, 0, 0};
constexpr ImageLoad kLogo{kLogoSlot, "common/QorvLogo", 256, 256, 1};

// Steps 1..36; step 6 is the font, step 4 also plays the start jingle once per run.
constexpr LoadingStep kSteps[kLastStep] = {
    {{{97, "common/icons", 32, 32, 16}, kNoImage}, {96, kNone}},
    {{{95, "common/Buttons", 64, 64, 16}, kNoImage}, {kNone, kNone}},
    {{{94, "common/dpad", 32, 32, 16}, kNoImage}, {kNone, kNone}},
    {{kLogo, kNoImage}, {kNone, kNone}},
    {{{91, "common/Testcard_Circle", 256, 256, 1}, kNoImage}, {kNone, kNone}},
    {{kNoImage, kNoImage}, {kNone, kNone}},
    {{kNoImage, kNoImage}, {1, kNone}},
    {{kNoImage, kNoImage}, {95, kNone}},
    {{kNoImage, kNoImage}, {98, kNone}},
    {{kNoImage, kNoImage}, {99, kNone}},
    {{{99, "menu", 256, 256, 4}, kNoImage}, {kNone, kNone}},
    {{{98, "logo", 256, 128, 1}, kNoImage}, {kNone, kNone}},
    {{{96, "parts", 8, 8, 256}, {10, "out", 8, 8, 256}}, {kNone, kNone}},
    {{{80, "BadgesA", 64, 64, 64}, kNoImage}, {kNone, kNone}},
    {{{85, "common/circle", 256, 256, 4}, kNoImage}, {kNone, kNone}},
    {{{1, "gfx", 32, 32, 64}, kNoImage}, {kNone, kNone}},
    {{{2, "gate", 32, 32, 16}, kNoImage}, {kNone, kNone}},
    {{kNoImage, kNoImage}, {49, 149}},
    {{kNoImage, kNoImage}, {50, 150}},
    {{kNoImage, kNoImage}, {51, 151}},
    {{kNoImage, kNoImage}, {2, kNone}},
    {{kNoImage, kNoImage}, {3, kNone}},
    {{kNoImage, kNoImage}, {4, kNone}},
    {{kNoImage, kNoImage}, {10, kNone}},
    {{kNoImage, kNoImage}, {11, kNone}},
    {{kNoImage, kNoImage}, {12, kNone}},
    {{kNoImage, kNoImage}, {13, kNone}},
    {{kNoImage, kNoImage}, {14, kNone}},
    {{kNoImage, kNoImage}, {5, kNone}},
    {{kNoImage, kNoImage}, {6, kNone}},
    {{kNoImage, kNoImage}, {7, kNone}},
    {{kNoImage, kNoImage}, {20, kNone}},
    {{kNoImage, kNoImage}, {52, 152}},
    {{kNoImage, kNoImage}, {8, kNone}},
    {{kNoImage, kNoImage}, {53, kNone}},
    {{kNoImage, kNoImage}, {54, 154}},
};

// The loading screen's rings: 11 dots each, fading in around the circle.
constexpr int kRingDots = 11;
constexpr int kSpinPerUpdate = 16;
constexpr float kDotRadius = 8;

constexpr float kDegreesToRadians = 3.14159265f / 180;

String DensitySuffix(int level) {
  if (level == 2) return "-hd";
  if (level == 4) return "-hd2";
  return "";
}

}  // namespace

void MyApp::ChooseImageLevel() {
  const int width = DeviceWidth(), height = DeviceHeight();
  if (width <= kMaxSideLevel1 && height <= kMaxSideLevel1) {
    ImageLevel = 1;
  } else if (width <= kMaxSideLevel2 && height <= kMaxSideLevel2) {
    ImageLevel = 2;
  } else {
    ImageLevel = 4;
  }
  ImageScale = 1.0f / ImageLevel;
}

void MyApp::LoadImg(int slot, const String& name, int frameW, int frameH, int frames, int flags) {
  const String path = name + DensitySuffix(ImageLevel) + ".png";
  delete Images[slot];
  Images[slot] = LoadImage2(path, frameW * ImageLevel, frameH * ImageLevel, frames, flags);
  ImageInfo[3 * slot] = frameW * ImageLevel;
  ImageInfo[3 * slot + 1] = frameH * ImageLevel;
  ImageInfo[3 * slot + 2] = frames;
}

void MyApp::LoadFont(int slot, const String& name, int glyphW, int glyphH) {
  const String path = name + DensitySuffix(ImageLevel) + ".png";
  delete Images[slot];
  Images[slot] = LoadImage2(path, kGlyphCell * ImageLevel, kGlyphCell * ImageLevel, kGlyphFrames,
                            Image::HandleCentered);
  ImageInfo[3 * slot] = glyphW;
  ImageInfo[3 * slot + 1] = glyphH;
  ImageInfo[3 * slot + 2] = kGlyphFrames;
  FontImage = slot;
}

void MyApp::DiscardImages() {
  for (Image*& image : Images) {
    delete image;
    image = nullptr;
  }
}

void MyApp::Reload() {
  ClearRed = ClearGreen = ClearBlue = 0;
  ClearAlpha = 1;
  ChooseImageLevel();
  LoadImg(kLogo.slot, kLogo.name, kLogo.w, kLogo.h, kLogo.frames, Image::HandleCentered);
  LoadFont(kFontSlot, "fonts/shadow_editundo", kGlyphW, kGlyphH);
  LoadStep = 1;
}

void MyApp::Loader() {
  ChooseImageLevel();
  if (LoadStep >= 1 && LoadStep <= kLastStep) {
    const LoadingStep& step = kSteps[LoadStep - 1];
    for (const ImageLoad& image : step.images) {
      if (image.slot == kNone) continue;
      LoadImg(image.slot, image.name, image.w, image.h, image.frames, Image::HandleCentered);
    }
    if (LoadStep == kFontStep) LoadFont(kFontSlot, "fonts/shadow_editundo", kGlyphW, kGlyphH);
    for (int sound : step.sounds) {
      if (sound != kNone) LoadSFX(sound);
    }
    // The jingle belongs to the first start of the program, not to later reloads.
    if (LoadStep == kLogoStep && LogoSoundDone == 0) {
      PlaySFX(kStartJingle, 1.0f, 1.0f, 0.0f);
      LogoSoundDone = 1;
    }
  }
  // Step 37 loads nothing: it ends loading on the update after the last step.
  LoadStep = LoadStep > kLastStep ? 0 : LoadStep + 1;
  WaitStart();
}

void MyApp::WaitStart() {
  CLS2D(40, 40, 80, 1.0f);
  const float cx = jscrw / 2, cy = jscrh / 2;
  const float m = std::trunc(std::min(jscrw, jscrh));
  SpinAngle += kSpinPerUpdate;
  auto ring = [&](float red, float green, float blue, float turn) {
    for (int i = 0; i < kRingDots; ++i) {
      const float t = (SpinAngle + turn + kSpinPerUpdate * i) * kDegreesToRadians;
      SetCol(red, green, blue, i / 10.0f);
      Oval(cx + std::sin(t) * m * 0.25f, cy - std::cos(t) * m * 0.25f, kDotRadius, kDotRadius);
    }
  };
  ring(250, 250, 250, 180);
  SetCol(255, 255, 0, 0.8f);
  Oval(cx, cy, m * 0.3f, m * 0.3f);
  SetCol(250, 160, 60, 0.7f);
  Rect(0, jscrh * 0.4f, jscrw, jscrh * 0.2f);
  ResetDraw();
  DrawImg(kLogoSlot, cx, jscrh * 0.48f, 0);
  ring(50, 50, 50, 0);
}
