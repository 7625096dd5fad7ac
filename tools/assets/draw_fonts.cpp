// The game's text font (16 x 16 cells, glyph advance 7 and line height 10 game units, frame =
// character code - 32, drop shadow) with controller and keyboard button glyphs, and the
// framework's default font strip.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "canvas.h"
#include "game/frame/glyphs.h"
#include "sheets.h"
#include "text.h"

namespace assets {
namespace {

constexpr double kCell = kGlyphCell;
constexpr double kAdvance = kGlyphW;  // the layout's glyph advance
constexpr double kGap = 1.1;          // ink-free space left between neighbouring glyphs
constexpr double kEm = 10.2;          // font size giving a cap height of about 7.4
constexpr double kBaseline = 11.2;    // caps sit centred in the 10-unit line box around y = 8
constexpr double kShadow = 0.9;

constexpr int kFirstButton = 96;   // controller glyphs 96..108
constexpr int kFirstKeycap = 112;  // the same buttons as keyboard keys 112..124
constexpr int kButtonCount = 13;

// Draws a character path fitted to its advance box: the box starts 3.5 units left of the pen
// (the cell centre), so glyph k ends where glyph k + 1 begins whatever the adjustments.
void FittedCharPath(cairo_t* cr, const char* text, double em, double baseline, double advance,
                    double penX) {
  UseTextFont(cr, em);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  double maxInk = advance - kGap;
  double squeeze = ext.width > maxInk ? maxInk / ext.width : 1.0;
  double centre = penX - kAdvance / 2 + advance / 2;
  cairo_save(cr);
  cairo_translate(cr, centre, 0);
  cairo_scale(cr, squeeze, 1);
  cairo_move_to(cr, -ext.x_bearing - ext.width / 2, baseline);
  cairo_text_path(cr, text);
  cairo_restore(cr);
}

// White glyph (tinted by the draw colour in play) over a soft black shadow.
void ShadowedFill(cairo_t* cr) {
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, kShadow, kShadow);
  cairo_append_path(cr, path);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.75);
  cairo_set_line_width(cr, 1.1);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_append_path(cr, path);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
  cairo_set_line_width(cr, 0.5);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
  cairo_path_destroy(path);
}

struct ButtonGlyph {
  const char* pad;  // controller label
  Rgb colour;
  const char* key;  // keyboard label
  int shape;  // 0 round face button, 1 shoulder, 2 pill, 3 d-pad (arm: 4 up 5 down 6 left 7 right)
};

// In the order of the text codes J K L I U O Q E F W S A D.
constexpr ButtonGlyph kButtons[kButtonCount] = {
    {"A", pal::kGreen, "Z", 0},  {"B", pal::kRed, "X", 0},    {"X", pal::kBlue, "C", 0},
    {"Y", pal::kYellow, "V", 0}, {"L1", pal::kWhite, "B", 1}, {"R1", pal::kWhite, "N", 1},
    {"", pal::kWhite, "Esc", 2}, {"", pal::kWhite, "Ent", 2}, {"", pal::kWhite, "", 3},
    {"", pal::kWhite, "", 4},    {"", pal::kWhite, "", 5},    {"", pal::kWhite, "", 6},
    {"", pal::kWhite, "", 7},
};

double ButtonAdvance(int index) {
  return kAdvance + (index == 4 || index == 5 ? 6 : 4);
}

