// The clear colours by which the probe and its driver tell the loading screen
// from the title menu (red, green, blue, 0 to 255).
#pragma once

constexpr int kLoadingColour[3] = {40, 40, 80};
constexpr int kTitleColour[3] = {0, 0, 80};

inline bool SameColour(const int (&a)[3], const int (&b)[3]) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }
