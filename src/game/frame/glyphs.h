// The game font's layout: the glyph cell the text layout advances by and the letters that
// are narrower or wider than it. The font generator draws to the same widths.
#pragma once

inline constexpr int kGlyphW = 7;      // advance of a plain character
inline constexpr int kGlyphH = 10;     // line height
inline constexpr int kGlyphCell = 16;  // square cell of a glyph in the font image
inline constexpr int kGlyphFrames = 128;

// What a character's advance differs from kGlyphW by; 0 for plain characters.
constexpr int GlyphSpacingAdjust(int code) {
  switch (code) {
    case 'w':
    case 'm':
      return 2;
    case 'W':
    case 'M':
      return 1;
    case 'i':
    case 'f':
    case 'l':
      return -3;
    case 'j':
    case 's':
    case 'k':
    case 'r':
    case 'z':
    case 't':
    case 'n':
      return -1;
    default:
      return 0;
  }
}