// A d-pad cross; arm 0..3 (up, down, left, right) is lit, -1 lights none.
void DpadCross(cairo_t* cr, double cx, double cy, double r, int arm) {
  double t = r * 0.36;
  Polygon(cr, {cx - t, cy - r, cx + t, cy - r, cx + t, cy - t, cx + r, cy - t,
               cx + r, cy + t, cx + t, cy + t, cx + t, cy + r, cx - t, cy + r,
               cx - t, cy + t, cx - r, cy + t, cx - r, cy - t, cx - t, cy - t});
  cairo_set_source_rgb(cr, 0.85, 0.85, 0.9);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_set_line_width(cr, 0.5);
  cairo_stroke(cr);
  if (arm < 0) return;
  const double dir[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
  double ax = cx + dir[arm][0] * r * 0.62, ay = cy + dir[arm][1] * r * 0.62;
  Circle(cr, ax, ay, t * 0.85);
  SetRgb(cr, pal::kRed);
  cairo_fill(cr);
}

// An arrow pointing along arm 0..3 (up, down, left, right).
void ArrowPath(cairo_t* cr, double cx, double cy, double r, int arm) {
  const double angles[4] = {0, M_PI, -M_PI / 2, M_PI / 2};
  PolygonAt(
      cr, cx, cy, angles[arm],
      {0, -r, r * 0.85, 0, r * 0.32, 0, r * 0.32, r, -r * 0.32, r, -r * 0.32, 0, -r * 0.85, 0});
}

void ControllerGlyph(cairo_t* cr, int index) {
  const ButtonGlyph& b = kButtons[index];
  double adv = ButtonAdvance(index);
  double cx = kCell / 2 - kAdvance / 2 + adv / 2, cy = 8;
  if (b.shape == 0) {
    Circle(cr, cx + 0.6, cy + 0.6, 4.6);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_fill(cr);
    Circle(cr, cx, cy, 4.6);
    FillVertical(cr, cy - 5, cy + 5, Mix(b.colour, pal::kWhite, 0.3),
                 Mix(b.colour, pal::kNight, 0.35));
    TextPathCentered(cr, b.pad, 6.5, cx, cy);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
  } else if (b.shape == 1) {
    RoundedRect(cr, cx - 5.6, cy - 3.8, 11.2, 7.6, 2.5);
    FillVertical(cr, cy - 4, cy + 4, {0.75, 0.75, 0.82}, {0.35, 0.36, 0.45});
    TextPathCentered(cr, b.pad, 5.6, cx, cy);
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.1);
    cairo_fill(cr);
  } else if (b.shape == 2) {
    RoundedRect(cr, cx - 4.6, cy - 2.6, 9.2, 5.2, 2.6);
    FillVertical(cr, cy - 3, cy + 3, {0.7, 0.7, 0.78}, {0.35, 0.36, 0.45});
    // Back shows a left-pointing triangle, Start three bars.
    if (index == 6) {
      Polygon(cr, {cx - 2.2, cy, cx + 1.8, cy - 1.8, cx + 1.8, cy + 1.8});
    } else {
      for (int i = -1; i <= 1; ++i) cairo_rectangle(cr, cx - 2.2, cy + i * 1.3 - 0.4, 4.4, 0.8);
    }
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.1);
    cairo_fill(cr);
  } else {
    DpadCross(cr, cx, cy, 4.9, b.shape - 4);
  }
}

void KeycapGlyph(cairo_t* cr, int index) {
  const ButtonGlyph& b = kButtons[index];
  double adv = ButtonAdvance(index);
  double cx = kCell / 2 - kAdvance / 2 + adv / 2, cy = 8;
  double w = adv - kGap - 0.4;
  if (b.shape >= 3) w = 9.4;
  RoundedRect(cr, cx - w / 2 + 0.6, cy - 4.4, w, 9.6, 1.6);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_fill(cr);
  RoundedRect(cr, cx - w / 2, cy - 5, w, 9.4, 1.6);
  FillVertical(cr, cy - 5, cy + 4.4, {0.95, 0.95, 0.97}, {0.62, 0.63, 0.7});
  RoundedRect(cr, cx - w / 2 + 1, cy - 4.3, w - 2, 6.8, 1.1);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.08, 0.08, 0.14);
  if (b.shape == 3) {
    // The arrow keys as a cluster of four small arrows.
    for (int arm = 0; arm < 4; ++arm) {
      const double dx[4] = {0, 0, -2.4, 2.4}, dy[4] = {-2.2, 1.8, 0, 0};
      ArrowPath(cr, cx + dx[arm], cy - 0.7 + dy[arm], 1.5, arm);
    }
  } else if (b.shape > 3) {
    ArrowPath(cr, cx, cy - 0.7, 3.3, b.shape - 4);
  } else {
    TextPathCentered(cr, b.key, std::strlen(b.key) > 1 ? 4.2 : 6.6, cx, cy - 0.7);
  }
  cairo_fill(cr);
}

}  // namespace

void DrawGameGlyph(cairo_t* cr, int frame) {
  if (frame >= kFirstButton && frame < kFirstButton + kButtonCount) {
    ControllerGlyph(cr, frame - kFirstButton);
    return;
  }
  if (frame >= kFirstKeycap && frame < kFirstKeycap + kButtonCount) {
    KeycapGlyph(cr, frame - kFirstKeycap);
    return;
  }
  int code = frame + 32;
  if (code <= 32 || code >= 127) return;  // space, DEL and unused cells stay empty
  char text[2] = {static_cast<char>(code), 0};
  FittedCharPath(cr, text, kEm, kBaseline, kAdvance + GlyphSpacingAdjust(code), kCell / 2);
  ShadowedFill(cr);
}

void DrawDefaultFontGlyph(cairo_t* cr, int frame) {
  int code = frame + 32;
  if (code <= 32 || code >= 127) return;
  char text[2] = {static_cast<char>(code), 0};
  // The drawn part is the 8 pixels inside the borders, centred at x = 5; the borders stay clear.
  cairo_rectangle(cr, 1, 0, 8, 16);
  cairo_clip(cr);
  FittedCharPath(cr, text, 10.5, 12, 8.0, 5 + kAdvance / 2 - 4.0);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke_preserve(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill(cr);
}

}  // namespace assets
