#pragma once
// The image files the game loads: name, frame grid and the code that draws each frame.
#include <cairo.h>

#include <span>

#include "game/frame/asset_table.h"

namespace assets {

using FrameDrawer = void (*)(cairo_t* cr, int frame);

// How one image file of the game's asset table is drawn.
struct SheetDef {
  ImageAsset image;
  int columns;
  FrameDrawer draw;
};

// Every image file, in the order of the contact sheet.
std::span<const SheetDef> ImageSheets();

// Frame drawers, one per sheet (the frame numbers are the game's).
void DrawGfx(cairo_t* cr, int frame);
void DrawGate(cairo_t* cr, int frame);
void DrawItemMark(cairo_t* cr, int frame);
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
