// The images of the data folder: each sheet's file (without the resolution
// suffix and ".png"), the image slot it is loaded into, its frame size in
// virtual units and its frame count. The game loads them by these numbers
// and the asset generator draws them to these numbers.
//
// Header only and free of dependencies beyond the ids, like game/ids.h.
#pragma once

#include "game/ids.h"

struct Sheet {
    int id;  // image_id
    const char* path;
    int frameWidth, frameHeight, frames;
};

namespace sheet {
constexpr Sheet kMakerLogo{image_id::kMakerLogo, "common/PlixLogo", 256, 256, 1};
constexpr Sheet kFont{image_id::kFont, "fonts/fennick", 16, 16, 128};  // characters 32 to 159
constexpr Sheet kIcons{image_id::kIcons, "common/icons", 32, 32, 16};
constexpr Sheet kMenuButtons{image_id::kMenuButtons, "common/Buttons", 64, 64, 16};
constexpr Sheet kPad{image_id::kPad, "common/dpad", 32, 32, 16};
constexpr Sheet kTestCard{image_id::kTestCard, "common/Testcard_Circle", 256, 256, 1};
constexpr Sheet kMenuArt{image_id::kMenuArt, "menu", 256, 256, 4};
constexpr Sheet kTitleLogo{image_id::kTitleLogo, "logo", 256, 128, 1};
constexpr Sheet kParticles{image_id::kParticles, "parts", 8, 8, kParticleFrames};
constexpr Sheet kBadges{image_id::kBadges, "BadgesA", 64, 64, 64};
constexpr Sheet kGfx{image_id::kGfx, "gfx", 32, 32, 64};
constexpr Sheet kWalkers{image_id::kWalkers, "gfxb", 32, 32, 64};
}  // namespace sheet
