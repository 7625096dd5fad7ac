// Front-end art: icons, level discs and hub layers, the d-pad, the wheel, the studio logo,
// the credits window, the title and the menu pictures.
#include <cmath>

#include "app_icon.h"
#include "canvas.h"
#include "sheets.h"
#include "text.h"

namespace assets {
namespace {

// Icons and the d-pad are drawn in pale colours: the game tints them.
constexpr Rgb kPale{0.92, 0.95, 1.0};

void RingedIcon(cairo_t* cr) {
  Circle(cr, 16, 16, 13);
  SetRgb(cr, pal::kNight, 0.55);
  cairo_fill(cr);
  Circle(cr, 16, 16, 13);
  NeonStroke(cr, kPale, 1.3);
}

void FillPale(cairo_t* cr) {
  SetRgb(cr, kPale);
  cairo_fill(cr);
}

void Gear(cairo_t* cr, double cx, double cy, double r, int teeth) {
  std::vector<double> pts;
  for (int i = 0; i < teeth * 4; ++i) {
    double a = i * M_PI / (teeth * 2);
    double rr = (i % 4 < 2) ? r : r * 0.78;
    pts.push_back(cx + rr * std::sin(a));
    pts.push_back(cy - rr * std::cos(a));
  }
  Polygon(cr, pts);
}

void Arrow(cairo_t* cr, double cx, double cy, double angle, double size) {
  PolygonAt(cr, cx, cy, angle,
            {size, 0, -size * 0.5, -size * 0.8, -size * 0.2, 0, -size * 0.5, size * 0.8});
}

// ---- Level discs and hub layers ----

constexpr Rgb kDiscColours[6] = {pal::kCyan,   pal::kMagenta, pal::kLime,
                                 pal::kOrange, pal::kYellow,  pal::kViolet};

void LevelDisc(cairo_t* cr, Rgb c) {
  SoftSpot(cr, 32, 32, 31, c, 0.35);
  Circle(cr, 32, 32, 25);
  FillVertical(cr, 7, 57, Mix(c, pal::kNight, 0.35), Mix(c, pal::kNight, 0.85));
  Circle(cr, 32, 32, 25);
  NeonStroke(cr, c, 2);
  Circle(cr, 32, 32, 19);
  NeonStroke(cr, c, 0.8, 0.5);
}

void HubTeeth(cairo_t* cr) {
  for (int i = 0; i < 24; ++i) {
    double a = i * M_PI / 12;
    PolygonAt(cr, 32 + 27 * std::sin(a), 32 - 27 * std::cos(a), a,
              {-2, -3, 2, -3, 1.4, 3, -1.4, 3});
  }
  SetRgb(cr, pal::kCyan, 0.85);
  cairo_fill(cr);
  Circle(cr, 32, 32, 23.5);
  NeonStroke(cr, pal::kCyan, 1.2);
}

void HubArcs(cairo_t* cr) {
  for (int i = 0; i < 3; ++i) {
    double a = i * 2 * M_PI / 3;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 32, 32, 19, a, a + 1.5);
    NeonStroke(cr, pal::kMagenta, 2.4);
    Circle(cr, 32 + 19 * std::cos(a + 1.8), 32 + 19 * std::sin(a + 1.8), 1.6);
    SetRgb(cr, pal::kWhite);
    cairo_fill(cr);
  }
}

void HubCore(cairo_t* cr) {
  Gear(cr, 32, 32, 13, 6);
  NeonShape(cr, pal::kWhite, 1.1, 0.8);
  Circle(cr, 32, 32, 4.5);
  SetRgb(cr, pal::kCyan);
  cairo_fill(cr);
}

void Emblem(cairo_t* cr) {
  Polygon(cr, {32, 4, 60, 32, 32, 60, 4, 32});
  NeonShape(cr, pal::kYellow, 1.6, 0.8);
  std::vector<double> star;
  for (int i = 0; i < 10; ++i) {
    double a = i * M_PI / 5, r = i % 2 == 0 ? 15 : 6.5;
    star.push_back(32 + r * std::sin(a));
    star.push_back(33 - r * std::cos(a));
  }
  Polygon(cr, star);
  NeonShape(cr, pal::kOrange, 1.0, 0.9);
}

// ---- The wheel's hub disc and ring ----

void WheelRing(cairo_t* cr) {
  Circle(cr, 128, 128, 118);
  NeonStroke(cr, pal::kCyan, 2.5);
  Circle(cr, 128, 128, 100);
  NeonStroke(cr, pal::kCyan, 1.2, 0.6);
  for (int i = 0; i < 72; ++i) {
    double a = i * M_PI / 36, inner = i % 6 == 0 ? 101 : 108;
    cairo_move_to(cr, 128 + inner * std::sin(a), 128 - inner * std::cos(a));
    cairo_line_to(cr, 128 + 116 * std::sin(a), 128 - 116 * std::cos(a));
  }
  SetRgb(cr, kPale, 0.7);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

void HubDisc(cairo_t* cr) {
  Circle(cr, 128, 128, 120);
  cairo_pattern_t* p = cairo_pattern_create_radial(128, 110, 10, 128, 128, 120);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.35, 0.5, 0.8, 0.95);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.05, 0.07, 0.18, 0.95);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  for (double r : {118.0, 90.0, 60.0}) {
    Circle(cr, 128, 128, r);
    NeonStroke(cr, pal::kCyan, r > 100 ? 3 : 1.5, 0.7);
  }
}

