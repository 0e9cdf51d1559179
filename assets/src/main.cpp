// tarvolan_assetgen DATA_DIR CONTACT_DIR ICON_DIR
//
// Draws every image at its three resolutions, both fonts, synthesises the
// sound effects and the tune, and writes them into DATA_DIR; writes the
// contact sheet for review into CONTACT_DIR, and the program's icon as an
// icon theme tree (hicolor/NxN/apps/) into ICON_DIR. The output depends on nothing
// but this program and the fonts it reads, so every run gives the same bytes.
#include "app_icon.h"
#include "art.h"
#include "contact_sheet.h"
#include "fonts.h"
#include "sounds.h"
#include "game/sheets.h"

#include <cstdio>
#include <exception>
#include <future>
#include <string>
#include <vector>

namespace assetgen {
namespace {

struct SheetJob {
    SheetLayout layout;
    FramePainter paint;
};

// Frame sizes and counts are the game's (game/sheets.h); the number of
// columns is ours (it keeps the sheets square or close to it).
SheetJob job(const Sheet& sheet, int columns, FramePainter paint) {
    return {{sheet.path, sheet.frameWidth, sheet.frameHeight, sheet.frames, columns}, paint};
}

const std::vector<SheetJob>& sheet_jobs() {
    static const std::vector<SheetJob> jobs = {
        job(sheet::kGfx, 8, paint_gfx),
        job(sheet::kWalkers, 8, paint_walkers),
        job(sheet::kParticles, 16, paint_particles),
        job(sheet::kBadges, 8, paint_badges),
        job(sheet::kFont, 16, paint_game_font),
        job(sheet::kIcons, 4, paint_icons),
        job(sheet::kMenuButtons, 4, paint_menu_buttons),
        job(sheet::kPad, 4, paint_dpad),
        job(sheet::kMakerLogo, 1, paint_maker_logo),
        job(sheet::kTestCard, 1, paint_test_card),
        job(sheet::kTitleLogo, 1, paint_title),
        job(sheet::kMenuArt, 2, paint_menu_art),
    };
    return jobs;
}

std::string sound_name(int id) {
    char name[16];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", id);
    return name;
}

void write_app_icons(const std::string& icons) {
    for (int size : kAppIconSizes) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        write_png(icons + "/hicolor/" + folder + "/apps/" TARVOLAN_APP_ID ".png", render_app_icon(size));
    }
}

void generate(const std::string& data, const std::string& contact, const std::string& icons) {
    // The tune is the longest single job and shares nothing with the
    // drawing, so it is composed on a second core meanwhile.
    std::future<Samples> tune = std::async(std::launch::async, make_tune);
    std::vector<RenderedSheet> rendered;
    for (const SheetJob& job : sheet_jobs()) {
        RenderedSheet sheet{job.layout, {}};
        for (int level : kLevels) {
            sheet.levels.push_back(render_sheet(job.layout, level, job.paint));
            write_png(data + "/" + job.layout.name + level_suffix(level) + ".png", sheet.levels.back());
        }
        rendered.push_back(std::move(sheet));
    }
    const SheetLayout default_font{"vyro_font", kDefaultFontFrameW, kDefaultFontH, 96, 96};
    const RgbaImage default_font_image = render_sheet(default_font, 1, paint_default_font);
    write_png(data + "/vyro_font.png", default_font_image);

    for (const SoundEffect& effect : make_sound_effects())
        write_wav(data + "/" + sound_name(effect.id), effect.samples, kEffectRate);

    write_contact_sheets(contact, rendered, default_font_image);
    write_app_icons(icons);
    // Written last: the build takes this file as the sign of a complete run.
    write_ogg(data + "/sfx/grounded.ogg", tune.get(), kTuneRate);
}

}  // namespace
}  // namespace assetgen

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DATA_DIR CONTACT_SHEET_DIR ICON_DIR\n", argv[0]);
        return 2;
    }
    try {
        assetgen::generate(argv[1], argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvolan_assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
