// Asset loading, one step per update, and the loading screen shown meanwhile.
#include <algorithm>
#include <cmath>

#include "base/angles.h"
#include "game/core/app.h"
#include "game/core/globals.h"
#include "game/core/records.h"
#include "game/frame/asset_table.h"
#include "game/frame/frame.h"
#include "game/frame/game_audio.h"
#include "game/frame/glyphs.h"
#include "game/frame/sound_table.h"
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
    {{2, kItemMarkSlot}, {kNone, kNone}},
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

void LoadSlot(GameFrame& frame, int slot) {
  const ImageAsset& asset = ImageAssetForSlot(slot);
  frame.LoadImg(slot, asset.name, asset.frameW, asset.frameH, asset.frames, Image::HandleCentered);
}

void LoadGameFont(GameFrame& frame) {
  frame.LoadFont(kFontSlot, ImageAssetForSlot(kFontSlot).name, kGlyphW, kGlyphH);
}

}  // namespace

void GameFrame::ChooseImageLevel() {
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

void GameFrame::LoadImg(int slot, const String& name, int frameW, int frameH, int frames,
                        int flags) {
  const String path = name + DensitySuffix(ImageLevel) + ".png";
  delete Images[slot];
  Images[slot] = LoadImage2(path, frameW * ImageLevel, frameH * ImageLevel, frames, flags);
  ImageInfo[imageinfo::Index(slot, imageinfo::kFrameW)] = frameW * ImageLevel;
  ImageInfo[imageinfo::Index(slot, imageinfo::kFrameH)] = frameH * ImageLevel;
  ImageInfo[imageinfo::Index(slot, imageinfo::kFrames)] = frames;
}

void GameFrame::LoadFont(int slot, const String& name, int glyphW, int glyphH) {
  const String path = name + DensitySuffix(ImageLevel) + ".png";
  delete Images[slot];
  Images[slot] = LoadImage2(path, kGlyphCell * ImageLevel, kGlyphCell * ImageLevel, kGlyphFrames,
                            Image::HandleCentered);
  ImageInfo[imageinfo::Index(slot, imageinfo::kFrameW)] = glyphW;
  ImageInfo[imageinfo::Index(slot, imageinfo::kFrameH)] = glyphH;
  ImageInfo[imageinfo::Index(slot, imageinfo::kFrames)] = kGlyphFrames;
  FontImage = slot;
}

void GameFrame::DiscardImages() {
  for (Image*& image : Images) {
    delete image;
    image = nullptr;
  }
}

void GameFrame::Reload() {
  ClearRed = ClearGreen = ClearBlue = 0;
  ClearAlpha = 1;
  ChooseImageLevel();
  LoadSlot(*this, kLogoSlot);
  LoadGameFont(*this);
  LoadStep = 1;
}

void GameFrame::Loader(GameAudio& audio, int soundMode) {
  ChooseImageLevel();
  if (LoadStep >= 1 && LoadStep <= kLastStep) {
    const LoadingStep& step = kSteps[LoadStep - 1];
    for (int slot : step.images) {
      if (slot != kNone) LoadSlot(*this, slot);
    }
    if (LoadStep == kFontStep) LoadGameFont(*this);
    for (int sound : step.sounds) {
      if (sound != kNone) audio.LoadSFX(sound);
    }
    // The jingle belongs to the first start of the program, not to later reloads.
    if (LoadStep == kLogoStep && LogoSoundDone == 0) {
      audio.PlaySFX(soundMode, sfx::kStartJingle, 1.0f, 1.0f, 0.0f);
      LogoSoundDone = 1;
    }
  }
  // Step 37 loads nothing: it ends loading on the update after the last step.
  LoadStep = LoadStep > kLastStep ? 0 : LoadStep + 1;
  WaitStart();
}

void GameFrame::WaitStart() {
  CLS2D(40, 40, 80, 1.0f);
  const float cx = ScreenWidth / 2, cy = ScreenHeight / 2;
  const float m = std::trunc(std::min(ScreenWidth, ScreenHeight));
  SpinAngle += kSpinPerUpdate;
  auto ring = [&](float red, float green, float blue, float turn) {
    for (int i = 0; i < kRingDots; ++i) {
      const float t = SpinAngle + turn + kSpinPerUpdate * i;
      SetCol(red, green, blue, i / 10.0f);
      Oval(cx + SinDeg(t) * m * 0.25f, cy - CosDeg(t) * m * 0.25f, kDotRadius, kDotRadius);
    }
  };
  ring(250, 250, 250, 180);
  SetCol(255, 255, 0, 0.8f);
  Oval(cx, cy, m * 0.3f, m * 0.3f);
  SetCol(250, 160, 60, 0.7f);
  Rect(0, ScreenHeight * 0.4f, ScreenWidth, ScreenHeight * 0.2f);
  ResetDraw();
  DrawImg(kLogoSlot, cx, ScreenHeight * 0.48f, 0);
  ring(50, 50, 50, 0);
}
