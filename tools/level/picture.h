// The whole map of a level as a picture, for reviewing level design.
#pragma once

#include <string>
#include <vector>

#include "game/myapp.h"

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // rows from the top, three bytes a pixel
};

// Cells 0 to 200 in both directions, four pixels each: the path, the
// walkers' cells, the ship, the boxes no turret may enter around the ship
// and the party's start, and the turrets with their aim.
Picture DrawLevel(const c_MyApp& app);

// Whether the file could be written.
bool WritePng(const Picture& picture, const std::string& path);
