#include "app_icon.h"

#include <cairo-svg.h>

#include "canvas.h"

namespace assets {
namespace {

namespace fs = std::filesystem;

constexpr double kFrame = 32;        // the sprite's frame, in which the hull is drawn
constexpr double kCorner = 6;        // the tile's rounding, in frame units
constexpr double kMargin = 1;        // between the tile and the icon's edge
constexpr double kShipScale = 0.85;  // the ship kept clear of the tile's edge

void Tile(cairo_t* cr) {
  RoundedRect(cr, kMargin, kMargin, kFrame - 2 * kMargin, kFrame - 2 * kMargin, kCorner);
  FillVertical(cr, kMargin, kFrame - kMargin, pal::kSteel, pal::kNight);
  RoundedRect(cr, kMargin, kMargin, kFrame - 2 * kMargin, kFrame - 2 * kMargin, kCorner);
  NeonStroke(cr, pal::kBlue, 0.6, 0.5);
}

void Ship(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, kFrame / 2, kFrame / 2);
  cairo_scale(cr, kShipScale, kShipScale);
  cairo_translate(cr, -kFrame / 2, -kFrame / 2);
  SoftSpot(cr, 8, 16, 8, pal::kOrange, 0.9);
  ShipHull(cr);
  NeonShape(cr, pal::kCyan, 1.2, 0.85);
  Polygon(cr, {22, 16, 15, 13, 15, 19});  // canopy
  SetRgb(cr, Mix(pal::kCyan, pal::kWhite, 0.6));
  cairo_fill(cr);
  cairo_restore(cr);
}

std::string WritePng(const fs::path& path, int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  DrawAppIcon(cr, size);
  cairo_destroy(cr);
  const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written ? "" : "cannot write " + path.string();
}

std::string WriteSvg(const fs::path& path) {
  cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kFrame * 8, kFrame * 8);
  cairo_t* cr = cairo_create(surface);
  DrawAppIcon(cr, kFrame * 8);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written ? "" : "cannot write " + path.string();
}

}  // namespace

void ShipHull(cairo_t* cr) {
  Polygon(cr, {29, 16, 10, 6, 4, 8, 8, 16, 4, 24, 10, 26});
}

void DrawAppIcon(cairo_t* cr, double size) {
  cairo_save(cr);
  cairo_scale(cr, size / kFrame, size / kFrame);
  Tile(cr);
  Ship(cr);
  cairo_restore(cr);
}

std::string WriteAppIcons(const fs::path& dir, const std::string& name) {
  std::error_code error;
  for (int size : kIconSizes) {
    const fs::path folder = dir / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    fs::create_directories(folder, error);
    if (error) return "cannot create " + folder.string();
    if (std::string why = WritePng(folder / (name + ".png"), size); !why.empty()) return why;
  }
  const fs::path scalable = dir / "scalable" / "apps";
  fs::create_directories(scalable, error);
  if (error) return "cannot create " + scalable.string();
  return WriteSvg(scalable / (name + ".svg"));
}

}  // namespace assets
