#include "sheets.h"

namespace assets {
namespace {

// Columns are chosen so that every sheet has power-of-two sides where the count allows.
constexpr SheetDef kSheets[] = {
    {"gfx", 32, 32, 64, 8, DrawGfx, true},
    {"gate", 32, 32, 16, 4, DrawGate, true},
    {"parts", 8, 8, 256, 16, DrawStar, true},
    {"out", 8, 8, 256, 16, DrawSpark, true},
    {"common/icons", 32, 32, 16, 4, DrawIcon, true},
    {"common/Buttons", 64, 64, 16, 4, DrawButton, true},
    {"common/dpad", 32, 32, 16, 4, DrawDpad, true},
    {"common/circle", 256, 256, 4, 2, DrawCircle, true},
    {"common/QorvLogo", 256, 256, 1, 1, DrawStudioLogo, true},
    {"common/Testcard_Circle", 256, 256, 1, 1, DrawTestcard, true},
    {"logo", 256, 128, 1, 1, DrawTitleLogo, true},
    {"menu", 256, 256, 4, 2, DrawMenuArt, true},
    {"BadgesA", 64, 64, 64, 8, DrawBadge, true},
    {"fonts/shadow_editundo", 16, 16, 128, 16, DrawGameGlyph, true},
    // The framework's default font: 96 glyphs in one strip, a one-pixel border each side.
    {"kibo_font", 10, 16, 96, 96, DrawDefaultFontGlyph, false},
};

}  // namespace

std::span<const SheetDef> ImageSheets() {
  return kSheets;
}

const char* DensitySuffix(int density) {
  switch (density) {
    case 2:
      return "-hd";
    case 4:
      return "-hd2";
    default:
      return "";
  }
}

}  // namespace assets
