// Images "common/icons", "common/Buttons" and "common/dpad": the controls
// drawn on screen. Icons are white with the ink outline because the game
// tints them (blue resume, red quit, yellow ring); buttons and pad parts
// carry their own colours.
#include "art.h"
#include "game/ids.h"
#include "shapes.h"

#include <cmath>

namespace assetgen {
namespace {

// --- icons (32 x 32) -----------------------------------------------------

void white_shape(Pen& pen) {
    fill_with_edge(pen, ink::kWhite, ink::kInk, pen.px(pen.level == 1 ? 1 : 2));
}

void paint_pause(Pen& pen) {
    cairo_t* cr = pen.cr;
    rounded_rect_path(cr, 5, 5, 22, 22, 6);
    fill_with_edge(pen, ink::kInk, ink::kWhite, pen.px(pen.level == 1 ? 1 : 2), 0.55);
    for (double x : {10.5, 17.5}) {
        rounded_rect_path(cr, x, 10, 4, 12, 1);
        white_shape(pen);
    }
}

void paint_quit(Pen& pen) {
    cairo_t* cr = pen.cr;
    cairo_save(cr);
    cairo_translate(cr, 16, 16);
    cairo_rotate(cr, M_PI / 4);
    cairo_new_path(cr);
    const double arm = 10.5, half = 2.6;
    cairo_move_to(cr, -half, -arm);
    cairo_line_to(cr, half, -arm);
    cairo_line_to(cr, half, -half);
    cairo_line_to(cr, arm, -half);
    cairo_line_to(cr, arm, half);
    cairo_line_to(cr, half, half);
    cairo_line_to(cr, half, arm);
    cairo_line_to(cr, -half, arm);
    cairo_line_to(cr, -half, half);
    cairo_line_to(cr, -arm, half);
    cairo_line_to(cr, -arm, -half);
    cairo_line_to(cr, -half, -half);
    cairo_close_path(cr);
    cairo_restore(cr);
    white_shape(pen);
}

void paint_start(Pen& pen) {
    cairo_t* cr = pen.cr;
    cairo_new_path(cr);
    cairo_move_to(cr, 10, 6.5);
    cairo_line_to(cr, 25, 16);
    cairo_line_to(cr, 10, 25.5);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    white_shape(pen);
}

void paint_ring(Pen& pen) {
    cairo_t* cr = pen.cr;
    circle_path(cr, 16, 16, 13);
    stroke_outlined(cr, ink::kWhite, 3, pen.px(pen.level == 1 ? 1 : 2));
}

void paint_calibrate(Pen& pen) {
    cairo_t* cr = pen.cr;
    for (int turn = 0; turn < 4; ++turn) {
        cairo_save(cr);
        cairo_translate(cr, 16, 16);
        cairo_rotate(cr, turn * M_PI / 2);
        rounded_rect_path(cr, -1.25, -14, 2.5, 8, 1);
        cairo_restore(cr);
        white_shape(pen);
    }
    circle_path(cr, 16, 16, 8);
    stroke_outlined(cr, ink::kWhite, 2.5, pen.px(1));
    circle_path(cr, 16, 16, 2);
    white_shape(pen);
}

// --- menu buttons (64 x 64) ------------------------------------------------

// One tile per game type: the colour (green, amber, red), the dial's needle
// and the count of lit stars all rise with the difficulty.
void paint_game_type(Pen& pen, int difficulty) {
    cairo_t* cr = pen.cr;
    const Rgb face[3] = {ink::kLeaf, ink::kAmber, ink::kRuby};
    const Rgb base = face[difficulty];
    rounded_rect_path(cr, 4, 4, 56, 56, 12);
    fill_outlined(pen, base);
    rounded_rect_path(cr, 4, 4, 56, 56, 12);
    fill_vertical(cr, base.lighter(0.35), base.darker(0.2), 4, 60);
    // Dial.
    const double cx = 32, cy = 36, r = 19;
    const double start = M_PI * 1.0, span = M_PI;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy + 2, r + 6, start, start + span);
    cairo_close_path(cr);
    fill_with_edge(pen, ink::kInk.mix(base, 0.25), ink::kInk, pen.outline(), 0.85);
    for (int segment = 0; segment < 3; ++segment) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, r, start + span * segment / 3 + 0.06, start + span * (segment + 1) / 3 - 0.06);
        stroke_outlined(cr, segment <= difficulty ? face[segment].lighter(0.25) : ink::kDusk, 7, pen.outline());
    }
    const double needle = start + span * (difficulty + 0.5) / 3;
    for (const auto& [colour, width] : {std::pair{ink::kInk, 4 + 2 * pen.outline()}, {ink::kWhite, 4.0}}) {
        cairo_new_path(cr);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + (r - 2) * std::cos(needle), cy + (r - 2) * std::sin(needle));
        stroke_round(cr, colour, width);
    }
    circle_path(cr, cx, cy, 4);
    fill_outlined(pen, ink::kWhite);
    // Stars.
    for (int i = 0; i < 3; ++i) {
        star_path(cr, 20 + i * 12, 50, 5, 5, 2.2);
        fill_outlined(pen, i <= difficulty ? ink::kSun : ink::kDusk);
    }
}

