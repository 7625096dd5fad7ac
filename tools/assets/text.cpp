#include "text.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

namespace assets {
namespace {

struct FreeTypeFont {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

const cairo_user_data_key_t kFontKey{};

void DestroyFreeTypeFont(void* data) {
  auto* font = static_cast<FreeTypeFont*>(data);
  FT_Done_Face(font->face);
  FT_Done_FreeType(font->library);
  delete font;
}

// FreeType objects are not shared between threads, so each thread opens the file once; cairo
// frees it with the face's last reference.
cairo_font_face_t* CreateFace() {
  auto* font = new FreeTypeFont;
  if (FT_Init_FreeType(&font->library) != 0 ||
      FT_New_Face(font->library, ZV_FONT_FILE, 0, &font->face) != 0) {
    if (font->library) FT_Done_FreeType(font->library);
    delete font;
    throw std::runtime_error("cannot open the font " ZV_FONT_FILE);
  }
  cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(font->face, 0);
  cairo_font_face_set_user_data(face, &kFontKey, font, DestroyFreeTypeFont);
  return face;
}

struct ThreadFace {
  cairo_font_face_t* face = CreateFace();
  ~ThreadFace() { cairo_font_face_destroy(face); }
};

}  // namespace

void UseTextFont(cairo_t* cr, double size) {
  thread_local ThreadFace threadFace;
  cairo_set_font_face(cr, threadFace.face);
  cairo_set_font_size(cr, size);
  // Outlines only: hinting would make the three densities differ in shape.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

void TextPathCentered(cairo_t* cr, const char* text, double size, double cx, double cy) {
  UseTextFont(cr, size);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  TextPathAt(cr, text, size, cx - ext.x_bearing - ext.width / 2,
             cy - ext.y_bearing - ext.height / 2);
}

void TextPathAt(cairo_t* cr, const char* text, double size, double x, double baseline) {
  UseTextFont(cr, size);
  cairo_move_to(cr, x, baseline);
  cairo_text_path(cr, text);
}

}  // namespace assets
