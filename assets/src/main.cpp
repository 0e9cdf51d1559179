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

// Frame sizes and counts are fixed by the game's loader; the number of
// columns is ours (it keeps the sheets square or close to it).
const std::vector<SheetJob>& sheet_jobs() {
    static const std::vector<SheetJob> jobs = {
        {{"gfx", 32, 32, 64, 8}, paint_gfx},
        {{"gfxb", 32, 32, 64, 8}, paint_walkers},
        {{"parts", 8, 8, 256, 16}, paint_particles},
        {{"BadgesA", 64, 64, 64, 8}, paint_badges},
        {{"fonts/fennick", 16, 16, 128, 16}, paint_game_font},
        {{"common/icons", 32, 32, 16, 4}, paint_icons},
        {{"common/Buttons", 64, 64, 16, 4}, paint_menu_buttons},
        {{"common/dpad", 32, 32, 16, 4}, paint_dpad},
        {{"common/PlixLogo", 256, 256, 1, 1}, paint_maker_logo},
        {{"common/Testcard_Circle", 256, 256, 1, 1}, paint_test_card},
        {{"logo", 256, 128, 1, 1}, paint_title},
        {{"menu", 256, 256, 4, 2}, paint_menu_art},
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
