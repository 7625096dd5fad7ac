#include "contact.h"

#include <algorithm>
#include <string>
#include <vector>

#include "canvas.h"
#include "game/frame/glyphs.h"
#include "sheets.h"
#include "text.h"

namespace assets {
namespace {

constexpr double kPageWidth = 1640;
constexpr double kMargin = 16;
constexpr double kLabelHeight = 22;
constexpr double kGap = 2;
constexpr double kMinBlockWidth = 340;  // room for the label
constexpr double kSampleHeight = 150;

// Shown size of a 1x frame pixel, so that tiny sprites and big panels are both readable.
double DisplayScale(const SheetDef& def) {
  if (def.image.frameW <= 16) return 3;
  if (def.image.frameW >= 256) return 0.75;
  return 1.5;
}

struct Block {
  const SheetDef* def;
  double x, y, w, h;
};

std::vector<Block> Layout(double& pageHeight) {
  std::vector<Block> blocks;
  double x = kMargin, y = kMargin, rowHeight = 0;
  for (const SheetDef& def : ImageSheets()) {
    int columns = std::min(def.columns, 32);
    double s = DisplayScale(def);
    double w = std::max(columns * (def.image.frameW * s + kGap), kMinBlockWidth);
    double h = kLabelHeight + RowsFor(def.image.frames, columns) * (def.image.frameH * s + kGap);
    if (x + w > kPageWidth - kMargin && x > kMargin) {
      x = kMargin;
      y += rowHeight + kMargin;
      rowHeight = 0;
    }
    blocks.push_back({&def, x, y, w, h});
    x += w + kMargin;
    rowHeight = std::max(rowHeight, h);
  }
  pageHeight = y + rowHeight + kMargin + kSampleHeight;
  return blocks;
}

void DrawLabel(cairo_t* cr, const std::string& text, double size, double x, double y) {
  TextPathAt(cr, text.c_str(), size, x, y);
  cairo_set_source_rgb(cr, 0.9, 0.9, 0.85);
  cairo_fill(cr);
}

void DrawBlock(cairo_t* cr, const Block& b, cairo_surface_t* image, int density) {
  const SheetDef& def = *b.def;
  int columns = std::min(def.columns, 32);
  double s = DisplayScale(def);
  double fw = def.image.frameW * s, fh = def.image.frameH * s;
  int d = def.image.densities ? density : 1;
  std::string label = std::string(def.image.name) + DensitySuffix(d) + ".png  " +
                      std::to_string(def.image.frameW * d) + "x" +
                      std::to_string(def.image.frameH * d) + " x " +
                      std::to_string(def.image.frames);
  DrawLabel(cr, label, 13, b.x, b.y + 15);
  for (int i = 0; i < def.image.frames; ++i) {
    double x = b.x + (i % columns) * (fw + kGap);
    double y = b.y + kLabelHeight + (i / columns) * (fh + kGap);
    cairo_rectangle(cr, x, y, fw, fh);
    cairo_set_source_rgb(cr, 0.17, 0.17, 0.2);
    cairo_fill(cr);
    if (image) {
      double sx = (i % def.columns) * def.image.frameW * d,
             sy = (i / def.columns) * def.image.frameH * d;
      cairo_save(cr);
      cairo_rectangle(cr, x, y, fw, fh);
      cairo_clip(cr);
      cairo_translate(cr, x, y);
      cairo_scale(cr, s / d, s / d);
      cairo_set_source_surface(cr, image, -sx, -sy);
      cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
      cairo_paint(cr);
      cairo_restore(cr);
    }
    if (fw >= 32) DrawLabel(cr, std::to_string(i), 8, x + 2, y + 9);
  }
}

// Lays glyph frames out as the game's text does: advance 7 plus the character's adjustment,
// each glyph centred on the pen; size is game units per unit.
void DrawTextSample(cairo_t* cr, cairo_surface_t* font, int density, const std::vector<int>& glyphs,
                    double size, double x, double y) {
  constexpr int kColumns = 16, kCell = kGlyphCell;
  for (int g : glyphs) {
    int adjust = g >= 96 ? 4 : GlyphSpacingAdjust(g + 32);
    cairo_save(cr);
    cairo_translate(cr, x - kCell * size / 2, y - kCell * size / 2);
    cairo_rectangle(cr, 0, 0, kCell * size, kCell * size);
    cairo_clip(cr);
    cairo_scale(cr, size / density, size / density);
    cairo_set_source_surface(cr, font, -(g % kColumns) * kCell * density,
                             -(g / kColumns) * kCell * density);
    cairo_paint(cr);
    cairo_restore(cr);
    x += (kGlyphW + adjust) * size;
  }
}

std::vector<int> Glyphs(const char* text) {
  std::vector<int> glyphs;
  for (const char* c = text; *c; ++c) glyphs.push_back(*c - 32);
  return glyphs;
}

void DrawTextSamples(cairo_t* cr, const std::filesystem::path& dataDir, int density, double top) {
  std::string file =
      std::string(ImageAssetForSlot(kFontSlot).name) + DensitySuffix(density) + ".png";
  cairo_surface_t* font = cairo_image_surface_create_from_png((dataDir / file).c_str());
  if (cairo_surface_status(font) == CAIRO_STATUS_SUCCESS) {
    DrawTextSample(cr, font, density,
                   Glyphs("The quick brown fox jumps over the lazy dog. 0123456789"), 2.5,
                   kMargin + 10, top + 20);
    std::vector<int> buttons = Glyphs("Press ");
    buttons.push_back(97);
    for (int g : Glyphs(" to Quit or ")) buttons.push_back(g);
    buttons.push_back(112);
    for (int g : Glyphs(" Wimmelfix! 00012345 Final")) buttons.push_back(g);
    DrawTextSample(cr, font, density, buttons, 2.5, kMargin + 10, top + 60);
    DrawTextSample(cr, font, density, Glyphs("Size 1: Sound : SFX + Music  <[BACK]  Top 10"), 1,
                   kMargin + 10, top + 95);
    DrawTextSample(cr, font, density, Glyphs("Size 0.8: Device 1280 x 720  Frame rate 60"), 0.8,
                   kMargin + 10, top + 120);
  }
  cairo_surface_destroy(font);
}

}  // namespace

bool WriteContactSheet(const std::filesystem::path& dataDir, int density,
                       const std::filesystem::path& out) {
  double pageHeight = 0;
  std::vector<Block> blocks = Layout(pageHeight);
  cairo_surface_t* page = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPageWidth, pageHeight);
  cairo_t* cr = cairo_create(page);
  cairo_set_source_rgb(cr, 0.3, 0.3, 0.33);
  cairo_paint(cr);
  for (const Block& b : blocks) {
    int d = b.def->image.densities ? density : 1;
    std::string file = std::string(b.def->image.name) + DensitySuffix(d) + ".png";
    cairo_surface_t* image = cairo_image_surface_create_from_png((dataDir / file).c_str());
    bool loaded = cairo_surface_status(image) == CAIRO_STATUS_SUCCESS;
    DrawBlock(cr, b, loaded ? image : nullptr, density);
    cairo_surface_destroy(image);
  }
  DrawTextSamples(cr, dataDir, density, pageHeight - kSampleHeight);
  cairo_destroy(cr);
  bool ok = cairo_surface_write_to_png(page, out.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(page);
  return ok;
}

}  // namespace assets
