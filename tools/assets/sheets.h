#pragma once
// The image files the game loads: name, frame grid and the code that draws each frame.
#include <cairo.h>

#include <span>

namespace assets {

using FrameDrawer = void (*)(cairo_t* cr, int frame);

struct SheetDef {
  const char* name;  // data path without density suffix and extension
  int frameW, frameH, frames, columns;
  FrameDrawer draw;
  bool densities;  // false: one file at 1x only, named without a suffix
};

// Every image file, in the order of the contact sheet.
std::span<const SheetDef> ImageSheets();

inline constexpr int kDensities[] = {1, 2, 4};
// "" at 1x, "-hd" at 2x, "-hd2" at 4x: the suffixes the loader asks for.
const char* DensitySuffix(int density);

// The text layout's spacing adjustment of a character: glyph advance is 7 plus this.
int GlyphSpacingAdjust(int code);

// Frame drawers, one per sheet (the frame numbers are the game's).
void DrawGfx(cairo_t* cr, int frame);
void DrawGate(cairo_t* cr, int frame);
void DrawIcon(cairo_t* cr, int frame);
void DrawButton(cairo_t* cr, int frame);
void DrawDpad(cairo_t* cr, int frame);
void DrawCircle(cairo_t* cr, int frame);
void DrawStudioLogo(cairo_t* cr, int frame);
void DrawTestcard(cairo_t* cr, int frame);
void DrawTitleLogo(cairo_t* cr, int frame);
void DrawMenuArt(cairo_t* cr, int frame);
void DrawBadge(cairo_t* cr, int frame);
void DrawStar(cairo_t* cr, int frame);
void DrawSpark(cairo_t* cr, int frame);
void DrawGameGlyph(cairo_t* cr, int frame);
void DrawDefaultFontGlyph(cairo_t* cr, int frame);

}  // namespace assets
