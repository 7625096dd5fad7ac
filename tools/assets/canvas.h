#pragma once
// Cairo helpers shared by every drawing: sheets of equal frames drawn at a chosen density
// from one vector description, and the neon strokes and glows of the game's look.
#include <cairo.h>

#include <string>
#include <vector>

namespace assets {

struct Rgb {
  double r, g, b;
};

// The palette: neon colours over a dark space backdrop.
namespace pal {
inline constexpr Rgb kCyan{0.25, 0.95, 1.0};
inline constexpr Rgb kMagenta{1.0, 0.3, 0.85};
inline constexpr Rgb kLime{0.55, 1.0, 0.3};
inline constexpr Rgb kOrange{1.0, 0.6, 0.15};
inline constexpr Rgb kYellow{1.0, 0.92, 0.3};
inline constexpr Rgb kRed{1.0, 0.25, 0.25};
inline constexpr Rgb kGreen{0.3, 1.0, 0.45};
inline constexpr Rgb kBlue{0.35, 0.6, 1.0};
inline constexpr Rgb kViolet{0.65, 0.4, 1.0};
inline constexpr Rgb kWhite{1.0, 1.0, 1.0};
inline constexpr Rgb kSteel{0.16, 0.18, 0.28};
inline constexpr Rgb kNight{0.05, 0.06, 0.13};
}  // namespace pal

Rgb Mix(Rgb a, Rgb b, double t);

void SetRgb(cairo_t* cr, Rgb c, double alpha = 1.0);
void Circle(cairo_t* cr, double x, double y, double r);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A closed polygon from (x, y) pairs.
void Polygon(cairo_t* cr, const std::vector<double>& xy);
// A closed polygon from (x, y) pairs turned by angle radians about (cx, cy) and moved there.
void PolygonAt(cairo_t* cr, double cx, double cy, double angle, const std::vector<double>& xy);

// Strokes the current path as a neon tube: soft halo, coloured body, pale core. Clears the path.
void NeonStroke(cairo_t* cr, Rgb c, double width, double alpha = 1.0);
// Fills the current path with a dark tinted body and outlines it as a neon tube.
void NeonShape(cairo_t* cr, Rgb c, double width, double bodyAlpha = 0.55);
// A round soft light that fades to nothing at radius r.
void SoftSpot(cairo_t* cr, double x, double y, double r, Rgb c, double alpha);
// Fills the current path with a vertical gradient from top to bottom colour. Clears the path.
void FillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom, double alpha = 1.0);

// A sheet of equal frames laid out left to right, then top to bottom, at one pixel density.
class Sheet {
 public:
  Sheet(int frameW, int frameH, int frames, int columns, int density);
  ~Sheet();
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  // Starts frame i: origin at the frame's top left, units of 1x pixels, clipped to the frame.
  cairo_t* BeginFrame(int i);
  void EndFrame();
  bool WritePng(const std::string& path) const;

  cairo_surface_t* surface() const { return surface_; }
  int frameW() const { return frameW_; }
  int frameH() const { return frameH_; }
  int frames() const { return frames_; }
  int columns() const { return columns_; }
  int density() const { return density_; }

 private:
  int frameW_, frameH_, frames_, columns_, density_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Rows a sheet of this many frames needs at this many columns.
constexpr int RowsFor(int frames, int columns) {
  return (frames + columns - 1) / columns;
}

}  // namespace assets
