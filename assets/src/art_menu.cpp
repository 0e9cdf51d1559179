// Image "menu": three layers of title artwork that slide together behind
// the carousel. Layers 0 and 1 are drawn three times enlarged over the whole
// screen: 0, the sky with its ringed planet, comes down from above and 1, the
// night hills, rises from below. Layer 2, twice enlarged, slides in from the
// left: the ship on its pad with the party walking toward it.
// Outlines are one device pixel here: enlarged, anything thicker turns heavy.
#include "art.h"
#include "shapes.h"

#include <cmath>

namespace assetgen {
namespace {

double hill(double x, double phase, double height, double base) {
    return base - height * (0.55 * std::sin(x * 0.031 + phase) + 0.3 * std::sin(x * 0.071 + phase * 2.3) +
                            0.15 * std::sin(x * 0.13 + phase * 0.7));
}

void hill_path(cairo_t* cr, double phase, double height, double base) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 256);
    for (int x = 0; x <= 256; x += 2) cairo_line_to(cr, x, hill(x, phase, height, base));
    cairo_line_to(cr, 256, 256);
    cairo_close_path(cr);
}

void paint_landscape(Pen& pen) {
    cairo_t* cr = pen.cr;
    const Rgb layers[3] = {ink::kDusk, ink::kNight.mix(ink::kSea, 0.35), ink::kNight};
    const double bases[3] = {150, 172, 194};
    for (int i = 0; i < 3; ++i) {
        hill_path(cr, i * 1.7, 12 - i * 2, bases[i]);
        fill_with_edge(pen, layers[i], ink::kInk, pen.px(1));
    }
    // A winding path of slabs on the nearest hill.
    for (int i = 0; i < 22; ++i) {
        const double x = 12 + i * 10.5;
        const double y = hill(x, 3.4, 10, 208) + 4;
        rounded_rect_path(cr, x - 3.5, y - 2, 7, 4, 1);
        set_colour(cr, ink::kSand, 0.55);
        cairo_fill(cr);
    }
}

void paint_sky(Pen& pen) {
    cairo_t* cr = pen.cr;
    // Ringed planet: the back half of the ring, the globe, the front half.
    const double px = 188, py = 74, pr = 22;
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1, 0.28);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, pr * 1.75, M_PI, 2 * M_PI);
    cairo_restore(cr);
    stroke_round(cr, ink::kSand, 3.5);
    circle_path(cr, px, py, pr);
    fill_with_edge(pen, ink::kViolet, ink::kInk, pen.px(1));
    cairo_save(cr);
    circle_path(cr, px, py, pr);
    cairo_clip(cr);
    for (int band = -2; band <= 2; ++band) {
        cairo_save(cr);
        cairo_translate(cr, px, py + band * 8);
        cairo_rotate(cr, -0.35);
        cairo_rectangle(cr, -40, -1.8, 80, 3.6);
        cairo_restore(cr);
        set_colour(cr, band % 2 ? ink::kRose : ink::kPlum, 0.5);
        cairo_fill(cr);
    }
    circle_path(cr, px + 8, py + 6, pr);
    cairo_rectangle(cr, px - 40, py - 40, 80, 80);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    set_colour(cr, ink::kWhite, 0.18);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, px, py);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 1, 0.28);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, pr * 1.75, 0, M_PI);
    cairo_restore(cr);
    stroke_round(cr, ink::kSand, 3.5);
    // A small moon and scattered stars.
    circle_path(cr, 58, 64, 7);
    fill_with_edge(pen, ink::kCloud, ink::kInk, pen.px(1));
    circle_path(cr, 61, 62, 6);
    set_colour(cr, ink::kSteel, 0.5);
    cairo_fill(cr);
    scatter_stars(cr, 7, 40, 20, 50, 216, 80);
}

void paint_launch_site(Pen& pen) {
    cairo_t* cr = pen.cr;
    // Mesa.
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 256);
    cairo_line_to(cr, 0, 214);
    cairo_curve_to(cr, 60, 206, 120, 212, 160, 200);
    cairo_line_to(cr, 236, 196);
    cairo_line_to(cr, 256, 204);
    cairo_line_to(cr, 256, 256);
    cairo_close_path(cr);
    fill_with_edge(pen, ink::kClay.darker(0.35), ink::kInk, pen.px(1));
    // Launch pad.
    rounded_rect_path(cr, 176, 192, 56, 7, 2);
    fill_with_edge(pen, ink::kSlate, ink::kInk, pen.px(1));
    // The ship, 2.2 times its sprite size, standing on the pad.
    cairo_save(cr);
    cairo_translate(cr, 204 - 16 * 2.2, 193 - 30 * 2.2);
    cairo_scale(cr, 2.2, 2.2);
    paint_gfx(pen, 7);
    cairo_restore(cr);
    // The party walking toward it along the path.
    for (int i = 0; i < 5; ++i) {
        const double x = 50 + i * 24;
        rounded_rect_path(cr, x - 9, 210, 18, 5, 1.5);
        set_colour(cr, ink::kSand, 0.8);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, x - 16 * 0.8, 212 - 30 * 0.8);
        cairo_scale(cr, 0.8, 0.8);
        paint_walkers(pen, (i * 7 + 2) % 24);
        paint_walkers(pen, 24 + (i * 3) % 8);
        cairo_restore(cr);
    }
}

}  // namespace

void paint_menu_art(Pen& pen, int frame) {
    switch (frame) {
    case 0: paint_sky(pen); return;
    case 1: paint_landscape(pen); return;
    case 2: paint_launch_site(pen); return;
    default: return;
    }
}

}  // namespace assetgen
