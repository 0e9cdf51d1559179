// What a window manager sends when a window's close box is clicked, sent to
// a window of the current display (kept apart: Xlib's macros clash with
// GoogleTest's names).
#pragma once

#include <string>

// `window` is the decimal id xdotool prints. Whether the message was sent.
bool ClickCloseBox(const std::string& window);
