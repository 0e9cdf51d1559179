// Drawing helpers shared by every sheet, so all sprites get the same
// outline, highlight and shading treatment.
#pragma once

#include "palette.h"

#include <cstdint>
#include "sheet.h"

namespace assetgen {

void set_colour(cairo_t* cr, const Rgb& colour, double alpha = 1.0);

// Paths (they replace the current path).
void circle_path(cairo_t* cr, double cx, double cy, double r);
void rounded_rect_path(cairo_t* cr, double x, double y, double w, double h, double r);
// A star of `points` tips between radii `outer` and `inner`; angle 0 puts a tip up.
void star_path(cairo_t* cr, double cx, double cy, int points, double outer, double inner,
               double angle_deg = 0);

// `count` small four-pointed stars, every fifth one golden, scattered by a
// fixed seed over whole-unit positions of the box at (x, y), w by h.
void scatter_stars(cairo_t* cr, uint32_t seed, int count, unsigned x, unsigned y, unsigned w, unsigned h);

// Fills the current path with `fill` and rings it with the ink outline just
// outside the shape; clears the path.
void fill_outlined(Pen& pen, const Rgb& fill, double alpha = 1.0);
// Same as fill_outlined but with a given outline colour and width (units).
void fill_with_edge(Pen& pen, const Rgb& fill, const Rgb& edge, double edge_width, double alpha = 1.0);
// Fills the current path with a vertical two-colour gradient between y0 and y1.
void fill_vertical(cairo_t* cr, const Rgb& top, const Rgb& bottom, double y0, double y1,
                   double alpha = 1.0);
// Strokes the current path with round caps and joins; clears the path.
void stroke_round(cairo_t* cr, const Rgb& colour, double width, double alpha = 1.0);
// Strokes the current path `width` wide in `colour` inside an ink edge
// `edge` wide on both sides (butt caps: for rings and arcs); clears the path.
void stroke_outlined(cairo_t* cr, const Rgb& colour, double width, double edge);

// A soft round glint at the upper left of a round shape, for a lit look
// (drawn only where the resolution leaves room for it).
void glint(Pen& pen, double cx, double cy, double r);

}  // namespace assetgen
