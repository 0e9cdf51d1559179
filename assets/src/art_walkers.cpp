// Image "gfxb": the walkers. A walker is drawn from four frames: its body
// (0-23), a tunic in its team colour on top (24-31), and behind both,
// slightly larger and at half alpha, the silhouettes of the body (32-55)
// and of the tunic (56-63), which give every walker a soft dark rim and a
// glow of its team colour on any background.
#include "art.h"
#include "shapes.h"

#include "game/ids.h"

#include <cmath>

namespace assetgen {
namespace {

enum HeadStyle { kRound, kSpiky, kBob, kAntenna, kHelmet, kEars, kHeadStyles };

constexpr Rgb kSkins[4] = {0xf6cfa6, 0xd8a071, 0x93603f, 0xb9c4e6};
constexpr Rgb kHair[4] = {0x3a2a2a, 0x9a4f2a, 0xe9c46a, 0x2c3e66};

struct Look {
    Rgb skin;
    Rgb hair;
    HeadStyle style;
};

Look look_of(int body) {
    return {kSkins[body % 4], kHair[(body / 4 + body) % 4], HeadStyle(body / 4 % kHeadStyles)};
}

// Either draws parts in their colours with the ink outline, or (for the
// silhouette frames) fills every part in one colour grown by `grow` units.
struct Brush {
    Pen& pen;
    bool silhouette;
    Rgb silhouette_colour;
    double grow;

