// The generated sounds load through the game's own audio module (OpenAL
// Soft on its null backend), from the data folder the build wrote.
#include "framework/audio.h"
#include "host/kzglfwgame.h"
#include "tests/support/audio_fixtures.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace {

using namespace audio_fixtures;

const ScratchDir g_config_dir;
const bool g_configured = UseOpenAlConfig(g_config_dir.File("alsoft.conf"), "[general]\ndrivers=null\n");

TEST(AssetAudioModule, LoadsEveryEffectAndPlaysTheTune) {
    ASSERT_TRUE(g_configured);
    const std::string previous = std::filesystem::current_path().string();
    // The game reads "./data/..." from its working directory.
    ASSERT_EQ(chdir(std::filesystem::path(TARVOLAN_DATA_DIR).parent_path().c_str()), 0);
    KzGlfwGame game;
    kz_audio_SetAudioDevice(new gxtkAudio());
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 95, 96, 98, 99}) {
        char name[32];
        std::snprintf(name, sizeof name, "sfx/%03d.wav", id);
        EXPECT_NE(kz_audio_LoadSound(String(name)), nullptr) << name;
    }
    EXPECT_EQ(kz_audio_PlayMusic(String("sfx/grounded.ogg"), 1), 0);
    kz_audio_StopMusic();
    ASSERT_EQ(chdir(previous.c_str()), 0);
}

}  // namespace