// ---- Logos and windows ----

void StudioMark(cairo_t* cr) {
  Circle(cr, 128, 128, 112);
  FillVertical(cr, 16, 240, {0.1, 0.12, 0.28}, {0.02, 0.02, 0.08}, 0.95);
  Circle(cr, 128, 128, 112);
  NeonStroke(cr, pal::kViolet, 2.5);
  // The Q: an orbit ring crossed by a comet that forms its tail.
  Circle(cr, 128, 106, 46);
  NeonStroke(cr, pal::kCyan, 7);
  cairo_move_to(cr, 146, 128);
  cairo_curve_to(cr, 160, 148, 176, 156, 196, 160);
  NeonStroke(cr, pal::kMagenta, 6);
  SoftSpot(cr, 198, 160, 14, pal::kWhite, 1);
  SoftSpot(cr, 128, 106, 18, pal::kYellow, 0.8);
  TextPathCentered(cr, "QORV", 40, 128, 190);
  cairo_path_t* path = cairo_copy_path(cr);
  FillVertical(cr, 174, 206, pal::kWhite, {0.7, 0.85, 1});
  cairo_append_path(cr, path);
  cairo_path_destroy(path);
  NeonStroke(cr, pal::kCyan, 0.8, 0.6);
}

void Testcard(cairo_t* cr) {
  constexpr Rgb kBars[8] = {pal::kWhite,   pal::kYellow, pal::kCyan, pal::kGreen,
                            pal::kMagenta, pal::kRed,    pal::kBlue, {0.3, 0.3, 0.3}};
  for (int i = 0; i < 8; ++i) {
    double a0 = -M_PI / 2 + i * M_PI / 4, a1 = a0 + M_PI / 4;
    cairo_new_sub_path(cr);
    cairo_arc(cr, 128, 128, 124, a0, a1);
    cairo_arc_negative(cr, 128, 128, 106, a1, a0);
    cairo_close_path(cr);
    SetRgb(cr, kBars[i], 0.9);
    cairo_fill(cr);
  }
  Circle(cr, 128, 128, 106);
  SetRgb(cr, {0.02, 0.03, 0.08}, 0.88);
  cairo_fill(cr);
  Circle(cr, 128, 128, 124);
  NeonStroke(cr, pal::kWhite, 1.5, 0.8);
  Circle(cr, 128, 128, 106);
  NeonStroke(cr, pal::kCyan, 1.5, 0.9);
  // A grey step wedge at top and bottom frames the scrolling credit lines.
  for (int i = 0; i < 8; ++i) {
    double g = i / 7.0;
    SetRgb(cr, {g, g, g}, 0.9);
    cairo_rectangle(cr, 72 + i * 14, 40, 14, 8);
    cairo_rectangle(cr, 184 - (i + 1) * 14, 208, 14, 8);
    cairo_fill(cr);
  }
}