    void fill(const Rgb& colour) const {
        if (silhouette)
            fill_with_edge(pen, silhouette_colour, silhouette_colour, grow);
        else
            fill_outlined(pen, colour);
    }
};

void tunic_path(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, 10, 17);
    cairo_curve_to(cr, 10, 14.5, 12, 14, 13.5, 14);
    cairo_line_to(cr, 16, 16.5);
    cairo_line_to(cr, 18.5, 14);
    cairo_curve_to(cr, 20, 14, 22, 14.5, 22, 17);
    cairo_line_to(cr, 22.5, 24.5);
    cairo_curve_to(cr, 22.5, 26, 21.5, 26.5, 20.5, 26.5);
    cairo_line_to(cr, 11.5, 26.5);
    cairo_curve_to(cr, 10.5, 26.5, 9.5, 26, 9.5, 24.5);
    cairo_close_path(cr);
}

void paint_hair(const Brush& brush, const Look& look) {
    cairo_t* cr = brush.pen.cr;
    switch (look.style) {
    case kSpiky:
        cairo_new_path(cr);
        cairo_move_to(cr, 8.5, 10);
        for (int i = 0; i <= 6; ++i) {
            const double a = M_PI * (1.05 + i * 0.15);
            const double r = (i % 2 == 0) ? 9.5 : 6.5;
            cairo_line_to(cr, 16 + r * std::cos(a), 10.5 + r * std::sin(a));
        }
        cairo_line_to(cr, 23.5, 10);
        cairo_curve_to(cr, 22, 6, 10, 6, 8.5, 10);
        cairo_close_path(cr);
        brush.fill(look.hair);
        return;
    case kBob:
        cairo_new_path(cr);
        cairo_arc(cr, 16, 10, 8, M_PI * 0.95, M_PI * 2.05);
        cairo_line_to(cr, 24, 14);
        cairo_line_to(cr, 21.5, 14);
        cairo_curve_to(cr, 21, 8, 17, 7, 12, 9);
        cairo_line_to(cr, 10.5, 14);
        cairo_line_to(cr, 8, 14);
        cairo_close_path(cr);
        brush.fill(look.hair);
        return;
    case kAntenna:
        for (int side : {-1, 1}) {
            cairo_new_path(cr);
            cairo_move_to(cr, 16 + side * 2.5, 4.5);
            cairo_line_to(cr, 16 + side * 5.5, 1.8);
            cairo_set_line_width(cr, brush.silhouette ? 1.0 + 2 * brush.grow : 1.0);
            set_colour(cr, brush.silhouette ? brush.silhouette_colour : ink::kInk);
            cairo_stroke(cr);
            circle_path(cr, 16 + side * 5.5, 2.4, 1.4);
            brush.fill(ink::kLime);
        }
        return;
    case kHelmet:
        cairo_new_path(cr);
        cairo_arc(cr, 16, 10.5, 8, M_PI, 2 * M_PI);
        cairo_line_to(cr, 24.5, 11.5);
        cairo_line_to(cr, 7.5, 11.5);
        cairo_close_path(cr);
        brush.fill(ink::kCloud);
        rounded_rect_path(cr, 10.5, 7.5, 11, 3.5, 1.5);
        brush.fill(ink::kSky);
        return;
    case kEars:
        for (int side : {-1, 1}) {
            cairo_new_path(cr);
            cairo_move_to(cr, 16 + side * 2, 4);
            cairo_line_to(cr, 16 + side * 7, 1.5);
            cairo_line_to(cr, 16 + side * 7, 8);
            cairo_close_path(cr);
            brush.fill(look.hair);
        }
        return;
    case kRound:
    case kHeadStyles:
        return;
    }
}

void paint_face(Pen& pen, const Look& look) {
    cairo_t* cr = pen.cr;
    const double eye_y = look.style == kHelmet ? 12.5 : 11;
    for (double x : {13.3, 18.7}) {
        if (pen.detailed()) {
            circle_path(cr, x, eye_y, 1.35);
            set_colour(cr, ink::kWhite);
            cairo_fill(cr);
            circle_path(cr, x + 0.3, eye_y + 0.2, 0.8);
        } else {
            cairo_new_path(cr);
            cairo_rectangle(cr, std::floor(x), std::floor(eye_y) - 1, 1, 2);
        }
        set_colour(cr, ink::kInk);
        cairo_fill(cr);
    }
    if (!pen.detailed()) return;
    for (double x : {11.8, 20.2}) {
        circle_path(cr, x, eye_y + 2.3, 1.1);
        set_colour(cr, ink::kRose, 0.45);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    cairo_arc(cr, 16, eye_y + 1.9, 1.3, M_PI * 0.15, M_PI * 0.85);
    stroke_round(cr, ink::kInk, pen.px(1.2));
}

void paint_body(const Brush& brush, int body) {
    cairo_t* cr = brush.pen.cr;
    const Look look = look_of(body);
    // Feet and arms first so the torso and head overlap them.
    for (int side : {-1, 1}) {
        rounded_rect_path(cr, 16 + side * 3.2 - 2.3, 24.5, 4.6, 4.5, 1.6);
        brush.fill(ink::kNight);
        circle_path(cr, 16 + side * 7.2, 21, 2.2);
        brush.fill(look.skin);
    }
    tunic_path(cr);
    brush.fill(ink::kCloud);
    if (look.style == kEars || look.style == kAntenna) paint_hair(brush, look);
    circle_path(cr, 16, 10.5, 7.2);
    brush.fill(look.skin);
    if (look.style != kEars && look.style != kAntenna) paint_hair(brush, look);
    if (!brush.silhouette) paint_face(brush.pen, look);
}

void paint_tunic(const Brush& brush, int colour) {
    cairo_t* cr = brush.pen.cr;
    const Rgb team = kTeamColours[colour];
    tunic_path(cr);
    brush.fill(team);
    if (brush.silhouette || !brush.pen.detailed()) return;
    // Belt and a shine on the shoulder.
    cairo_rectangle(cr, 9.8, 22.2, 12.4, 1.4);
    set_colour(cr, team.darker(0.45));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 11.5, 17.5);
    cairo_line_to(cr, 11.5, 20.5);
    stroke_round(cr, ink::kWhite, brush.pen.px(1.5), 0.5);
}

}  // namespace

void paint_walkers(Pen& pen, int frame) {
    const double grow = 1.2;
    if (frame < walker_frame::kBodies) {
        paint_body(Brush{pen, false, ink::kInk, 0}, frame);
    } else if (frame < walker_frame::kFirstBodyOutline) {
        paint_tunic(Brush{pen, false, ink::kInk, 0}, frame - walker_frame::kFirstOverlay);
    } else if (frame < walker_frame::kFirstOverlayOutline) {
        paint_body(Brush{pen, true, ink::kInk, grow}, frame - walker_frame::kFirstBodyOutline);
    } else {
        const int colour = frame - walker_frame::kFirstOverlayOutline;
        paint_tunic(Brush{pen, true, kTeamColours[colour].darker(0.35), grow}, colour);
    }
}

}  // namespace assetgen
