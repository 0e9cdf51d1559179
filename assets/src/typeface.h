// The DejaVu faces the generator draws letters with, opened once through
// FreeType and shared with Cairo.
#pragma once

#include "sheet.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace assetgen {

class Typeface {
public:
    static Typeface& sans();  // DejaVu Sans Bold
    static Typeface& mono();  // DejaVu Sans Mono Bold

    FT_Face face() const { return face_; }
    cairo_font_face_t* cairo_face() const { return cairo_face_; }

    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

private:
    explicit Typeface(const char* path);
    FT_Face face_ = nullptr;
    cairo_font_face_t* cairo_face_ = nullptr;
};

// Appends the outline of `text` to the current path, centred on cx with its
// baseline at y, `size` units tall (the em size); hinted to the pixel grid
// at the pen's resolution. Returns the text's advance width in units.
double text_path(Pen& pen, const Typeface& typeface, const std::string& text, double cx,
                 double baseline, double size);

}  // namespace assetgen
