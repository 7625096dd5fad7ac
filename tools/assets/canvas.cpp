#include "canvas.h"

#include <cmath>

namespace assets {

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void SetRgb(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void Circle(cairo_t* cr, double x, double y, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_close_path(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void Polygon(cairo_t* cr, const std::vector<double>& xy) {
  PolygonAt(cr, 0, 0, 0, xy);
}

void PolygonAt(cairo_t* cr, double cx, double cy, double angle, const std::vector<double>& xy) {
  double c = std::cos(angle), s = std::sin(angle);
  cairo_new_sub_path(cr);
  for (size_t i = 0; i + 1 < xy.size(); i += 2) {
    cairo_line_to(cr, cx + xy[i] * c - xy[i + 1] * s, cy + xy[i] * s + xy[i + 1] * c);
  }
  cairo_close_path(cr);
}

void NeonStroke(cairo_t* cr, Rgb c, double width, double alpha) {
  cairo_save(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  // Wide faint layers first build the halo; each narrower one adds to the light.
  const double halo[][2] = {{4.0, 0.07}, {2.8, 0.1}, {1.9, 0.16}};
  for (const auto& layer : halo) {
    SetRgb(cr, c, alpha * layer[1]);
    cairo_set_line_width(cr, width * layer[0]);
    cairo_stroke_preserve(cr);
  }
  SetRgb(cr, c, alpha);
  cairo_set_line_width(cr, width);
  cairo_stroke_preserve(cr);
  SetRgb(cr, Mix(c, pal::kWhite, 0.65), alpha * 0.9);
  cairo_set_line_width(cr, width * 0.35);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void NeonShape(cairo_t* cr, Rgb c, double width, double bodyAlpha) {
  SetRgb(cr, Mix(pal::kNight, c, 0.3), bodyAlpha);
  cairo_fill_preserve(cr);
  NeonStroke(cr, c, width);
}

void SoftSpot(cairo_t* cr, double x, double y, double r, Rgb c, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.35, c.r, c.g, c.b, alpha * 0.45);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_new_path(cr);
  Circle(cr, x, y, r);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, alpha);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, alpha);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

Sheet::Sheet(int frameW, int frameH, int frames, int columns, int density)
    : frameW_(frameW), frameH_(frameH), frames_(frames), columns_(columns), density_(density) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, frameW * columns * density,
                                        frameH * RowsFor(frames, columns) * density);
  cr_ = cairo_create(surface_);
}

Sheet::~Sheet() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

cairo_t* Sheet::BeginFrame(int i) {
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_translate(cr_, (i % columns_) * frameW_ * density_, (i / columns_) * frameH_ * density_);
  cairo_scale(cr_, density_, density_);
  cairo_rectangle(cr_, 0, 0, frameW_, frameH_);
  cairo_clip(cr_);
  cairo_new_path(cr_);
  return cr_;
}

void Sheet::EndFrame() {
  cairo_restore(cr_);
}

bool Sheet::WritePng(const std::string& path) const {
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace assets
