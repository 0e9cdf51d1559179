#include "contact_sheet.h"

#include "fonts.h"
#include "palette.h"
#include "shapes.h"
#include "typeface.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace assetgen {
namespace {

constexpr int kMargin = 16;
constexpr int kTitle = 22;
const Rgb kBackdrop = Rgb(0x2a2c40);

// A Cairo surface (premultiplied) holding a copy of an RGBA image.
cairo_surface_t* to_cairo(const RgbaImage& image) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* px = &image.pixels[(size_t(y) * image.width + x) * 4];
            const uint32_t a = px[3];
            const auto pre = [a](uint32_t c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (pre(px[0]) << 16) | (pre(px[1]) << 8) | pre(px[2]);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

void label(cairo_t* cr, const std::string& text, double x, double baseline, double size, const Rgb& colour) {
    cairo_set_font_face(cr, Typeface::sans().cairo_face());
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, baseline);
    set_colour(cr, colour);
    cairo_show_text(cr, text.c_str());
}

// A sheet drawn at its own pixel size with a faint frame grid and, when
// `numbered`, each frame's number in its corner.
void draw_sheet(cairo_t* cr, const SheetLayout& layout, const RgbaImage& image, int level, double x, double y,
                bool numbered) {
    const int fw = layout.frame_w * level, fh = layout.frame_h * level;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rectangle(cr, 0, 0, image.width, image.height);
    set_colour(cr, kBackdrop.lighter(0.08));
    cairo_fill(cr);
    cairo_surface_t* pixels = to_cairo(image);
    cairo_set_source_surface(cr, pixels, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_surface_destroy(pixels);
    cairo_set_line_width(cr, 1);
    set_colour(cr, ink::kSteel, 0.25);
    for (int i = 0; i < layout.frames; ++i) {
        const double fx = (i % layout.columns) * fw, fy = (i / layout.columns) * fh;
        cairo_rectangle(cr, fx + 0.5, fy + 0.5, fw - 1, fh - 1);
    }
    cairo_stroke(cr);
    if (numbered) {
        for (int i = 0; i < layout.frames; ++i) {
            const double fx = (i % layout.columns) * fw, fy = (i / layout.columns) * fh;
            label(cr, std::to_string(i), fx + 3, fy + 11, 10, ink::kSun);
        }
    }
    cairo_restore(cr);
}

const RenderedSheet* find_sheet(const std::vector<RenderedSheet>& sheets, const std::string& name) {
    for (const auto& sheet : sheets)
        if (sheet.layout.name == name) return &sheet;
    return nullptr;
}

// Sets `text` with the game font the way the game's text writer does: glyphs
// centred on a pen that advances 7 units plus the glyph class adjustment;
// "~X" stands for the button glyph of letter X (`pad` picks the set).
double set_text(cairo_t* cr, const RgbaImage& font, int level, const std::string& text, bool pad, double x,
                double y) {
    const int cell = 16 * level;
    cairo_surface_t* pixels = to_cairo(font);
    for (size_t i = 0; i < text.size(); ++i) {
        int frame = text[i] - kFirstChar;
        int adjust = 0;
        if (text[i] == '~' && i + 1 < text.size()) {
            const char letter = text[++i];
            const int index = int(std::strchr(kButtonLetters, letter) - kButtonLetters);
            frame = (pad ? kControllerGlyphs : kKeyboardGlyphs) + index;
            adjust = button_advance_adjust(letter);
        } else {
            adjust = advance_adjust(text[i]);
        }
        if (frame > 0 && frame < 128) {
            const double sx = (frame % 16) * cell, sy = (frame / 16) * cell;
            cairo_save(cr);
            cairo_rectangle(cr, std::round(x - cell / 2.0), y - cell / 2.0, cell, cell);
            cairo_clip(cr);
            cairo_set_source_surface(cr, pixels, std::round(x - cell / 2.0) - sx, y - cell / 2.0 - sy);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
            cairo_paint(cr);
            cairo_restore(cr);
        }
        x += (7 + adjust) * level;
    }
    cairo_surface_destroy(pixels);
    return x;
}

std::string page_name(const std::string& sheet) {
    std::string name = sheet;
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

void write_sheet_page(const std::string& dir, const RenderedSheet& sheet) {
    const RgbaImage& small = sheet.levels.front();
    const RgbaImage& large = sheet.levels.back();
    const int width = kMargin * 3 + small.width + large.width;
    const int height = kMargin * 2 + kTitle + std::max(small.height, large.height);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    set_colour(cr, kBackdrop);
    cairo_paint(cr);
    label(cr, sheet.layout.name + "  (1x and 4x)", kMargin, kMargin + 12, 14, ink::kWhite);
    const int top = kMargin + kTitle;
    draw_sheet(cr, sheet.layout, small, 1, kMargin, top, sheet.layout.frame_w >= 32);
    draw_sheet(cr, sheet.layout, large, int(sheet.levels.size() == 3 ? 4 : 1), kMargin * 2 + small.width, top, true);
    cairo_destroy(cr);
    write_png(dir + "/" + page_name(sheet.layout.name) + ".png", from_cairo(surface));
    cairo_surface_destroy(surface);
}

void write_overview(const std::string& dir, const std::vector<RenderedSheet>& sheets, const RgbaImage& default_font) {
    const int width = 1360;
    // Shelf layout of every sheet at 1x.
    struct Placed {
        const RenderedSheet* sheet;
        int x, y;
    };
    std::vector<Placed> placed;
    int x = kMargin, y = kMargin, shelf = 0;
    for (const auto& sheet : sheets) {
        const RgbaImage& image = sheet.levels.front();
        if (x + image.width + kMargin > width) {
            x = kMargin;
            y += shelf + kMargin;
            shelf = 0;
        }
        placed.push_back({&sheet, x, y});
        x += image.width + kMargin;
        shelf = std::max(shelf, image.height + kTitle);
    }
    const int samples_top = y + shelf + kMargin;
    const int height = samples_top + 240;  // three sample lines, the button line, the default font
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    set_colour(cr, kBackdrop);
    cairo_paint(cr);
    for (const auto& p : placed) {
        label(cr, p.sheet->layout.name, p.x, p.y + 14, 12, ink::kWhite);
        draw_sheet(cr, p.sheet->layout, p.sheet->levels.front(), 1, p.x, p.y + kTitle, false);
    }
    // Font samples.
    const RenderedSheet* font = find_sheet(sheets, "fonts/fennick");
    const std::string sample = "Episode 3  Ready!  00012345  ~J Stroll ~K Jog";
    double line_y = samples_top + 16;
    for (size_t i = 0; font && i < font->levels.size(); ++i) {
        const int level = kLevels[i];
        label(cr, std::to_string(level) + "x", kMargin, line_y + 4, 12, ink::kSteel);
        set_text(cr, font->levels[i], level, sample, true, kMargin + 40, line_y);
        line_y += 16 * level + 8;
    }
    if (font) {
        set_text(cr, font->levels[1], 2, "Press ~K to Quit or ~J to return to the fun!  ~W~A~S~D ~U ~O ~Q ~E ~F", false,
                 kMargin + 40, line_y);
        line_y += 40;
    }
    label(cr, "default font", kMargin, line_y, 12, ink::kSteel);
    cairo_surface_t* pixels = to_cairo(default_font);
    cairo_set_source_surface(cr, pixels, kMargin + 100, line_y - 12);
    cairo_paint(cr);
    cairo_surface_destroy(pixels);
    cairo_destroy(cr);
    write_png(dir + "/overview.png", from_cairo(surface));
    cairo_surface_destroy(surface);
}

}  // namespace

void write_contact_sheets(const std::string& dir, const std::vector<RenderedSheet>& sheets,
                          const RgbaImage& default_font) {
    for (const auto& sheet : sheets) write_sheet_page(dir, sheet);
    write_overview(dir, sheets, default_font);
}

}  // namespace assetgen