void TitleLogo(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, 128, 58);
  cairo_matrix_t slant;  // a forward lean
  cairo_matrix_init(&slant, 1, 0, -0.18, 1, 0, 0);
  cairo_transform(cr, &slant);
  TextPathCentered(cr, "ZORVANE", 46, 0, 0);
  cairo_restore(cr);
  cairo_path_t* path = cairo_copy_path(cr);
  FillVertical(cr, 38, 78, {0.85, 1, 1}, {1, 0.35, 0.85});
  cairo_append_path(cr, path);
  NeonStroke(cr, pal::kCyan, 1.6);
  cairo_path_destroy(path);
  cairo_move_to(cr, 22, 96);
  cairo_line_to(cr, 234, 96);
  NeonStroke(cr, pal::kMagenta, 2);
  cairo_move_to(cr, 48, 104);
  cairo_line_to(cr, 208, 104);
  NeonStroke(cr, pal::kCyan, 1, 0.7);
}

void Planet(cairo_t* cr) {
  Circle(cr, 128, 128, 70);
  cairo_pattern_t* p = cairo_pattern_create_radial(100, 100, 10, 128, 128, 72);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.55, 0.9);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.2, 0.05, 0.35);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_save(cr);
  cairo_translate(cr, 128, 128);
  cairo_rotate(cr, -0.35);
  cairo_scale(cr, 1, 0.28);
  Circle(cr, 0, 0, 112);
  cairo_restore(cr);
  NeonStroke(cr, pal::kCyan, 4);
}

void BigShip(cairo_t* cr) {
  SoftSpot(cr, 56, 128, 60, pal::kOrange, 0.8);
  cairo_save(cr);
  cairo_scale(cr, 8, 8);
  ShipHull(cr);
  cairo_restore(cr);
  NeonShape(cr, pal::kCyan, 5, 0.85);
}

void Nebula(cairo_t* cr) {
  SoftSpot(cr, 100, 110, 100, pal::kMagenta, 0.55);
  SoftSpot(cr, 160, 150, 90, pal::kBlue, 0.55);
  SoftSpot(cr, 130, 90, 60, pal::kCyan, 0.4);
  for (int i = 0; i < 3; ++i) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 128, 128, 40 + 25 * i, i * 2.1, i * 2.1 + 3.6);
    NeonStroke(cr, Mix(pal::kViolet, pal::kWhite, 0.2 * i), 2, 0.5);
  }
}

void Moon(cairo_t* cr) {
  Circle(cr, 128, 128, 90);
  FillVertical(cr, 38, 218, {0.75, 0.78, 0.85}, {0.22, 0.24, 0.32});
  const double craters[][3] = {{100, 100, 18}, {160, 120, 12}, {120, 170, 22}, {170, 175, 9}};
  for (const auto& c : craters) {
    Circle(cr, c[0], c[1], c[2]);
    SetRgb(cr, {0.1, 0.1, 0.15}, 0.35);
    cairo_fill(cr);
  }
  Circle(cr, 128, 128, 90);
  NeonStroke(cr, pal::kWhite, 2, 0.5);
}

}  // namespace

