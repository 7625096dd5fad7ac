#pragma once
// The program's icon for the desktop: the ship on a dark tile, drawn from the same outline as
// the game's sprite, as PNG files at the usual sizes and as a scalable SVG.
#include <cairo.h>

#include <filesystem>
#include <string>

namespace assets {

// Pixel sizes of the PNG icons.
inline constexpr int kIconSizes[] = {48, 128, 256};

// The ship's hull, the outline of the "gfx" sprite, in its 32 x 32 frame pointing right.
void ShipHull(cairo_t* cr);

// Draws the icon filling a square of the given size from the origin.
void DrawAppIcon(cairo_t* cr, double size);

// Writes the icons in the desktop's theme layout under dir: NxN/apps/<name>.png for each size
// and scalable/apps/<name>.svg. Returns the empty string or what went wrong.
std::string WriteAppIcons(const std::filesystem::path& dir, const std::string& name);

}  // namespace assets
