#pragma once
// Text drawn with the game's font file (DejaVu Sans Bold, loaded from its file so that no
// font configuration of the machine changes the result).
#include <cairo.h>

namespace assets {

// Selects the font at the given size (in the current units) on the context.
void UseTextFont(cairo_t* cr, double size);
// Adds the outline of text to the path with its ink box centred on (cx, cy).
void TextPathCentered(cairo_t* cr, const char* text, double size, double cx, double cy);
// Adds the outline of text to the path starting at (x, baseline).
void TextPathAt(cairo_t* cr, const char* text, double size, double x, double baseline);

}  // namespace assets
