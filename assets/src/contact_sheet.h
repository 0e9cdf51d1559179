// The contact sheet for review: every sheet at 1x and 4x with each frame's
// number, and the fonts setting a sample line at 1x, 2x and 4x.
#pragma once

#include "image.h"
#include "sheet.h"

#include <string>
#include <vector>

namespace assetgen {

struct RenderedSheet {
    SheetLayout layout;
    std::vector<RgbaImage> levels;  // one per entry of kLevels (or just 1x)
};

// Writes one page per sheet and an overview page ("overview.png") into `dir`.
void write_contact_sheets(const std::string& dir, const std::vector<RenderedSheet>& sheets,
                          const RgbaImage& default_font);

}  // namespace assetgen
