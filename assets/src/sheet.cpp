#include "sheet.h"

#include <cmath>

namespace assetgen {

std::string level_suffix(int level) {
    return level == 1 ? "" : level == 2 ? "-hd" : "-hd2";
}

double Pen::snap(double v) const {
    return (std::floor(v * level) + 0.5) / level;
}

RgbaImage render_sheet(const SheetLayout& layout, int level, const FramePainter& paint) {
    const int fw = layout.frame_w * level;
    const int fh = layout.frame_h * level;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, fw * layout.columns, fh * layout.rows());
    cairo_t* cr = cairo_create(surface);
    for (int frame = 0; frame < layout.frames; ++frame) {
        cairo_save(cr);
        cairo_translate(cr, (frame % layout.columns) * fw, (frame / layout.columns) * fh);
        cairo_rectangle(cr, 1, 1, fw - 2, fh - 2);
        cairo_clip(cr);
        cairo_scale(cr, level, level);
        Pen pen{cr, level};
        paint(pen, frame);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    RgbaImage image = from_cairo(surface);
    cairo_surface_destroy(surface);
    return image;
}

}  // namespace assetgen
