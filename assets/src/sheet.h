// Sprite sheets: a grid of equal frames, drawn once per resolution.
//
// A painter draws one frame in virtual units (the frame is frame_w x frame_h
// units whatever the resolution) and learns the resolution from the pen, so
// it can choose line widths, pixel snapping and detail for the pixels it
// really gets instead of scaling one picture.
#pragma once

#include "image.h"

#include <cairo.h>

#include <functional>
#include <string>

namespace assetgen {

struct SheetLayout {
    std::string name;  // file base name inside the data folder, e.g. "common/icons"
    int frame_w;       // frame size in virtual units (pixels at 1x)
    int frame_h;
    int frames;
    int columns;  // frames per row; the reader fills rows left to right

    int rows() const { return (frames + columns - 1) / columns; }
};

// The three resolutions of every image and their file-name suffixes.
constexpr int kLevels[] = {1, 2, 4};
std::string level_suffix(int level);

struct Pen {
    cairo_t* cr;
    int level;  // device pixels per virtual unit: 1, 2 or 4

    // A length of n device pixels, in virtual units.
    double px(double n) const { return n / level; }
    // The width of the dark outline that every sprite carries: a full pixel
    // at 1x, and thinner in units (but never less than a pixel) when more
    // pixels are available, so large sprites stay crisp instead of bold.
    double outline() const { return level == 1 ? 1.0 : level == 2 ? 0.75 : 0.5; }
    // Rounds a coordinate to the nearest pixel centre (for odd-width strokes).
    double snap(double v) const;
    // True where the resolution has room for fine detail.
    bool detailed() const { return level >= 2; }
};

using FramePainter = std::function<void(Pen&, int frame)>;

// Draws every frame of the sheet at one resolution. Each frame is clipped to
// its own rectangle minus a one-pixel border, so the border stays transparent
// and a sampled neighbour never bleeds into a turned or scaled sprite.
RgbaImage render_sheet(const SheetLayout& layout, int level, const FramePainter& paint);

}  // namespace assetgen
