// Single pictures: the maker's logo ("common/PlixLogo"), the circle of a
// television test card ("common/Testcard_Circle") and the game's title
// ("logo").
#include "art.h"
#include "shapes.h"
#include "typeface.h"

#include <cmath>

namespace assetgen {
namespace {

// Outlined lettering: a drop shadow, a thick ink edge, then the fill.
void lettering(Pen& pen, cairo_path_t* letters, const Rgb& top, const Rgb& bottom, double y0,
               double y1, double edge) {
    cairo_t* cr = pen.cr;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_save(cr);
    cairo_translate(cr, edge * 0.6, edge * 0.9);
    cairo_new_path(cr);
    cairo_append_path(cr, letters);
    cairo_set_line_width(cr, edge * 2);
    set_colour(cr, ink::kInk, 0.6);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_append_path(cr, letters);
    cairo_set_line_width(cr, edge * 2);
    set_colour(cr, ink::kInk);
    cairo_stroke_preserve(cr);
    fill_vertical(cr, top, bottom, y0, y1);
}

}  // namespace

void paint_maker_logo(Pen& pen, int) {
    cairo_t* cr = pen.cr;
    circle_path(cr, 128, 128, 112);
    fill_with_edge(pen, ink::kNight, ink::kWhite, 5);
    circle_path(cr, 128, 128, 112);
    cairo_set_line_width(cr, pen.px(2));
    set_colour(cr, ink::kInk);
    cairo_stroke(cr);
    // Four tilted tiles, one per accent colour.
    const Rgb tiles[4] = {ink::kRuby, ink::kSun, ink::kLeaf, ink::kSky};
    cairo_save(cr);
    cairo_translate(cr, 128, 96);
    cairo_rotate(cr, -M_PI / 14);
    for (int i = 0; i < 4; ++i) {
        rounded_rect_path(cr, (i % 2) * 34 - 32, (i / 2) * 34 - 32, 30, 30, 7);
        fill_with_edge(pen, tiles[i], ink::kInk, 2.5);
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    text_path(pen, Typeface::sans(), "PLIX", 128, 196, 50);
    cairo_path_t* word = cairo_copy_path(cr);
    lettering(pen, word, ink::kWhite, ink::kCloud, 160, 196, 3);
    cairo_path_destroy(word);
}

void paint_test_card(Pen& pen, int) {
    cairo_t* cr = pen.cr;
    const double c = 128, r = 124;
    circle_path(cr, c, c, r);
    fill_with_edge(pen, ink::kWhite, ink::kInk, pen.px(2));
    cairo_save(cr);
    circle_path(cr, c, c, r - 6);
    cairo_clip(cr);
    set_colour(cr, Rgb(0.5, 0.5, 0.5));
    cairo_paint(cr);
    // Gratings: black and white bars that get finer to the right.
    double x = 0;
    for (int band = 0; band < 5; ++band) {
        const double width = 6.0 / (band + 1);
        const double end = (band + 1) * 256.0 / 5;
        for (int i = 0; x < end; ++i, x += width) {
            cairo_rectangle(cr, x, 40, width, 36);
            set_colour(cr, i % 2 ? Rgb(0.05, 0.05, 0.05) : Rgb(0.95, 0.95, 0.95));
            cairo_fill(cr);
        }
    }
    // Colour bars.
    const Rgb bars[8] = {0xf0f0f0, 0xf0f000, 0x00f0f0, 0x00f000, 0xf000f0, 0xf00000, 0x0000f0, 0x101010};
    for (int i = 0; i < 8; ++i) {
        cairo_rectangle(cr, i * 32, 76, 32, 48);
        set_colour(cr, bars[i]);
        cairo_fill(cr);
    }
    // Grey steps.
    for (int i = 0; i < 6; ++i) {
        cairo_rectangle(cr, i * 256.0 / 6, 160, 256.0 / 6, 34);
        const double v = 0.1 + 0.16 * i;
        set_colour(cr, Rgb(v, v, v));
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, 194, 256, 64);
    set_colour(cr, ink::kAzure);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 0, 256, 40);
    set_colour(cr, ink::kRuby);
    cairo_fill(cr);
    // Name plate across the middle.
    cairo_rectangle(cr, 40, 124, 176, 36);
    set_colour(cr, Rgb(0.04, 0.04, 0.05));
    cairo_fill(cr);
    cairo_new_path(cr);
    text_path(pen, Typeface::sans(), "TARVOLAN", c, 150, 24);
    set_colour(cr, ink::kWhite);
    cairo_fill(cr);
    // Cross hair and centre circle.
    set_colour(cr, ink::kWhite, 0.9);
    cairo_rectangle(cr, c - pen.px(1), 0, pen.px(2), 40);
    cairo_rectangle(cr, c - pen.px(1), 194, pen.px(2), 62);
    cairo_fill(cr);
    circle_path(cr, c, c, 70);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_restore(cr);
    circle_path(cr, c, c, r - 6);
    cairo_set_line_width(cr, pen.px(2));
    set_colour(cr, ink::kInk);
    cairo_stroke(cr);
}

void paint_title(Pen& pen, int) {
    cairo_t* cr = pen.cr;
    // The winding path of paving slabs that leads to the ship.
    const double slabs[][2] = {{30, 104}, {44, 104}, {58, 104}, {72, 104}, {72, 90}, {86, 90},
                               {100, 90}, {114, 90}, {128, 90}, {128, 104}, {142, 104}, {156, 104},
                               {170, 104}, {184, 104}, {198, 104}};
    for (const auto& slab : slabs) {
        rounded_rect_path(cr, slab[0] - 6, slab[1] - 6, 12, 12, 2.5);
        fill_with_edge(pen, ink::kSand, ink::kClay, pen.px(1.5));
    }
    cairo_save(cr);
    cairo_translate(cr, 218, 96);
    cairo_scale(cr, 0.75, 0.75);
    cairo_translate(cr, -16, -16);
    paint_gfx(pen, 7);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, 128, 0);
    cairo_scale(cr, 0.9, 1);
    cairo_new_path(cr);
    text_path(pen, Typeface::sans(), "Tarvolan", 0, 76, 52);
    cairo_restore(cr);
    cairo_path_t* word = cairo_copy_path(cr);
    lettering(pen, word, ink::kSun, ink::kCoral, 38, 76, 3.5);
    if (pen.detailed()) {
        cairo_save(cr);
        cairo_new_path(cr);
        cairo_append_path(cr, word);
        cairo_clip(cr);
        cairo_rectangle(cr, 0, 36, 256, 12);
        set_colour(cr, ink::kWhite, 0.3);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_path_destroy(word);
}

}  // namespace assetgen
