#include "fonts.h"

#include "palette.h"
#include "shapes.h"
#include "typeface.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace assetgen {
namespace {

// One rasterised glyph as an alpha mask, placed relative to its pen origin.
struct GlyphMask {
    cairo_surface_t* surface = nullptr;
    int left = 0;  // ink box relative to the origin, in device pixels (y up)
    int top = 0;
    int width = 0;
    int height = 0;

    ~GlyphMask() {
        if (surface) cairo_surface_destroy(surface);
    }
};

// Rasterises a character with FreeType's hinting at an em of em_w x em_h
// device pixels; `crisp` renders one-bit pixels (the 1x font), otherwise
// antialiased grey.
void rasterise(GlyphMask& out, FT_Face face, unsigned code, int em_w, int em_h, bool crisp) {
    FT_Set_Pixel_Sizes(face, em_w, em_h);
    // For one-bit pixels FreeType's auto-hinter fits DejaVu to the grid more
    // cleanly than the font's own instructions (the t keeps its bar).
    const FT_Int32 flags =
        FT_LOAD_RENDER | (crisp ? FT_LOAD_TARGET_MONO | FT_LOAD_FORCE_AUTOHINT : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Char(face, code, flags)) throw std::runtime_error("cannot render a glyph");
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    out.left = face->glyph->bitmap_left;
    out.top = face->glyph->bitmap_top;
    out.width = int(bitmap.width);
    out.height = int(bitmap.rows);
    if (out.width == 0 || out.height == 0) return;
    out.surface = cairo_image_surface_create(CAIRO_FORMAT_A8, out.width, out.height);
    cairo_surface_flush(out.surface);
    unsigned char* data = cairo_image_surface_get_data(out.surface);
    const int stride = cairo_image_surface_get_stride(out.surface);
    for (int y = 0; y < out.height; ++y) {
        const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
        for (int x = 0; x < out.width; ++x) {
            const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
            data[y * stride + x] = mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : row[x];
        }
    }
    cairo_surface_mark_dirty(out.surface);
}

// Paints a mask in the colour at device-pixel offset (dx, dy) from (x, y).
void paint_mask(cairo_t* cr, const GlyphMask& glyph, double x, double y, const Rgb& colour, double alpha) {
    set_colour(cr, colour, alpha);
    cairo_mask_surface(cr, glyph.surface, x, y);
}

// Draws a glyph with its ink box centred horizontally on the cell centre and
// its baseline at `baseline`; the pen is in device pixels here.
void draw_centred_glyph(Pen& pen, const GlyphMask& glyph, double centre_x, int baseline, bool shaded) {
    if (!glyph.surface) return;
    cairo_t* cr = pen.cr;
    const double x = std::round(centre_x - glyph.width / 2.0);
    const double y = baseline - glyph.top;
    if (shaded) {
        // A dark rim (from 2x on) and a drop shadow keep tinted text legible
        // on light backgrounds.
        const int shadow = pen.level;
        paint_mask(cr, glyph, x + shadow, y + shadow, ink::kInk, 0.85);
        if (pen.detailed()) {
            const int rim = pen.level / 2;
            for (int dy = -rim; dy <= rim; ++dy)
                for (int dx = -rim; dx <= rim; ++dx)
                    if (dx || dy) paint_mask(cr, glyph, x + dx, y + dy, ink::kInk, 0.8);
        }
    }
    paint_mask(cr, glyph, x, y, ink::kWhite, 1.0);
}

// --- button glyphs -----------------------------------------------------

// Controller glyphs: the face buttons as a diamond of four with the meant
// one lit, shoulder buttons and triggers as labelled caps, the menu button,
// and the pad as a cross with the meant arm lit.
void face_buttons(Pen& pen, int lit) {
    cairo_t* cr = pen.cr;
    const double offsets[4][2] = {{0, 3.7}, {3.7, 0}, {-3.7, 0}, {0, -3.7}};  // J K L I
    const Rgb colours[4] = {ink::kLeaf, ink::kRuby, ink::kAzure, ink::kSun};
    for (int i = 0; i < 4; ++i) {
        circle_path(cr, 8 + offsets[i][0], 8 + offsets[i][1], i == lit ? 2.6 : 1.7);
        fill_with_edge(pen, i == lit ? colours[i] : ink::kSlate, ink::kInk, pen.px(1));
    }
}

void labelled_cap(Pen& pen, const char* label, bool trigger, double width) {
    cairo_t* cr = pen.cr;
    const double x = 8 - width / 2;
    if (trigger) {
        cairo_new_path(cr);
        cairo_move_to(cr, x, 12);
        cairo_line_to(cr, x, 7);
        cairo_curve_to(cr, x, 3.5, x + width, 3.5, x + width, 7);
        cairo_line_to(cr, x + width, 12);
        cairo_close_path(cr);
    } else {
        rounded_rect_path(cr, x, 4.5, width, 7, 2.5);
    }
    fill_with_edge(pen, ink::kSlate, ink::kInk, pen.px(1));
    cairo_new_path(cr);
    text_path(pen, Typeface::sans(), label, 8, 10.8, 6.5);
    set_colour(cr, ink::kWhite);
    cairo_fill(cr);
}

void menu_button(Pen& pen) {
    cairo_t* cr = pen.cr;
    rounded_rect_path(cr, 3, 5, 10, 6, 3);
    fill_with_edge(pen, ink::kSlate, ink::kInk, pen.px(1));
    for (double y : {6.8, 8.0, 9.2}) {
        cairo_rectangle(cr, 5.5, y - pen.px(0.5), 5, pen.px(1));
        set_colour(cr, ink::kWhite);
        cairo_fill(cr);
    }
}

void pad_cross(Pen& pen, int lit_arm) {
    cairo_t* cr = pen.cr;
    cairo_new_path(cr);
    cairo_rectangle(cr, 6, 2.5, 4, 11);
    cairo_rectangle(cr, 2.5, 6, 11, 4);
    fill_with_edge(pen, ink::kSlate, ink::kInk, pen.px(1));
    const double arms[4][4] = {{6, 2.5, 4, 4}, {6, 9.5, 4, 4}, {2.5, 6, 4, 4}, {9.5, 6, 4, 4}};  // W S A D
    cairo_rectangle(cr, arms[lit_arm][0], arms[lit_arm][1], arms[lit_arm][2], arms[lit_arm][3]);
    set_colour(cr, ink::kWhite);
    cairo_fill(cr);
}

void paint_controller_glyph(Pen& pen, char letter) {
    switch (letter) {
    case 'J': face_buttons(pen, 0); return;
    case 'K': face_buttons(pen, 1); return;
    case 'L': face_buttons(pen, 2); return;
    case 'I': face_buttons(pen, 3); return;
    case 'U': labelled_cap(pen, "L1", false, 12); return;
    case 'O': labelled_cap(pen, "R1", false, 12); return;
    case 'Q': labelled_cap(pen, "L2", true, 11); return;
    case 'E': labelled_cap(pen, "R2", true, 11); return;
    case 'F': menu_button(pen); return;
    case 'W': pad_cross(pen, 0); return;
    case 'S': pad_cross(pen, 1); return;
    case 'A': pad_cross(pen, 2); return;
    case 'D': pad_cross(pen, 3); return;
    default: return;
    }
}

// Keyboard glyphs: a keycap with its letter; U and O, which the text writer
// gives more room, get wider caps.
void paint_keycap(Pen& pen, char letter) {
    cairo_t* cr = pen.cr;
    const double width = (letter == 'U' || letter == 'O') ? 12.5 : 11;
    const double x = 8 - width / 2;
    rounded_rect_path(cr, x, 2.5, width, 11, 2.5);
    fill_with_edge(pen, ink::kSteel, ink::kInk, pen.px(1));
    rounded_rect_path(cr, x + 1, 3, width - 2, 8.5, 2);
    set_colour(cr, ink::kCloud);
    cairo_fill(cr);
    const char text[2] = {letter, 0};
    cairo_new_path(cr);
    text_path(pen, Typeface::sans(), text, 8, 10.2, 8);
    set_colour(cr, ink::kInk);
    cairo_fill(cr);
}

bool is_drawn_char(int code) { return code > 32 && code < 127; }

}  // namespace

