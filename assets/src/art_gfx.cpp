// Image "gfx": the ship, the turret (base and gun), its bullet and the
// paving of the path, plus a few more paving slabs in the same style.
#include "art.h"
#include "shapes.h"

#include "game/ids.h"

#include <cmath>

namespace assetgen {
namespace {

constexpr int kFloorVariants = 4;  // frames 56..59

// The ship stands upright (it lifts off toward the top of the screen) with
// its engine at the bottom, where the exhaust comes out.
void paint_ship(Pen& pen) {
    cairo_t* cr = pen.cr;
    // Fins behind the hull.
    for (int side : {-1, 1}) {
        cairo_new_path(cr);
        cairo_move_to(cr, 16 + side * 5, 15);
        cairo_line_to(cr, 16 + side * 12.5, 25);
        cairo_line_to(cr, 16 + side * 12, 29);
        cairo_line_to(cr, 16 + side * 5, 26);
        cairo_close_path(cr);
        fill_outlined(pen, ink::kRuby);
    }
    // Engine bell.
    cairo_new_path(cr);
    cairo_move_to(cr, 12.5, 25);
    cairo_line_to(cr, 19.5, 25);
    cairo_line_to(cr, 21, 30);
    cairo_line_to(cr, 11, 30);
    cairo_close_path(cr);
    fill_outlined(pen, ink::kDusk);
    // Hull: a rounded bullet shape.
    cairo_new_path(cr);
    cairo_move_to(cr, 16, 2);
    cairo_curve_to(cr, 23, 7, 23.5, 17, 21.5, 26);
    cairo_line_to(cr, 10.5, 26);
    cairo_curve_to(cr, 8.5, 17, 9, 7, 16, 2);
    cairo_close_path(cr);
    cairo_path_t* hull = cairo_copy_path(cr);
    fill_outlined(pen, ink::kCloud);
    // Nose cone and a belly band in the accent colour, clipped to the hull.
    cairo_save(cr);
    cairo_append_path(cr, hull);
    cairo_clip(cr);
    set_colour(cr, ink::kCoral);
    cairo_rectangle(cr, 0, 0, 32, 7.5);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 20, 32, 2.5);
    cairo_fill(cr);
    set_colour(cr, ink::kSteel);
    cairo_rectangle(cr, 17.5, 7.5, 6, 12.5);  // shaded right flank
    cairo_fill(cr);
    if (pen.detailed()) {
        set_colour(cr, ink::kInk, 0.6);
        for (double y : {8.0, 19.5}) {
            cairo_rectangle(cr, 0, y - pen.px(0.5), 32, pen.px(1));
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_append_path(cr, hull);
    set_colour(cr, ink::kInk);
    cairo_set_line_width(cr, pen.outline());
    cairo_stroke(cr);
    cairo_path_destroy(hull);
    // Porthole.
    circle_path(cr, 16, 13.5, 3.2);
    fill_outlined(pen, ink::kSky);
    glint(pen, 16, 13.5, 3.2);
    if (pen.detailed()) {
        for (double y : {23.5}) {
            for (double x : {12.5, 19.5}) {
                circle_path(cr, x, y, 0.45);
                set_colour(cr, ink::kInk, 0.7);
                cairo_fill(cr);
            }
        }
    }
}

void pedestal_path(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, 4, 13);
    cairo_line_to(cr, 4, 23);
    cairo_curve_to(cr, 4, 30, 28, 30, 28, 23);
    cairo_line_to(cr, 28, 13);
    cairo_close_path(cr);
}

// A squat pedestal seen slightly from above; the gun sits on its top disc.
void paint_turret_base(Pen& pen) {
    cairo_t* cr = pen.cr;
    pedestal_path(cr);
    fill_outlined(pen, ink::kDusk);
    // Warning band around the side.
    cairo_save(cr);
    pedestal_path(cr);
    cairo_clip(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 19);
    cairo_curve_to(cr, 4, 25, 28, 25, 32, 19);
    cairo_line_to(cr, 32, 22.5);
    cairo_curve_to(cr, 28, 28.5, 4, 28.5, 0, 22.5);
    cairo_close_path(cr);
    set_colour(cr, ink::kRuby);
    cairo_fill(cr);
    set_colour(cr, ink::kInk, 0.25);
    cairo_rectangle(cr, 19, 0, 9, 32);
    cairo_fill(cr);
    cairo_restore(cr);
    // Top disc.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, 16, 13);
    cairo_scale(cr, 12, 5.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    fill_outlined(pen, ink::kSlate);
    if (pen.detailed()) {
        for (int i = 0; i < 6; ++i) {
            const double a = i * M_PI / 3 + M_PI / 6;
            circle_path(cr, 16 + 9 * std::cos(a), 13 + 3.9 * std::sin(a), 0.7);
            set_colour(cr, ink::kSteel);
            cairo_fill(cr);
        }
    }
}

// The gun turns about the frame centre; at angle 0 its barrel points up.
void paint_gun(Pen& pen) {
    cairo_t* cr = pen.cr;
    rounded_rect_path(cr, 13.25, 2.5, 5.5, 14, 1.2);
    fill_outlined(pen, ink::kSteel);
    rounded_rect_path(cr, 12.25, 1.5, 7.5, 3.5, 1);
    fill_outlined(pen, ink::kSlate);
    if (pen.detailed()) {
        set_colour(cr, ink::kWhite, 0.5);
        cairo_rectangle(cr, 14.25, 6, pen.px(1.5), 8);
        cairo_fill(cr);
    }
    circle_path(cr, 16, 17, 7.5);
    fill_outlined(pen, ink::kDusk);
    circle_path(cr, 16, 17, 4.2);
    fill_outlined(pen, ink::kSlate);
    circle_path(cr, 16, 15.5, 1.8);
    fill_outlined(pen, ink::kCoral);
    glint(pen, 16, 17, 7.5);
}

// A spinning shard of energy: four uneven points so the turning shows.
void paint_bullet(Pen& pen) {
    cairo_t* cr = pen.cr;
    cairo_pattern_t* halo = cairo_pattern_create_radial(16, 16, 0, 16, 16, 13);
    cairo_pattern_add_color_stop_rgba(halo, 0, ink::kSun.r, ink::kSun.g, ink::kSun.b, 0.8);
    cairo_pattern_add_color_stop_rgba(halo, 1, ink::kCoral.r, ink::kCoral.g, ink::kCoral.b, 0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
    cairo_new_path(cr);
    const double radii[8] = {11, 3.5, 7, 3.5, 11, 3.5, 7, 3.5};
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        cairo_line_to(cr, 16 + radii[i] * std::sin(a), 16 - radii[i] * std::cos(a));
    }
    cairo_close_path(cr);
    fill_outlined(pen, ink::kAmber);
    circle_path(cr, 16, 16, 2.6);
    set_colour(cr, ink::kWhite);
    cairo_fill(cr);
}

// Paving slabs: the path is laid from these at half scale, one per cell.
void paint_floor(Pen& pen, int variant) {
    cairo_t* cr = pen.cr;
    const Rgb stone = variant == 3 ? ink::kSteel : ink::kSand;
    rounded_rect_path(cr, 1.5, 1.5, 29, 29, 4);
    fill_with_edge(pen, stone, stone.mix(ink::kClay, 0.8), pen.px(1));
    // Bevel: light upper-left rim, shaded lower-right rim.
    cairo_save(cr);
    rounded_rect_path(cr, 1.5, 1.5, 29, 29, 4);
    cairo_clip(cr);
    rounded_rect_path(cr, 4.5, 4.5, 29, 29, 4);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, -4, -4, 40, 40);
    set_colour(cr, ink::kWhite, 0.45);
    cairo_fill(cr);
    rounded_rect_path(cr, -1.5, -1.5, 29, 29, 4);
    cairo_rectangle(cr, -4, -4, 40, 40);
    set_colour(cr, ink::kClay.darker(0.3), 0.35);
    cairo_fill(cr);
    cairo_restore(cr);
    if (!pen.detailed()) {
        return;
    }
    // Speckles and, on some slabs, a crack or moss.
    static const double speckles[][2] = {{8, 9}, {22, 7}, {13, 21}, {24, 20}, {7, 25}, {18, 13}};
    for (int i = 0; i < 6; ++i) {
        circle_path(cr, speckles[(i + variant) % 6][0], speckles[(i + variant) % 6][1], 0.6);
        set_colour(cr, ink::kClay, 0.45);
        cairo_fill(cr);
    }
    if (variant == 1) {
        cairo_new_path(cr);
        cairo_move_to(cr, 6, 27);
        cairo_line_to(cr, 11, 20);
        cairo_line_to(cr, 10, 15);
        cairo_line_to(cr, 16, 10);
        stroke_round(cr, ink::kClay.darker(0.3), pen.px(1.2), 0.8);
    } else if (variant == 2) {
        for (double x : {4.0, 9.0, 26.0}) {
            circle_path(cr, x, 27, 2.5);
            set_colour(cr, ink::kLeaf, 0.7);
            cairo_fill(cr);
        }
    }
}

}  // namespace

void paint_gfx(Pen& pen, int frame) {
    switch (frame) {
    case gfx_frame::kShip: paint_ship(pen); return;
    case gfx_frame::kTurretBase: paint_turret_base(pen); return;
    case gfx_frame::kBullet: paint_bullet(pen); return;
    case gfx_frame::kGun: paint_gun(pen); return;
    default:
        if (frame >= gfx_frame::kFloor && frame < gfx_frame::kFloor + kFloorVariants)
            paint_floor(pen, frame - gfx_frame::kFloor);
    }
}

}  // namespace assetgen
