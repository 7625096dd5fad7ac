// "gate": the 4 x 4 base in the start room. The whole base is one picture laid on the world's
// 31-unit tile grid; each frame shows its tile's part, centred in the 32-pixel frame.
#include <cmath>

#include "canvas.h"
#include "sheets.h"

namespace assets {
namespace {

constexpr double kTile = 31;
constexpr double kSize = 4 * kTile;
constexpr Rgb kSocketColours[3] = {{1.0, 0.3, 0.3}, {0.3, 1.0, 0.4}, {0.35, 0.6, 1.0}};

void Pylons(cairo_t* cr) {
  for (double x : {6.0, kSize - 6.0}) {
    cairo_rectangle(cr, x - 4, 8, 8, kSize - 8 - kTile + 6);
    FillVertical(cr, 8, kSize - kTile, Mix(pal::kSteel, pal::kCyan, 0.2), pal::kNight, 0.95);
    cairo_move_to(cr, x - 3, kSize - kTile + 4);
    cairo_line_to(cr, x - 3, 10);
    cairo_move_to(cr, x + 3, kSize - kTile + 4);
    cairo_line_to(cr, x + 3, 10);
    NeonStroke(cr, pal::kCyan, 1, 0.8);
    for (int i = 0; i < 5; ++i) {
      SoftSpot(cr, x, 40 + i * 11, 2.5, pal::kYellow, 0.9 - i * 0.12);
    }
  }
}

// The beam across the top carries the three sockets where delivered items are shown.
void SocketBeam(cairo_t* cr) {
  RoundedRect(cr, 2, 5, kSize - 4, 21, 5);
  NeonShape(cr, pal::kCyan, 1.3, 0.9);
  for (int i = 0; i < 3; ++i) {
    double x = kTile * (i + 1), y = kTile / 2;
    Circle(cr, x, y, 8.5);
    SetRgb(cr, {0, 0, 0}, 0.8);
    cairo_fill(cr);
    Circle(cr, x, y, 8.5);
    NeonStroke(cr, kSocketColours[i], 1.1, 0.9);
  }
}

// The landing pad fills the bottom row: a solid deck with chevrons pointing down at it.
void Pad(cairo_t* cr) {
  double top = 3 * kTile + 4;
  RoundedRect(cr, 1, top, kSize - 2, kTile - 5, 4);
  FillVertical(cr, top, kSize, Mix(pal::kSteel, pal::kLime, 0.2), pal::kNight, 0.97);
  cairo_move_to(cr, 2, top + 1);
  cairo_line_to(cr, kSize - 2, top + 1);
  NeonStroke(cr, pal::kLime, 1.6);
  for (int i = 0; i < 8; ++i) {
    double x = 10 + i * 14.9;
    Polygon(cr, {x - 4, top + 8, x, top + 12, x + 4, top + 8, x + 4, top + 11, x, top + 15, x - 4,
                 top + 11});
    SetRgb(cr, i % 2 ? pal::kYellow : pal::kLime, 0.75);
    cairo_fill(cr);
  }
  for (int i = 0; i < 4; ++i) {
    SoftSpot(cr, kTile * (i + 0.5), kSize - 5, 3, pal::kWhite, 0.7);
  }
}

// A faint light rising from the pad marks where the ship waits.
void LiftLight(cairo_t* cr) {
  cairo_rectangle(cr, 16, kTile, kSize - 32, 2 * kTile + 4);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, kTile, 0, 3 * kTile + 4);
  cairo_pattern_add_color_stop_rgba(p, 0, pal::kLime.r, pal::kLime.g, pal::kLime.b, 0);
  cairo_pattern_add_color_stop_rgba(p, 1, pal::kLime.r, pal::kLime.g, pal::kLime.b, 0.22);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace

void DrawGate(cairo_t* cr, int frame) {
  double col = frame % 4, row = frame / 4;
  cairo_translate(cr, 0.5 - col * kTile, 0.5 - row * kTile);
  LiftLight(cr);
  Pylons(cr);
  SocketBeam(cr);
  Pad(cr);
}

}  // namespace assets