int advance_adjust(char c) {
    if (c == 'w' || c == 'm') return 2;
    if (c == 'W' || c == 'M') return 1;
    if (c == 'i' || c == 'f' || c == 'l') return -3;
    if (c != 0 && std::strchr("jskrztn", c)) return -1;
    return 0;
}

int button_advance_adjust(char letter) { return (letter == 'U' || letter == 'O') ? 6 : 4; }

void paint_game_font(Pen& pen, int frame) {
    const int buttons = int(std::strlen(kButtonLetters));
    // A glyph is drawn centred on the pen, which then moves 7 units plus the
    // glyph's adjustment; shifting each glyph by half its adjustment keeps
    // the gaps between letters even. Button glyphs are too wide to move that
    // far inside their cell, so they move one unit.
    const bool controller = frame >= kControllerGlyphs && frame < kControllerGlyphs + buttons;
    const bool keyboard = frame >= kKeyboardGlyphs && frame < kKeyboardGlyphs + buttons;
    if (controller || keyboard) {
        const char letter = kButtonLetters[frame - (controller ? kControllerGlyphs : kKeyboardGlyphs)];
        cairo_save(pen.cr);
        cairo_translate(pen.cr, 1, 0);
        if (controller)
            paint_controller_glyph(pen, letter);
        else
            paint_keycap(pen, letter);
        cairo_restore(pen.cr);
        return;
    }
    const int code = frame + kFirstChar;
    if (!is_drawn_char(code)) return;
    // A condensed em (9 x 10 pixels at 1x) gives capitals 7 pixels tall that
    // fit the 7-unit advance; the baseline sits so capitals centre in the cell.
    GlyphMask glyph;
    rasterise(glyph, Typeface::sans().face(), unsigned(code), 9 * pen.level, 10 * pen.level, pen.level == 1);
    cairo_save(pen.cr);
    cairo_scale(pen.cr, 1.0 / pen.level, 1.0 / pen.level);
    const double centre = (8.0 + advance_adjust(char(code)) / 2.0) * pen.level;
    draw_centred_glyph(pen, glyph, centre, int(std::lround(11.6 * pen.level)), true);
    cairo_restore(pen.cr);
}

void paint_default_font(Pen& pen, int frame) {
    const int code = frame + kFirstChar;
    if (!is_drawn_char(code)) return;
    GlyphMask glyph;
    rasterise(glyph, Typeface::mono().face(), unsigned(code), 10, 12, true);
    draw_centred_glyph(pen, glyph, kDefaultFontFrameW / 2.0, 12, false);
}

}  // namespace assetgen
