// "parts" (stars), "out" (light particles), "marks" (the items' shapes) and "BadgesA" (the
// badge animation).
#include <cmath>

#include "canvas.h"
#include "rng.h"
#include "sheets.h"

namespace assets {
namespace {

// A four-pointed twinkle of the given arm length.
void Twinkle(cairo_t* cr, double x, double y, double arm, double thickness, Rgb c, double alpha) {
  Polygon(cr, {x - arm, y, x - thickness, y - thickness, x, y - arm, x + thickness, y - thickness,
               x + arm, y, x + thickness, y + thickness, x, y + arm, x - thickness, y + thickness});
  SetRgb(cr, c, alpha);
  cairo_fill(cr);
}

}  // namespace

// Stars: mostly small dots, some with a halo, a few twinkling crosses; faint colour casts.
void DrawStar(cairo_t* cr, int frame) {
  AssetRng rng(1000 + frame);
  constexpr Rgb kCasts[] = {
      {1, 1, 1}, {0.8, 0.9, 1}, {1, 0.95, 0.8}, {0.9, 0.85, 1}, {1, 0.85, 0.85}};
  Rgb c = kCasts[rng.Int(0, 4)];
  double size = std::pow(rng.Unit(), 2.2);  // most stars are small
  double r = 0.45 + 1.4 * size;
  double kind = rng.Unit();
  if (size > 0.3) SoftSpot(cr, 4, 4, r * 2.6, c, 0.35);
  if (kind > 0.8) Twinkle(cr, 4, 4, 1.5 + 2.4 * size + rng.Unit(), 0.35, c, 0.9);
  Circle(cr, 4, 4, r);
  SetRgb(cr, c, 0.7 + 0.3 * rng.Unit());
  cairo_fill(cr);
}

// Light particles in white and grey, so the game's tint gives them their colour.
void DrawSpark(cairo_t* cr, int frame) {
  AssetRng rng(5000 + frame);
  double grey = 0.7 + 0.3 * rng.Unit();
  Rgb c{grey, grey, grey};
  double angle = rng.Unit() * 2 * M_PI;
  switch (frame % 4) {
    case 0: {  // round glow
      double r = 1 + 2 * rng.Unit();
      SoftSpot(cr, 4, 4, r + 1.5, c, 0.9);
      break;
    }
    case 1: {  // streak
      double len = 1.5 + 2.3 * rng.Unit();
      cairo_move_to(cr, 4 - len * std::cos(angle), 4 - len * std::sin(angle));
      cairo_line_to(cr, 4 + len * std::cos(angle), 4 + len * std::sin(angle));
      NeonStroke(cr, c, 0.8, 0.9);
      break;
    }
    case 2: {  // shard
      double s = 1.5 + 2 * rng.Unit();
      PolygonAt(cr, 4, 4, angle, {-s, -s * 0.4, s, -s * 0.2 * rng.Unit(), -s * 0.3, s * 0.6});
      SetRgb(cr, c, 0.95);
      cairo_fill(cr);
      break;
    }
    default:
      Twinkle(cr, 4, 4, 2 + 1.8 * rng.Unit(), 0.45, c, 0.95);
      SoftSpot(cr, 4, 4, 2, c, 0.6);
      break;
  }
}

// A medal that turns about its vertical axis once over the 64 frames, with a travelling shine.
void DrawBadge(cairo_t* cr, int frame) {
  double t = frame / 64.0;
  double turn = std::cos(2 * M_PI * t);
  bool back = turn < 0;
  double sx = std::max(0.08, std::abs(turn));
  SoftSpot(cr, 32, 32, 30, pal::kYellow, 0.25 + 0.15 * std::sin(4 * M_PI * t));
  cairo_save(cr);
  cairo_translate(cr, 32, 32);
  cairo_scale(cr, sx, 1);
  Circle(cr, 0, 0, 24);
  FillVertical(cr, -24, 24, back ? Rgb{0.9, 0.6, 0.2} : Rgb{1, 0.9, 0.4}, {0.55, 0.3, 0.05});
  Circle(cr, 0, 0, 20);
  SetRgb(cr, {0.45, 0.25, 0.05}, 0.8);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  std::vector<double> star;
  for (int i = 0; i < 10; ++i) {
    double a = i * M_PI / 5, r = i % 2 == 0 ? 14 : 6;
    star.push_back(r * std::sin(a));
    star.push_back(-r * std::cos(a));
  }
  Polygon(cr, star);
  SetRgb(cr, back ? Rgb{0.7, 0.45, 0.1} : Rgb{1, 1, 0.85});
  cairo_fill(cr);
  cairo_restore(cr);
  // The shine sweeps across the face while it faces the viewer.
  if (!back) {
    double x = 32 + (t < 0.5 ? t : t - 1) * 4 * 24 * sx;
    cairo_save(cr);  // keeps the frame's own clip for afterwards
    cairo_translate(cr, 32, 32);
    cairo_scale(cr, sx, 1);
    Circle(cr, 0, 0, 24);
    cairo_clip(cr);
    cairo_scale(cr, 1 / sx, 1);
    cairo_translate(cr, -32, -32);
    cairo_move_to(cr, x - 8, 60);
    cairo_line_to(cr, x + 8, 4);
    SetRgb(cr, pal::kWhite, 0.45);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  for (int i = 0; i < 3; ++i) {
    double a = 2 * M_PI * (t + i / 3.0);
    Twinkle(cr, 32 + 28 * std::cos(a), 32 + 28 * std::sin(a) * 0.9, 3, 0.6, pal::kWhite,
            0.5 + 0.5 * std::sin(2 * M_PI * (2 * t + i / 3.0)));
  }
}

// The colour-blind marks: item 0 a disc, item 1 a triangle, item 2 a square, white on a dark
// rim so that they read on any backdrop and whatever the item's colour looks like.
void DrawItemMark(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:
      Circle(cr, 8, 8, 5.5);
      break;
    case 1:
      Polygon(cr, {8, 1.8, 14.2, 13.2, 1.8, 13.2});
      break;
    case 2:
      cairo_rectangle(cr, 3, 3, 10, 10);
      break;
    default:
      return;
  }
  SetRgb(cr, pal::kWhite);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetRgb(cr, {0, 0, 0}, 0.85);
  cairo_stroke(cr);
}

}  // namespace assets
