#include "sheets.h"

namespace assets {
namespace {

// Columns are chosen so that every sheet has power-of-two sides where the count allows.
constexpr SheetDef kSheets[] = {
    {ImageAssetNamed("gfx"), 8, DrawGfx},
    {ImageAssetNamed("gate"), 4, DrawGate},
    {ImageAssetNamed("marks"), 4, DrawItemMark},
    {ImageAssetNamed("parts"), 16, DrawStar},
    {ImageAssetNamed("out"), 16, DrawSpark},
    {ImageAssetNamed("common/icons"), 4, DrawIcon},
    {ImageAssetNamed("common/Buttons"), 4, DrawButton},
    {ImageAssetNamed("common/dpad"), 4, DrawDpad},
    {ImageAssetNamed("common/circle"), 2, DrawCircle},
    {ImageAssetNamed("common/QorvLogo"), 1, DrawStudioLogo},
    {ImageAssetNamed("common/Testcard_Circle"), 1, DrawTestcard},
    {ImageAssetNamed("logo"), 1, DrawTitleLogo},
    {ImageAssetNamed("menu"), 2, DrawMenuArt},
    {ImageAssetNamed("BadgesA"), 8, DrawBadge},
    {ImageAssetNamed("fonts/shadow_editundo"), 16, DrawGameGlyph},
    // The framework's default font: one strip, a one-pixel border each side of a glyph.
    {ImageAssetNamed("kibo_font"), 96, DrawDefaultFontGlyph},
};

}  // namespace

std::span<const SheetDef> ImageSheets() {
  return kSheets;
}

}  // namespace assets