void gear_path(cairo_t* cr, double cx, double cy, int teeth, double inner, double outer) {
    cairo_new_path(cr);
    for (int i = 0; i < teeth; ++i) {
        const double step = 2 * M_PI / teeth;
        const double a = i * step;
        cairo_arc(cr, cx, cy, inner, a, a + step * 0.45);
        cairo_line_to(cr, cx + outer * std::cos(a + step * 0.55), cy + outer * std::sin(a + step * 0.55));
        cairo_line_to(cr, cx + outer * std::cos(a + step * 0.9), cy + outer * std::sin(a + step * 0.9));
    }
    cairo_close_path(cr);
}

void paint_cog(Pen& pen, int layer) {
    cairo_t* cr = pen.cr;
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    if (layer == menu_button_frame::kCogOuter) {
        gear_path(cr, 32, 32, 12, 23, 29);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 32, 32, 16, 0, 2 * M_PI);
        fill_outlined(pen, ink::kSteel);
        if (pen.detailed()) {
            for (int i = 0; i < 12; ++i) {
                const double a = (i + 0.5) * M_PI / 6;
                circle_path(cr, 32 + 19.5 * std::cos(a), 32 + 19.5 * std::sin(a), 1.2);
                set_colour(cr, ink::kSlate);
                cairo_fill(cr);
            }
        }
    } else if (layer == menu_button_frame::kCogMiddle) {
        gear_path(cr, 32, 32, 8, 12.5, 17);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 32, 32, 6.5, 0, 2 * M_PI);
        fill_outlined(pen, ink::kAmber);
    } else {
        circle_path(cr, 32, 32, 7.5);
        fill_outlined(pen, ink::kCloud);
        for (int i = 0; i < 3; ++i) {
            const double a = i * 2 * M_PI / 3;
            circle_path(cr, 32 + 4 * std::cos(a), 32 + 4 * std::sin(a), 1.3);
            set_colour(cr, ink::kInk);
            cairo_fill(cr);
        }
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

// The emblem in the credits' corner circle: an arcade stick.
void paint_credits_emblem(Pen& pen) {
    cairo_t* cr = pen.cr;
    rounded_rect_path(cr, 12, 38, 40, 14, 5);
    fill_outlined(pen, ink::kDusk);
    rounded_rect_path(cr, 12, 38, 40, 5, 2.5);
    set_colour(cr, ink::kSlate);
    cairo_fill(cr);
    rounded_rect_path(cr, 29.5, 20, 5, 21, 2);
    fill_outlined(pen, ink::kSteel);
    circle_path(cr, 32, 18, 8);
    fill_outlined(pen, ink::kRuby);
    glint(pen, 32, 18, 8);
    for (double x : {18.0, 46.0}) {
        cairo_save(cr);
        cairo_translate(cr, x, 42.5);
        cairo_scale(cr, 1, 0.55);
        circle_path(cr, 0, 0, 3.5);
        cairo_restore(cr);
        fill_outlined(pen, x < 32 ? ink::kSun : ink::kSky);
    }
}

// --- pad (32 x 32) ------------------------------------------------------

void paint_pad_arrow(Pen& pen, double angle) {
    cairo_t* cr = pen.cr;
    rounded_rect_path(cr, 3, 3, 26, 26, 7);
    fill_outlined(pen, ink::kSlate, 0.9);
    cairo_save(cr);
    cairo_translate(cr, 16, 16);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, -8);
    cairo_line_to(cr, 8, 3);
    cairo_line_to(cr, -8, 3);
    cairo_close_path(cr);
    cairo_restore(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    fill_outlined(pen, ink::kWhite);
}

}  // namespace

void paint_icons(Pen& pen, int frame) {
    switch (frame) {
    case icon_frame::kPause: paint_pause(pen); return;
    case icon_frame::kQuit: paint_quit(pen); return;
    case icon_frame::kStart: paint_start(pen); return;
    case icon_frame::kRing: paint_ring(pen); return;
    case icon_frame::kCalibrate: paint_calibrate(pen); return;
    default: return;
    }
}

void paint_menu_buttons(Pen& pen, int frame) {
    using namespace menu_button_frame;
    if (frame >= kFirstGameType && frame < kFirstGameType + kGameTypes) {
        paint_game_type(pen, frame - kFirstGameType);
        return;
    }
    switch (frame) {
    case kCogOuter:
    case kCogMiddle:
    case kCogHub: paint_cog(pen, frame); return;
    case kCreditsEmblem: paint_credits_emblem(pen); return;
    default: return;
    }
}

void paint_dpad(Pen& pen, int frame) {
    using namespace pad_frame;
    cairo_t* cr = pen.cr;
    switch (frame) {
    case kFire:
        circle_path(cr, 16, 16, 13);
        fill_outlined(pen, ink::kWhite, 0.9);
        circle_path(cr, 16, 16, 10.5);
        fill_outlined(pen, ink::kRuby);
        glint(pen, 16, 16, 10.5);
        return;
    case kUp: paint_pad_arrow(pen, 0); return;
    case kRight: paint_pad_arrow(pen, M_PI / 2); return;
    case kDown: paint_pad_arrow(pen, M_PI); return;
    case kLeft: paint_pad_arrow(pen, -M_PI / 2); return;
    case kCentre:
        rounded_rect_path(cr, 3, 3, 26, 26, 4);
        fill_outlined(pen, ink::kSlate, 0.9);
        circle_path(cr, 16, 16, 6);
        fill_outlined(pen, ink::kDusk);
        return;
    default: return;
    }
}

}  // namespace assetgen
