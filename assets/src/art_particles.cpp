// Image "parts": 256 small sprites for the star field and the particles.
// They are near-white so the particle palette can tint them; eight kinds
// (dots, crosses, twinkles, stars, rings, diamonds, glows, flares) in 32
// sizes and turns each. At 1x the hard-edged kinds are drawn without
// antialiasing so they stay crisp points instead of grey smudges.
#include "art.h"
#include "shapes.h"

#include <cmath>

namespace assetgen {
namespace {

enum Kind { kDot, kCross, kTwinkle, kStar, kRing, kDiamond, kGlow, kFlare };
constexpr int kVariants = 32;

void soft_disc(cairo_t* cr, double r, double brightness) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(4, 4, 0, 4, 4, r);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 1, brightness);
    cairo_pattern_add_color_stop_rgba(glow, 0.45, 1, 1, 1, brightness * 0.6);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1, 1, 1, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
}

void thin_rays(Pen& pen, int rays, double length, double angle, double width, double brightness) {
    cairo_t* cr = pen.cr;
    for (int i = 0; i < rays; ++i) {
        const double a = angle + i * M_PI / rays;
        cairo_new_path(cr);
        cairo_move_to(cr, 4 - length * std::sin(a), 4 + length * std::cos(a));
        cairo_line_to(cr, 4 + length * std::sin(a), 4 - length * std::cos(a));
        stroke_round(cr, Rgb(brightness, brightness, brightness), width);
    }
}

}  // namespace

void paint_particles(Pen& pen, int frame) {
    cairo_t* cr = pen.cr;
    const Kind kind = Kind(frame / kVariants);
    const int v = frame % kVariants;
    const double size = 0.35 + 0.65 * ((v % 8) / 7.0);  // 0.35 .. 1 of the room
    const double brightness = 1.0 - 0.06 * (v % 4);
    const double room = 3.0;  // half the usable 6x6 area
    // Pixel-sized crosses only read as crosses upright or diagonal.
    const bool crisp = pen.level == 1 && (kind == kCross || kind == kTwinkle || kind == kRing);
    const double turn = crisp ? (v / 8 % 2) * M_PI / 4 : (v / 8) * M_PI / 8;
    if (crisp) {
        // Centre on a pixel so one-pixel rays come out symmetric.
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_translate(cr, 0.5, 0.5);
    }
    const Rgb light(brightness, brightness, brightness);
    switch (kind) {
    case kDot:
        circle_path(cr, 4, 4, std::max(pen.px(0.7), room * size * 0.8));
        set_colour(cr, light);
        cairo_fill(cr);
        break;
    case kCross:
        thin_rays(pen, 2, room * size, turn, std::max(pen.px(1), 0.45 * size), brightness);
        break;
    case kTwinkle:
        thin_rays(pen, 4, room * size, turn, std::max(pen.px(1), 0.3 * size), brightness);
        circle_path(cr, 4, 4, std::max(pen.px(1), size));
        set_colour(cr, ink::kWhite);
        cairo_fill(cr);
        break;
    case kStar:
    case kDiamond:
        star_path(cr, 4, 4, kind == kStar ? 5 : 2, room * size, room * size * (kind == kStar ? 0.45 : 0.5),
                  turn * 180 / M_PI);
        set_colour(cr, light);
        cairo_fill(cr);
        break;
    case kRing:
        circle_path(cr, 4, 4, std::max(pen.px(1.5), room * size * 0.8));
        cairo_set_line_width(cr, std::max(pen.px(1), 0.5 * size));
        set_colour(cr, light);
        cairo_stroke(cr);
        break;
    case kGlow:
        soft_disc(cr, room * (0.5 + size * 0.5), brightness);
        break;
    case kFlare:
        soft_disc(cr, room * size * 0.7, brightness);
        star_path(cr, 4, 4, 4, room * size, std::max(pen.px(0.5), room * size * 0.18),
                  turn * 180 / M_PI);
        set_colour(cr, light);
        cairo_fill(cr);
        break;
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
}

}  // namespace assetgen
