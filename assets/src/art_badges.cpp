// Image "BadgesA": 64 badge medals. Each hangs from a ribbon; the metal
// (bronze, silver, gold, crystal) changes every 16 badges and the emblem
// within them. Badge 0, the test badge, carries a tick.
#include "art.h"
#include "shapes.h"

#include <cmath>

namespace assetgen {
namespace {

constexpr int kEmblems = 16;
constexpr Rgb kMetals[4] = {ink::kBronze, ink::kSilver, ink::kGold, ink::kIce};
constexpr double kCx = 32, kCy = 39, kRadius = 19;

void ribbon(Pen& pen, const Rgb& colour) {
    cairo_t* cr = pen.cr;
    for (int side : {-1, 1}) {
        cairo_new_path(cr);
        cairo_move_to(cr, kCx + side * 2, 26);
        cairo_line_to(cr, kCx + side * 17, 3);
        cairo_line_to(cr, kCx + side * 7, 3);
        cairo_line_to(cr, kCx - side * 6, 26);
        cairo_close_path(cr);
        fill_outlined(pen, side < 0 ? colour : colour.darker(0.25));
        if (pen.detailed()) {
            cairo_new_path(cr);
            cairo_move_to(cr, kCx + side * 12, 3.5);
            cairo_line_to(cr, kCx - side * 0.5, 24);
            stroke_round(cr, ink::kWhite, pen.px(2), 0.55);
        }
    }
}

void medal(Pen& pen, const Rgb& metal) {
    cairo_t* cr = pen.cr;
    // Scalloped rim.
    star_path(cr, kCx, kCy, 16, kRadius + 1.5, kRadius - 0.5, 0);
    fill_outlined(pen, metal.darker(0.25));
    circle_path(cr, kCx, kCy, kRadius - 2.5);
    fill_with_edge(pen, metal, metal.darker(0.45), pen.px(1));
    if (pen.detailed()) {
        circle_path(cr, kCx, kCy, kRadius - 5);
        cairo_set_line_width(cr, pen.px(1));
        set_colour(cr, metal.lighter(0.5), 0.8);
        cairo_stroke(cr);
    }
    glint(pen, kCx, kCy, kRadius - 2.5);
}

// Emblems are drawn in a box 20 units wide around the medal centre.
void emblem_path(cairo_t* cr, int emblem) {
    const double x = kCx, y = kCy;
    cairo_new_path(cr);
    switch (emblem) {
    case 0:  // tick
        cairo_move_to(cr, x - 8, y);
        cairo_line_to(cr, x - 2.5, y + 6);
        cairo_line_to(cr, x + 8.5, y - 7);
        return;
    case 1:  // a walker
        cairo_arc(cr, x, y - 5, 4, 0, 2 * M_PI);
        cairo_close_path(cr);
        cairo_move_to(cr, x - 6, y + 9);
        cairo_curve_to(cr, x - 6, y - 1, x + 6, y - 1, x + 6, y + 9);
        cairo_close_path(cr);
        return;
    case 2:  // rocket
        cairo_move_to(cr, x, y - 10);
        cairo_curve_to(cr, x + 5, y - 5, x + 5, y + 3, x + 3, y + 6);
        cairo_line_to(cr, x + 7, y + 10);
        cairo_line_to(cr, x - 7, y + 10);
        cairo_line_to(cr, x - 3, y + 6);
        cairo_curve_to(cr, x - 5, y + 3, x - 5, y - 5, x, y - 10);
        cairo_close_path(cr);
        return;
    case 3: star_path(cr, x, y, 5, 10, 4.2); return;
    case 4:  // lightning
        cairo_move_to(cr, x + 2, y - 11);
        cairo_line_to(cr, x - 6, y + 1);
        cairo_line_to(cr, x - 0.5, y + 1);
        cairo_line_to(cr, x - 3, y + 11);
        cairo_line_to(cr, x + 6, y - 2);
        cairo_line_to(cr, x + 0.5, y - 2);
        cairo_close_path(cr);
        return;
    case 5:  // heart
        cairo_move_to(cr, x, y + 9);
        cairo_curve_to(cr, x - 14, y - 1, x - 6, y - 12, x, y - 4);
        cairo_curve_to(cr, x + 6, y - 12, x + 14, y - 1, x, y + 9);
        cairo_close_path(cr);
        return;
    case 6:  // crown
        cairo_move_to(cr, x - 9, y + 7);
        cairo_line_to(cr, x - 10, y - 6);
        cairo_line_to(cr, x - 4.5, y);
        cairo_line_to(cr, x, y - 9);
        cairo_line_to(cr, x + 4.5, y);
        cairo_line_to(cr, x + 10, y - 6);
        cairo_line_to(cr, x + 9, y + 7);
        cairo_close_path(cr);
        return;
    case 7:  // shield
        cairo_move_to(cr, x, y - 10);
        cairo_line_to(cr, x + 8, y - 7);
        cairo_curve_to(cr, x + 8, y + 3, x + 4, y + 8, x, y + 10);
        cairo_curve_to(cr, x - 4, y + 8, x - 8, y + 3, x - 8, y - 7);
        cairo_close_path(cr);
        return;
    case 8:  // footsteps
        for (int side : {-1, 1}) {
            cairo_save(cr);
            cairo_translate(cr, x + side * 4, y - side * 3);
            cairo_scale(cr, 2.8, 4.8);
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
            cairo_restore(cr);
            cairo_close_path(cr);
        }
        return;
    case 9:  // clock
        cairo_arc(cr, x, y, 9, 0, 2 * M_PI);
        cairo_close_path(cr);
        cairo_move_to(cr, x + 1.2, y - 6);
        cairo_line_to(cr, x + 1.2, y - 1.2);
        cairo_line_to(cr, x + 5, y - 1.2);
        cairo_line_to(cr, x + 5, y + 1.2);
        cairo_line_to(cr, x - 1.2, y + 1.2);
        cairo_line_to(cr, x - 1.2, y - 6);
        cairo_close_path(cr);
        return;
    case 10:  // flag
        cairo_rectangle(cr, x - 7, y - 10, 2.2, 20);
        cairo_move_to(cr, x - 4.8, y - 10);
        cairo_curve_to(cr, x, y - 12, x + 3, y - 6, x + 8, y - 8);
        cairo_line_to(cr, x + 8, y + 1);
        cairo_curve_to(cr, x + 3, y + 3, x, y - 3, x - 4.8, y - 1);
        cairo_close_path(cr);
        return;
    case 11:  // target
        for (double r : {10.0, 6.5, 3.0}) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, r, 0, 2 * M_PI);
            cairo_close_path(cr);
        }
        return;
    case 12:  // gem
        cairo_move_to(cr, x - 9, y - 3);
        cairo_line_to(cr, x - 5, y - 8);
        cairo_line_to(cr, x + 5, y - 8);
        cairo_line_to(cr, x + 9, y - 3);
        cairo_line_to(cr, x, y + 10);
        cairo_close_path(cr);
        return;
    case 13:  // trophy
        cairo_move_to(cr, x - 7, y - 9);
        cairo_line_to(cr, x + 7, y - 9);
        cairo_curve_to(cr, x + 7, y, x + 3, y + 2, x + 1.5, y + 2);
        cairo_line_to(cr, x + 1.5, y + 6);
        cairo_line_to(cr, x + 5, y + 9);
        cairo_line_to(cr, x - 5, y + 9);
        cairo_line_to(cr, x - 1.5, y + 6);
        cairo_line_to(cr, x - 1.5, y + 2);
        cairo_curve_to(cr, x - 3, y + 2, x - 7, y, x - 7, y - 9);
        cairo_close_path(cr);
        return;
    case 14:  // the turret
        cairo_arc(cr, x, y + 2, 7, 0, 2 * M_PI);
        cairo_close_path(cr);
        cairo_rectangle(cr, x - 2, y - 11, 4, 10);
        return;
    default:  // moon
        cairo_arc(cr, x, y, 9.5, M_PI * 0.3, M_PI * 1.7);
        cairo_arc_negative(cr, x + 4, y - 1, 7.5, M_PI * 1.45, M_PI * 0.55);
        cairo_close_path(cr);
        return;
    }
}

}  // namespace

void paint_badges(Pen& pen, int frame) {
    cairo_t* cr = pen.cr;
    const int metal_index = frame / kEmblems;
    const int emblem = frame % kEmblems;
    const Rgb metal = kMetals[metal_index];
    ribbon(pen, kTeamColours[(emblem + 3 * metal_index) % 8]);
    medal(pen, metal);
    emblem_path(cr, emblem);
    const Rgb relief = metal.darker(0.55);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    if (emblem == 0) {
        stroke_round(cr, relief, 4);
    } else {
        // An embossed emblem: a light edge below right, the dark relief on top.
        cairo_save(cr);
        cairo_translate(cr, pen.px(1), pen.px(1));
        cairo_path_t* shape = cairo_copy_path(cr);
        set_colour(cr, metal.lighter(0.6));
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_append_path(cr, shape);
        cairo_path_destroy(shape);
        set_colour(cr, relief);
        cairo_fill(cr);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

}  // namespace assetgen
