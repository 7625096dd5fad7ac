// "gfx": the ship, shots, enemies, the four wall sets, the items, the block and the weapons.
#include <cmath>

#include "app_icon.h"
#include "canvas.h"
#include "sheets.h"

namespace assets {
namespace {

constexpr double kC = 16;  // frame centre

// ---- Ship and shots ----

void Ship(cairo_t* cr) {
  SoftSpot(cr, 7, 16, 7, pal::kOrange, 0.9);  // engine glow behind the hull
  ShipHull(cr);
  NeonShape(cr, pal::kCyan, 1.4, 0.8);
  Polygon(cr, {22, 16, 15, 13, 15, 19});  // canopy
  SetRgb(cr, Mix(pal::kCyan, pal::kWhite, 0.6));
  cairo_fill(cr);
}

void Orb(cairo_t* cr, Rgb c, double r) {
  SoftSpot(cr, kC, kC, r * 2.6, c, 0.6);
  Circle(cr, kC, kC, r);
  SetRgb(cr, Mix(c, pal::kWhite, 0.7));
  cairo_fill(cr);
}

void Shot(cairo_t* cr, Rgb c) {
  Orb(cr, c, 3);
  cairo_move_to(cr, kC - 8, kC);
  cairo_line_to(cr, kC + 8, kC);
  cairo_move_to(cr, kC, kC - 5);
  cairo_line_to(cr, kC, kC + 5);
  NeonStroke(cr, c, 1, 0.8);
}

void OrbitBall(cairo_t* cr) {
  Orb(cr, pal::kMagenta, 5);
  cairo_save(cr);
  cairo_translate(cr, kC, kC);
  cairo_scale(cr, 1, 0.4);
  Circle(cr, 0, 0, 10);
  cairo_restore(cr);
  NeonStroke(cr, pal::kMagenta, 1);
}

// ---- Enemies: five silhouettes, five colours ----

void Walker(cairo_t* cr) {
  for (int side = -1; side <= 1; side += 2) {
    cairo_move_to(cr, kC + side * 6, 18);
    cairo_line_to(cr, kC + side * 11, 22);
    cairo_line_to(cr, kC + side * 12, 28);
    cairo_move_to(cr, kC + side * 3, 20);
    cairo_line_to(cr, kC + side * 6, 28);
  }
  NeonStroke(cr, pal::kOrange, 1.3);
  cairo_new_sub_path(cr);
  cairo_arc(cr, kC, 18, 10, M_PI, 2 * M_PI);
  cairo_close_path(cr);
  NeonShape(cr, pal::kOrange, 1.4, 0.85);
  Circle(cr, kC - 4, 13.5, 1.8);
  Circle(cr, kC + 4, 13.5, 1.8);
  SetRgb(cr, pal::kWhite);
  cairo_fill(cr);
}

void Chaser(cairo_t* cr) {
  std::vector<double> star;
  for (int i = 0; i < 16; ++i) {
    double a = i * M_PI / 8, r = i % 2 == 0 ? 13 : 7;
    star.push_back(kC + r * std::sin(a));
    star.push_back(kC - r * std::cos(a));
  }
  Polygon(cr, star);
  NeonShape(cr, pal::kRed, 1.3, 0.85);
  Circle(cr, kC, kC, 3.5);
  SetRgb(cr, pal::kYellow);
  cairo_fill(cr);
  Circle(cr, kC, kC, 1.4);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_fill(cr);
}

// A toothed wheel whose teeth lean in its direction of travel (+1 clockwise).
void Crawler(cairo_t* cr, Rgb c, int direction) {
  std::vector<double> gear;
  constexpr int kTeeth = 8;
  for (int i = 0; i < kTeeth; ++i) {
    double a = i * 2 * M_PI / kTeeth;
    double lean = direction * 0.28;
    const double profile[][2] = {{0, 9}, {0.1 + lean, 13.5}, {0.3 + lean, 13.5}, {0.5, 9}};
    for (const auto& p : profile) {
      gear.push_back(kC + p[1] * std::sin(a + p[0] * 2 * M_PI / kTeeth));
      gear.push_back(kC - p[1] * std::cos(a + p[0] * 2 * M_PI / kTeeth));
    }
  }
  Polygon(cr, gear);
  NeonShape(cr, c, 1.2, 0.85);
  // An arrow around the hub shows the turning sense.
  cairo_new_sub_path(cr);
  if (direction > 0) {
    cairo_arc(cr, kC, kC, 4.5, -M_PI * 0.9, M_PI * 0.4);
  } else {
    cairo_arc_negative(cr, kC, kC, 4.5, -M_PI * 0.1, -M_PI * 1.4);
  }
  NeonStroke(cr, pal::kWhite, 1.1, 0.9);
  double tip = direction > 0 ? M_PI * 0.4 : -M_PI * 1.4;
  double tx = kC + 4.5 * std::cos(tip), ty = kC + 4.5 * std::sin(tip);
  PolygonAt(cr, tx, ty, tip + (direction > 0 ? M_PI / 2 : -M_PI / 2), {2.5, 0, -1.5, -2, -1.5, 2});
  SetRgb(cr, pal::kWhite);
  cairo_fill(cr);
}

void Barrier(cairo_t* cr) {
  RoundedRect(cr, 9, 1, 14, 30, 4);
  NeonShape(cr, pal::kYellow, 1.2, 0.7);
  cairo_move_to(cr, kC + 2, 3);
  const double zig[] = {kC - 3, 9, kC + 3, 14, kC - 3, 19, kC + 3, 24, kC - 2, 29};
  for (int i = 0; i < 10; i += 2) cairo_line_to(cr, zig[i], zig[i + 1]);
  NeonStroke(cr, pal::kWhite, 1, 0.9);
}

// ---- Walls: corner, straight and end cap per colour set ----
// The world turns them by 0, 90, 180 and -90 degrees (clockwise on screen). The straight runs
// left to right and is symmetric top to bottom; the corner joins right and down (the upper
// left corner of a room); the cap continues to the left and ends on the right.

constexpr double kWallIn = 3, kWallOut = 29;  // the band of the tile a wall fills

// A flat fill: any shading would flip direction where turned tiles meet.
void WallBody(cairo_t* cr, Rgb c) {
  SetRgb(cr, Mix(pal::kSteel, c, 0.2), 0.95);
  cairo_fill(cr);
}

void WallStraight(cairo_t* cr, Rgb c) {
  cairo_rectangle(cr, 0, kWallIn, 32, kWallOut - kWallIn);
  WallBody(cr, c);
  for (double y : {kWallIn + 1, kWallOut - 1}) {
    cairo_move_to(cr, -2, y);
    cairo_line_to(cr, 34, y);
  }
  NeonStroke(cr, c, 1.5);
  // Panel seams and a dim centre line, both symmetric under a half turn.
  for (double x : {8.0, 24.0}) {
    cairo_rectangle(cr, x - 0.5, 9, 1, 14);
  }
  SetRgb(cr, c, 0.35);
  cairo_fill(cr);
  cairo_move_to(cr, -2, kC);
  cairo_line_to(cr, 34, kC);
  NeonStroke(cr, c, 0.6, 0.35);
}

void WallCorner(cairo_t* cr, Rgb c) {
  Polygon(cr, {kWallIn, kWallIn, 32, kWallIn, 32, kWallOut, kWallOut, kWallOut, kWallOut, 32,
               kWallIn, 32});
  WallBody(cr, c);
  cairo_move_to(cr, 34, kWallIn + 1);
  cairo_line_to(cr, kWallIn + 1, kWallIn + 1);
  cairo_line_to(cr, kWallIn + 1, 34);
  cairo_move_to(cr, 34, kWallOut - 1);
  cairo_line_to(cr, kWallOut - 1, kWallOut - 1);
  cairo_line_to(cr, kWallOut - 1, 34);
  NeonStroke(cr, c, 1.5);
  cairo_move_to(cr, 34, kC);
  cairo_line_to(cr, kC, kC);
  cairo_line_to(cr, kC, 34);
  NeonStroke(cr, c, 0.6, 0.35);
  Circle(cr, kC, kC, 3);
  SetRgb(cr, Mix(c, pal::kWhite, 0.4), 0.8);
  cairo_fill(cr);
}

void WallCap(cairo_t* cr, Rgb c) {
  constexpr double kEnd = 18;
  auto outline = [&](double inset) {
    cairo_move_to(cr, -2, kWallIn + inset);
    cairo_line_to(cr, kEnd, kWallIn + inset);
    cairo_arc(cr, kEnd, kC, kC - kWallIn - inset, -M_PI / 2, M_PI / 2);
    cairo_line_to(cr, -2, kWallOut - inset);
  };
  outline(0);
  cairo_close_path(cr);
  WallBody(cr, c);
  outline(1);
  NeonStroke(cr, c, 1.5);
  cairo_move_to(cr, -2, kC);
  cairo_line_to(cr, kEnd, kC);
  NeonStroke(cr, c, 0.6, 0.35);
  SoftSpot(cr, kEnd + 4, kC, 6, Mix(c, pal::kWhite, 0.5), 0.9);
}

constexpr Rgb kWallColours[4] = {pal::kCyan, pal::kMagenta, pal::kLime, pal::kOrange};

// ---- Items: red, green and blue like the bars of the HUD ----

constexpr Rgb kItemColours[3] = {{1.0, 0.25, 0.25}, {0.3, 1.0, 0.35}, {0.3, 0.6, 1.0}};

// Each item has its own cut: a diamond, a hexagon and a triangle.
void ItemShape(cairo_t* cr, int item, double r) {
  int sides = item == 0 ? 4 : item == 1 ? 6 : 3;
  std::vector<double> points;
  for (int i = 0; i < sides; ++i) {
    double a = i * 2 * M_PI / sides;
    double rr = item == 0 && i % 2 == 1 ? r * 0.7 : r;
    points.push_back(kC + rr * std::sin(a));
    points.push_back(kC - rr * std::cos(a) + (item == 2 ? r * 0.2 : 0));
  }
  Polygon(cr, points);
}

void Item(cairo_t* cr, int item, bool loose) {
  Rgb c = kItemColours[item];
  double r = loose ? 11 : 7;
  if (loose) SoftSpot(cr, kC, kC, 15, c, 0.5);
  ItemShape(cr, item, r);
  cairo_path_t* path = cairo_copy_path(cr);
  FillVertical(cr, kC - r, kC + r, Mix(c, pal::kWhite, 0.45), Mix(c, pal::kNight, 0.4));
  cairo_append_path(cr, path);
  cairo_path_destroy(path);
  NeonStroke(cr, Mix(c, pal::kWhite, 0.3), loose ? 1.2 : 0.9);
  ItemShape(cr, item, r * 0.45);  // the facet
  SetRgb(cr, pal::kWhite, 0.55);
  cairo_fill(cr);
}

// ---- Block and weapons ----

void Block(cairo_t* cr) {
  RoundedRect(cr, 2.5, 2.5, 27, 27, 3);
  FillVertical(cr, 2, 30, {0.35, 0.25, 0.12}, {0.16, 0.1, 0.05}, 0.95);
  RoundedRect(cr, 3.5, 3.5, 25, 25, 2.5);
  NeonStroke(cr, pal::kYellow, 1.2, 0.85);
  cairo_move_to(cr, 7, 7);
  cairo_line_to(cr, 25, 25);
  cairo_move_to(cr, 25, 7);
  cairo_line_to(cr, 7, 25);
  SetRgb(cr, pal::kOrange, 0.45);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_move_to(cr, 12, 4);
  cairo_line_to(cr, 14, 10);
  cairo_line_to(cr, 11, 14);
  SetRgb(cr, {0, 0, 0}, 0.6);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void WeaponBadge(cairo_t* cr, Rgb c) {
  Circle(cr, kC, kC, 14);
  SetRgb(cr, pal::kNight, 0.75);
  cairo_fill(cr);
  Circle(cr, kC, kC, 14);
  NeonStroke(cr, c, 1, 0.8);
}

void Bomb(cairo_t* cr) {
  WeaponBadge(cr, pal::kOrange);
  Circle(cr, 14.5, 18, 7.5);
  FillVertical(cr, 10, 26, {0.5, 0.5, 0.58}, {0.12, 0.12, 0.16});
  cairo_rectangle(cr, 17, 8.5, 4, 3.5);
  SetRgb(cr, {0.6, 0.6, 0.66});
  cairo_fill(cr);
  cairo_move_to(cr, 19, 8.5);
  cairo_curve_to(cr, 20, 5, 23, 5, 24, 6.5);
  NeonStroke(cr, pal::kOrange, 0.8);
  SoftSpot(cr, 24.5, 6.5, 4, pal::kYellow, 1);
}

void Grenade(cairo_t* cr) {
  WeaponBadge(cr, pal::kLime);
  cairo_save(cr);
  cairo_translate(cr, 15, 18);
  cairo_scale(cr, 0.78, 1);
  Circle(cr, 0, 0, 8);
  cairo_restore(cr);
  FillVertical(cr, 10, 26, {0.5, 0.8, 0.3}, {0.12, 0.3, 0.08});
  for (double y : {15.0, 19.0, 23.0}) {
    cairo_move_to(cr, 9.5, y);
    cairo_line_to(cr, 20.5, y);
  }
  SetRgb(cr, {0, 0, 0}, 0.4);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_rectangle(cr, 12, 7.5, 6, 3);
  SetRgb(cr, {0.7, 0.7, 0.74});
  cairo_fill(cr);
  cairo_move_to(cr, 17, 9);
  cairo_line_to(cr, 23, 13);
  NeonStroke(cr, pal::kWhite, 0.9, 0.8);
}

void Tracker(cairo_t* cr) {
  WeaponBadge(cr, pal::kMagenta);
  Circle(cr, kC, kC, 9);
  for (double a = 0; a < 2 * M_PI; a += M_PI / 2) {
    cairo_move_to(cr, kC + 6 * std::cos(a), kC + 6 * std::sin(a));
    cairo_line_to(cr, kC + 12 * std::cos(a), kC + 12 * std::sin(a));
  }
  NeonStroke(cr, pal::kMagenta, 0.9);
  PolygonAt(cr, kC, kC, -M_PI / 4, {0, -6, 2.5, 0, 2.5, 5, -2.5, 5, -2.5, 0});
  SetRgb(cr, pal::kWhite);
  cairo_fill(cr);
}

void Turret(cairo_t* cr) {
  WeaponBadge(cr, pal::kCyan);
  cairo_rectangle(cr, 15, 9, 11, 3.5);
  SetRgb(cr, {0.75, 0.8, 0.85});
  cairo_fill(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 14, 19, 7.5, M_PI, 2 * M_PI);
  cairo_close_path(cr);
  NeonShape(cr, pal::kCyan, 1, 0.9);
  cairo_rectangle(cr, 6, 19, 16, 4);
  SetRgb(cr, {0.5, 0.55, 0.6});
  cairo_fill(cr);
}

void OrbitBlaster(cairo_t* cr) {
  WeaponBadge(cr, pal::kViolet);
  SoftSpot(cr, kC, kC, 8, pal::kMagenta, 0.8);
  Circle(cr, kC, kC, 3.5);
  SetRgb(cr, pal::kWhite);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, kC, kC);
  cairo_rotate(cr, -0.5);
  cairo_scale(cr, 1, 0.45);
  Circle(cr, 0, 0, 10);
  cairo_restore(cr);
  NeonStroke(cr, pal::kViolet, 0.9);
  Circle(cr, kC + 8.5, kC - 4.5, 2.2);
  SetRgb(cr, pal::kMagenta);
  cairo_fill(cr);
}

void BigLazer(cairo_t* cr) {
  WeaponBadge(cr, pal::kRed);
  cairo_move_to(cr, 12, kC);
  cairo_line_to(cr, 29, kC);
  NeonStroke(cr, pal::kRed, 3.2);
  RoundedRect(cr, 4, 11, 10, 10, 2);
  NeonShape(cr, pal::kRed, 1, 0.95);
  SoftSpot(cr, 14, kC, 5, pal::kWhite, 1);
}

}  // namespace

void DrawGfx(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:
      return Ship(cr);
    case 1:
      return Shot(cr, pal::kCyan);
    case 2:
      return Shot(cr, pal::kYellow);
    case 3:
      return OrbitBall(cr);
    case 8:
      return Walker(cr);
    case 9:
      return Chaser(cr);
    case 10:
      return Crawler(cr, pal::kLime, 1);
    case 11:
      return Crawler(cr, pal::kViolet, -1);
    case 12:
      return Barrier(cr);
    case 40:
    case 41:
    case 42:
      return Item(cr, frame - 40, false);
    case 44:
    case 45:
    case 46:
      return Item(cr, frame - 44, true);
    case 48:
    case 55:
      return Block(cr);
    case 49:
      return Bomb(cr);
    case 50:
      return Grenade(cr);
    case 51:
      return Tracker(cr);
    case 52:
      return Turret(cr);
    case 53:
      return OrbitBlaster(cr);
    case 54:
      return BigLazer(cr);
    default:
      break;
  }
  // Wall sets: 24..26, 28..30, 32..34, 36..38.
  if (frame >= 24 && frame <= 38 && frame % 4 != 3) {
    Rgb c = kWallColours[(frame - 24) / 4];
    switch ((frame - 24) % 4) {
      case 0:
        return WallCorner(cr, c);
      case 1:
        return WallStraight(cr, c);
      default:
        return WallCap(cr, c);
    }
  }
}

}  // namespace assets
