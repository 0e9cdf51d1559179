// The program's icon for desktop menus: the ship lifting off from the title's
// night sky, on a rounded tile, at each size desktops ask for.
#include "app_icon.h"

#include "art.h"
#include "shapes.h"

#include "game/ids.h"

#include <algorithm>

namespace assetgen {
namespace {

constexpr double kUnits = 32;  // the icon is drawn in a square of 32 units
constexpr Rgb kTitleSky = 0x000050;  // the title screen's clear colour

void paint_hills(Pen& pen) {
    cairo_t* cr = pen.cr;
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 32);
    cairo_line_to(cr, 0, 26);
    cairo_curve_to(cr, 8, 23, 13, 27, 18, 26);
    cairo_curve_to(cr, 24, 25, 28, 23, 32, 25);
    cairo_line_to(cr, 32, 32);
    cairo_close_path(cr);
    fill_with_edge(pen, ink::kNight.mix(ink::kSea, 0.35), ink::kInk, pen.px(1));
}

// The engine's flame under the ship, hot at its heart.
void paint_flame(cairo_t* cr) {
    const Rgb colours[2] = {ink::kAmber, ink::kSun};
    const double lengths[2] = {8, 5};
    const double widths[2] = {3.6, 2};
    for (int i = 0; i < 2; ++i) {
        cairo_new_path(cr);
        cairo_move_to(cr, 16 - widths[i], 25.5);
        cairo_curve_to(cr, 16 - widths[i], 27 + lengths[i] * 0.4, 16, 25.5 + lengths[i], 16, 25.5 + lengths[i]);
        cairo_curve_to(cr, 16, 25.5 + lengths[i], 16 + widths[i], 27 + lengths[i] * 0.4, 16 + widths[i], 25.5);
        cairo_close_path(cr);
        set_colour(cr, colours[i]);
        cairo_fill(cr);
    }
}

void paint_app_icon(Pen& pen) {
    cairo_t* cr = pen.cr;
    rounded_rect_path(cr, 1, 1, 30, 30, 6);
    cairo_path_t* tile = cairo_copy_path(cr);
    fill_vertical(cr, kTitleSky, ink::kDusk, 1, 31);
    cairo_save(cr);
    cairo_append_path(cr, tile);
    cairo_clip(cr);
    scatter_stars(cr, 11, 14, 3, 3, 26, 18);
    paint_hills(pen);
    // The ship, a little smaller than its sprite, leaves room for the flame.
    cairo_translate(cr, 16, 12);
    cairo_scale(cr, 0.78, 0.78);
    cairo_translate(cr, -16, -14);
    paint_flame(cr);
    paint_gfx(pen, gfx_frame::kShip);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_append_path(cr, tile);
    cairo_set_line_width(cr, std::max(pen.px(1), 0.6));
    set_colour(cr, ink::kInk);
    cairo_stroke(cr);
    cairo_path_destroy(tile);
}

}  // namespace

// One frame of `size` pixels, drawn in the icon's units with a pen as fine
// as the size allows.
RgbaImage render_app_icon(int size) {
    const SheetLayout one_frame{"", size, size, 1, 1};
    return render_sheet(one_frame, 1, [size](Pen& pixels, int) {
        cairo_scale(pixels.cr, size / kUnits, size / kUnits);
        Pen pen{pixels.cr, std::max(1, size / static_cast<int>(kUnits))};
        paint_app_icon(pen);
    });
}

}  // namespace assetgen
