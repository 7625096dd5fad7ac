// The game's image files: which slot each fills, its frame grid at 1x and whether it comes
// in the three densities. The asset generator draws from this table, the loader loads from
// it and the tests check both against it.
#pragma once

#include <span>
#include <string_view>

struct ImageAsset {
  const char* name;  // data path without density suffix and extension
  int slot;          // image slot, kNoImageSlot for files the framework loads itself
  int frameW, frameH, frames;
  bool densities;  // false: one file at 1x only, named without a suffix
};

inline constexpr int kNoImageSlot = -1;
inline constexpr int kFontSlot = 90;
// Slots the play screen draws from.
inline constexpr int kSpriteSlot = 1;  // ship, scenery, blocks, items, pickups and enemies
inline constexpr int kBaseSlot = 2;
inline constexpr int kItemMarkSlot = 3;  // the colour-blind marks, one shape per item
inline constexpr int kParticleSlot = 10;
inline constexpr int kStarSlot = 96;

inline constexpr ImageAsset kImageAssets[] = {
    {"gfx", 1, 32, 32, 64, true},
    {"gate", 2, 32, 32, 16, true},
    {"marks", kItemMarkSlot, 16, 16, 3, true},
    {"parts", 96, 8, 8, 256, true},
    {"out", 10, 8, 8, 256, true},
    {"common/icons", 97, 32, 32, 16, true},
    {"common/Buttons", 95, 64, 64, 16, true},
    {"common/dpad", 94, 32, 32, 16, true},
    {"common/circle", 85, 256, 256, 4, true},
    {"common/QorvLogo", 93, 256, 256, 1, true},
    {"common/Testcard_Circle", 91, 256, 256, 1, true},
    {"logo", 98, 256, 128, 1, true},
    {"menu", 99, 256, 256, 4, true},
    {"BadgesA", 80, 64, 64, 64, true},
    // The game font: 128 glyphs in 16 x 16 cells.
    {"fonts/shadow_editundo", kFontSlot, 16, 16, 128, true},
    // The framework's default font: 96 glyphs in one strip.
    {"kibo_font", kNoImageSlot, 10, 16, 96, false},
};

// The entry for a slot; slots no file fills are a programming error caught at compile time
// where the argument is a constant.
constexpr const ImageAsset& ImageAssetForSlot(int slot) {
  for (const ImageAsset& asset : kImageAssets)
    if (asset.slot == slot) return asset;
  throw "no image file fills this slot";
}

constexpr const ImageAsset& ImageAssetNamed(std::string_view name) {
  for (const ImageAsset& asset : kImageAssets)
    if (name == asset.name) return asset;
  throw "no image file has this name";
}

// "" at 1x, "-hd" at 2x, "-hd2" at 4x.
constexpr const char* DensitySuffix(int density) {
  if (density == 2) return "-hd";
  if (density == 4) return "-hd2";
  return "";
}
inline constexpr int kDensities[] = {1, 2, 4};
