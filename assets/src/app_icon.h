// The program's icon for desktop menus, drawn in the style of the sheets.
#pragma once

#include "image.h"

namespace assetgen {

// The square sizes, in pixels, that the icon theme holds.
constexpr int kAppIconSizes[] = {32, 48, 64, 128, 256};

RgbaImage render_app_icon(int size);

}  // namespace assetgen
