#include "shapes.h"

#include <cmath>

namespace assetgen {

void set_colour(cairo_t* cr, const Rgb& colour, double alpha) {
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

void circle_path(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_close_path(cr);
}

void rounded_rect_path(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void star_path(cairo_t* cr, double cx, double cy, int points, double outer, double inner,
               double angle_deg) {
    cairo_new_path(cr);
    const double start = angle_deg * M_PI / 180;
    for (int i = 0; i < points * 2; ++i) {
        const double a = start + i * M_PI / points;
        const double r = (i % 2 == 0) ? outer : inner;
        cairo_line_to(cr, cx + r * std::sin(a), cy - r * std::cos(a));
    }
    cairo_close_path(cr);
}

void scatter_stars(cairo_t* cr, uint32_t seed, int count, unsigned x, unsigned y, unsigned w, unsigned h) {
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double cx = x + (seed >> 8) % w;
        seed = seed * 1103515245u + 12345u;
        const double cy = y + (seed >> 8) % h;
        const double r = 0.3 + ((seed >> 4) % 4) * 0.15;
        star_path(cr, cx, cy, 4, r * 2.2, r * 0.5, 0);
        set_colour(cr, i % 5 == 0 ? ink::kSun : ink::kWhite, 0.85);
        cairo_fill(cr);
    }
}

void fill_with_edge(Pen& pen, const Rgb& fill, const Rgb& edge, double edge_width, double alpha) {
    cairo_t* cr = pen.cr;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, edge_width * 2);
    set_colour(cr, edge, alpha);
    cairo_stroke_preserve(cr);
    set_colour(cr, fill, alpha);
    cairo_fill(cr);
}

void fill_outlined(Pen& pen, const Rgb& fill, double alpha) {
    fill_with_edge(pen, fill, ink::kInk, pen.outline(), alpha);
}

void fill_vertical(cairo_t* cr, const Rgb& top, const Rgb& bottom, double y0, double y1,
                   double alpha) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(gradient, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

void stroke_round(cairo_t* cr, const Rgb& colour, double width, double alpha) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, width);
    set_colour(cr, colour, alpha);
    cairo_stroke(cr);
}

void stroke_outlined(cairo_t* cr, const Rgb& colour, double width, double edge) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, width + 2 * edge);
    set_colour(cr, ink::kInk);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, width);
    set_colour(cr, colour);
    cairo_stroke(cr);
}

void glint(Pen& pen, double cx, double cy, double r) {
    if (!pen.detailed()) return;
    cairo_t* cr = pen.cr;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.72, M_PI * 1.05, M_PI * 1.45);
    stroke_round(cr, ink::kWhite, std::max(pen.px(1.5), r * 0.16), 0.55);
}

}  // namespace assetgen