void DrawIcon(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:  // pause
      RingedIcon(cr);
      cairo_rectangle(cr, 10.5, 9, 4, 14);
      cairo_rectangle(cr, 17.5, 9, 4, 14);
      return FillPale(cr);
    case 1:  // end the run
      RingedIcon(cr);
      cairo_rectangle(cr, 10, 10, 12, 12);
      return FillPale(cr);
    case 2:  // options
      Gear(cr, 16, 16, 12, 8);
      NeonShape(cr, kPale, 1.2);
      Circle(cr, 16, 16, 4);
      return FillPale(cr);
    case 3:  // play / resume
      RingedIcon(cr);
      Polygon(cr, {12, 8.5, 23.5, 16, 12, 23.5});
      return FillPale(cr);
    case 4:  // back
      RingedIcon(cr);
      Arrow(cr, 14, 16, M_PI, 8);
      return FillPale(cr);
    case 5:  // forward
      RingedIcon(cr);
      Arrow(cr, 18, 16, 0, 8);
      return FillPale(cr);
    case 6:  // selection ring
      Circle(cr, 16, 16, 14);
      NeonStroke(cr, pal::kWhite, 1.8);
      return;
    case 7:  // calibrate
      RingedIcon(cr);
      Circle(cr, 16, 16, 6);
      cairo_move_to(cr, 16, 5);
      cairo_line_to(cr, 16, 27);
      cairo_move_to(cr, 5, 16);
      cairo_line_to(cr, 27, 16);
      NeonStroke(cr, kPale, 1);
      Circle(cr, 16, 16, 2);
      return FillPale(cr);
    default:
      return;
  }
}

void DrawButton(cairo_t* cr, int frame) {
  if (frame < 6) return LevelDisc(cr, kDiscColours[frame]);
  switch (frame) {
    case 8:
      return HubTeeth(cr);
    case 9:
      return HubArcs(cr);
    case 10:
      return HubCore(cr);
    case 12:
      return Emblem(cr);
    default:
      return;
  }
}

// A 4-wide grid: 1 up, 4 left, 5 centre, 6 right, 9 down, 0 the handle that moves the pad.
void DrawDpad(cairo_t* cr, int frame) {
  const double angles[] = {-M_PI / 2, M_PI, 0, M_PI / 2};
  int arm = frame == 1 ? 0 : frame == 4 ? 1 : frame == 6 ? 2 : frame == 9 ? 3 : -1;
  if (arm >= 0) {
    RoundedRect(cr, 3, 3, 26, 26, 6);
    NeonShape(cr, kPale, 1.4, 0.6);
    Arrow(cr, 16, 16, angles[arm], 8);
    return FillPale(cr);
  }
  if (frame == 5) {
    Circle(cr, 16, 16, 9);
    return NeonShape(cr, kPale, 1.2, 0.6);
  }
  if (frame == 0) {
    Circle(cr, 16, 16, 14);
    NeonShape(cr, kPale, 1.2, 0.5);
    for (int i = 0; i < 4; ++i)
      Arrow(cr, 16 + 8 * std::cos(i * M_PI / 2), 16 + 8 * std::sin(i * M_PI / 2), i * M_PI / 2,
            3.5);
    return FillPale(cr);
  }
}

void DrawCircle(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:
      return SoftSpot(cr, 128, 128, 126, kPale, 0.8);
    case 1:
      return HubDisc(cr);
    case 2:
      Circle(cr, 128, 128, 120);
      return NeonStroke(cr, kPale, 3);
    default:
      return WheelRing(cr);
  }
}

void DrawStudioLogo(cairo_t* cr, int) {
  StudioMark(cr);
}
void DrawTestcard(cairo_t* cr, int) {
  Testcard(cr);
}
void DrawTitleLogo(cairo_t* cr, int) {
  TitleLogo(cr);
}

void DrawMenuArt(cairo_t* cr, int frame) {
  switch (frame) {
    case 0:
      return Planet(cr);
    case 1:
      return BigShip(cr);
    case 2:
      return Nebula(cr);
    default:
      return Moon(cr);
  }
}

}  // namespace assets
