#include "typeface.h"

#include <stdexcept>

namespace assetgen {

static FT_Library freetype() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib)) throw std::runtime_error("cannot start FreeType");
        return lib;
    }();
    return library;
}

Typeface::Typeface(const char* path) {
    if (FT_New_Face(freetype(), path, 0, &face_)) throw std::runtime_error(std::string("cannot open font ") + path);
    cairo_face_ = cairo_ft_font_face_create_for_ft_face(face_, 0);
}

Typeface& Typeface::sans() {
    static Typeface face(TARVOLAN_SANS_FONT);
    return face;
}

Typeface& Typeface::mono() {
    static Typeface face(TARVOLAN_MONO_FONT);
    return face;
}

double text_path(Pen& pen, const Typeface& typeface, const std::string& text, double cx,
                 double baseline, double size) {
    cairo_t* cr = pen.cr;
    cairo_set_font_face(cr, typeface.cairo_face());
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    cairo_move_to(cr, cx - extents.x_bearing - extents.width / 2, baseline);
    cairo_text_path(cr, text.c_str());
    return extents.x_advance;
}

}  // namespace assetgen
