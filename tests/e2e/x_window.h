// A window of the current display read and closed through Xlib directly, so
// the tests need no image tool (kept apart: Xlib's macros clash with
// GoogleTest's names).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A window's pixels as the X server has them, 0xRRGGBB, top row first;
// empty when the window cannot be read (not mapped, or gone).
struct WindowPixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb;

    std::uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// `window` is the decimal id xdotool prints.
WindowPixels ReadWindowPixels(const std::string& window);

// Sends what a window manager sends when the window's close box is clicked.
// The program may end before the message is confirmed; its exit status is
// what tells whether the message arrived.
void ClickCloseBox(const std::string& window);
