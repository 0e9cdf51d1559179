// PNG files made by the tests themselves, with stb's writer from the
// system's header.
#pragma once

#include <string>
#include <vector>

// Writes a PNG of `depth` bytes per pixel (1 grey, 2 grey+alpha, 3 RGB,
// 4 RGBA) from rows packed top first. Returns whether it was written.
bool WritePng(const std::string& path, int width, int height, int depth,
              const std::vector<unsigned char>& pixels);
