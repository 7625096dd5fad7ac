// Asset loading, one step per update, and the loading screen shown meanwhile.
#include <algorithm>
#include <cmath>

#include "base/angles.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/glyphs.h"
#include "game/frame/sound_table.h"
#include "game/my_app.h"
#include "graphics/graphics.h"

namespace {

constexpr int kNone = -1;
constexpr int kLastStep = 36;  // the last step that loads something
constexpr int kLogoStep = 4;
constexpr int kFontStep = 6;

constexpr int kLogoSlot = 93;

// Largest device side served by the 1x and the 2x image sets.
constexpr int kMaxSideLevel1 = 630;
constexpr int kMaxSideLevel2 = 1230;

// Image slots (files from the asset table) and sound effects loaded by one step.
struct LoadingStep {
  int images[2];
  int sounds[2];
};

// Steps 1..36; step 6 is the font, step 4 also plays the start jingle once per run.
constexpr LoadingStep kSteps[kLastStep] = {
    {{97, kNone}, {sfx::kStartJingle, kNone}},
    {{95, kNone}, {kNone, kNone}},
    {{94, kNone}, {kNone, kNone}},
    {{kLogoSlot, kNone}, {kNone, kNone}},
    {{91, kNone}, {kNone, kNone}},
    {{kNone, kNone}, {kNone, kNone}},
    {{kNone, kNone}, {sfx::kBlip, kNone}},
    {{kNone, kNone}, {sfx::kWhoosh, kNone}},
    {{kNone, kNone}, {sfx::kConfirm, kNone}},
    {{kNone, kNone}, {sfx::kMove, kNone}},
    {{99, kNone}, {kNone, kNone}},
    {{98, kNone}, {kNone, kNone}},
    {{96, 10}, {kNone, kNone}},
    {{80, kNone}, {kNone, kNone}},
    {{85, kNone}, {kNone, kNone}},
    {{1, kNone}, {kNone, kNone}},
    {{2, kNone}, {kNone, kNone}},
    {{kNone, kNone}, {sfx::WeaponPickup(weapon::kBomb), sfx::WeaponFire(weapon::kBomb)}},
    {{kNone, kNone}, {sfx::WeaponPickup(weapon::kGrenade), sfx::WeaponFire(weapon::kGrenade)}},
    {{kNone, kNone}, {sfx::WeaponPickup(weapon::kTracker), sfx::WeaponFire(weapon::kTracker)}},
    {{kNone, kNone}, {sfx::kGun, kNone}},
    {{kNone, kNone}, {sfx::kShipDestroyed, kNone}},
    {{kNone, kNone}, {sfx::kTakeOff, kNone}},
    {{kNone, kNone}, {sfx::kFirstBreak, kNone}},
    {{kNone, kNone}, {sfx::kFirstBreak + 1, kNone}},
    {{kNone, kNone}, {sfx::kFirstBreak + 2, kNone}},
    {{kNone, kNone}, {sfx::kFirstBreak + 3, kNone}},
    {{kNone, kNone}, {sfx::kTrackerHit, kNone}},
    {{kNone, kNone}, {sfx::kShotHit, kNone}},
    {{kNone, kNone}, {sfx::kDelivery, kNone}},
    {{kNone, kNone}, {sfx::kItemCollect, kNone}},
    {{kNone, kNone}, {sfx::kLevelStart, kNone}},
    {{kNone, kNone}, {sfx::WeaponPickup(weapon::kTurret), sfx::WeaponFire(weapon::kTurret)}},
    {{kNone, kNone}, {sfx::kTurretShot, kNone}},
    {{kNone, kNone}, {sfx::WeaponPickup(weapon::kOrbitBlaster), kNone}},
    {{kNone, kNone}, {sfx::WeaponPickup(weapon::kBigLazer), sfx::WeaponFire(weapon::kBigLazer)}},
};

// The loading screen's rings: 11 dots each, fading in around the circle.
constexpr int kRingDots = 11;
constexpr int kSpinPerUpdate = 16;
constexpr float kDotRadius = 8;

void LoadSlot(MyApp& app, int slot) {
  const ImageAsset& asset = ImageAssetForSlot(slot);
  app.LoadImg(slot, asset.name, asset.frameW, asset.frameH, asset.frames, Image::HandleCentered);
}

void LoadGameFont(MyApp& app) {
  app.LoadFont(kFontSlot, ImageAssetForSlot(kFontSlot).name, kGlyphW, kGlyphH);
}

}  // namespace

void MyApp::ChooseImageLevel() {
  const int width = DeviceWidth(), height = DeviceHeight();
  if (width <= kMaxSideLevel1 && height <= kMaxSideLevel1) {
    frame.ImageLevel = 1;
  } else if (width <= kMaxSideLevel2 && height <= kMaxSideLevel2) {
    frame.ImageLevel = 2;
  } else {
    frame.ImageLevel = 4;
  }
  frame.ImageScale = 1.0f / frame.ImageLevel;
}

void MyApp::LoadImg(int slot, const String& name, int frameW, int frameH, int frames, int flags) {
  const String path = name + DensitySuffix(frame.ImageLevel) + ".png";
  delete frame.Images[slot];
  frame.Images[slot] =
      LoadImage2(path, frameW * frame.ImageLevel, frameH * frame.ImageLevel, frames, flags);
  frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameW)] = frameW * frame.ImageLevel;
  frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameH)] = frameH * frame.ImageLevel;
  frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrames)] = frames;
}

void MyApp::LoadFont(int slot, const String& name, int glyphW, int glyphH) {
  const String path = name + DensitySuffix(frame.ImageLevel) + ".png";
  delete frame.Images[slot];
  frame.Images[slot] =
      LoadImage2(path, kGlyphCell * frame.ImageLevel, kGlyphCell * frame.ImageLevel, kGlyphFrames,
                 Image::HandleCentered);
  frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameW)] = glyphW;
  frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrameH)] = glyphH;
  frame.ImageInfo[imageinfo::Index(slot, imageinfo::kFrames)] = kGlyphFrames;
  frame.FontImage = slot;
}

void MyApp::DiscardImages() {
  for (Image*& image : frame.Images) {
    delete image;
    image = nullptr;
  }
}

void MyApp::Reload() {
  frame.ClearRed = frame.ClearGreen = frame.ClearBlue = 0;
  frame.ClearAlpha = 1;
  ChooseImageLevel();
  LoadSlot(*this, kLogoSlot);
  LoadGameFont(*this);
  frame.LoadStep = 1;
}

void MyApp::Loader() {
  ChooseImageLevel();
  if (frame.LoadStep >= 1 && frame.LoadStep <= kLastStep) {
    const LoadingStep& step = kSteps[frame.LoadStep - 1];
    for (int slot : step.images) {
      if (slot != kNone) LoadSlot(*this, slot);
    }
    if (frame.LoadStep == kFontStep) LoadGameFont(*this);
    for (int sound : step.sounds) {
      if (sound != kNone) LoadSFX(sound);
    }
    // The jingle belongs to the first start of the program, not to later reloads.
    if (frame.LoadStep == kLogoStep && frame.LogoSoundDone == 0) {
      PlaySFX(sfx::kStartJingle, 1.0f, 1.0f, 0.0f);
      frame.LogoSoundDone = 1;
    }
  }
  // Step 37 loads nothing: it ends loading on the update after the last step.
  frame.LoadStep = frame.LoadStep > kLastStep ? 0 : frame.LoadStep + 1;
  WaitStart();
}

void MyApp::WaitStart() {
  frame.CLS2D(40, 40, 80, 1.0f);
  const float cx = frame.ScreenWidth / 2, cy = frame.ScreenHeight / 2;
  const float m = std::trunc(std::min(frame.ScreenWidth, frame.ScreenHeight));
  play.SpinAngle += kSpinPerUpdate;
  auto ring = [&](float red, float green, float blue, float turn) {
    for (int i = 0; i < kRingDots; ++i) {
      const float t = play.SpinAngle + turn + kSpinPerUpdate * i;
      frame.SetCol(red, green, blue, i / 10.0f);
      frame.Oval(cx + SinDeg(t) * m * 0.25f, cy - CosDeg(t) * m * 0.25f, kDotRadius, kDotRadius);
    }
  };
  ring(250, 250, 250, 180);
  frame.SetCol(255, 255, 0, 0.8f);
  frame.Oval(cx, cy, m * 0.3f, m * 0.3f);
  frame.SetCol(250, 160, 60, 0.7f);
  frame.Rect(0, frame.ScreenHeight * 0.4f, frame.ScreenWidth, frame.ScreenHeight * 0.2f);
  frame.ResetDraw();
  frame.DrawImg(kLogoSlot, cx, frame.ScreenHeight * 0.48f, 0);
  ring(50, 50, 50, 0);
}
