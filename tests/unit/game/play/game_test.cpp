// Whole games on the scripted clock: the bot's game repeats exactly as
// pinned, and steady play allocates nothing from the collector. (Games lost
// on every difficulty: the soak.)
#include <array>
#include <filesystem>

#include "tests/unit/devices/png_fixture.h"
#include "tests/unit/game/play/play_fixture.h"

namespace {

struct Outcome { int score; std::array<float, party_table::kTableFloats> party; };

Outcome BotGame(int difficulty, int updates) {
    HeadlessDriver driver;
    EXPECT_TRUE(driver.FinishLoading());
    PlayBot bot(driver);
    bot.StartGame(difficulty);
    bot.Steps(updates);
    const c_MyApp& app = driver.App();
    Outcome outcome{app.m_score, {}};
    for (int i = 0; i < party_table::kTableFloats; ++i) outcome.party[i] = app.m_party[i];
    return outcome;
}

// The bot's game of difficulty 1 on the scripted clock: every run ends alike,
// as pinned here.
TEST(WholeGame, TheBotsGameOnAFixedClockRepeatsAsPinned) {
    const Outcome first = BotGame(1, 2000);
    const Outcome second = BotGame(1, 2000);
    EXPECT_EQ(first.party, second.party);
    std::array<int, party_table::kWalkers> statuses{};
    for (int p = 1; p <= party_table::kWalkers; ++p) {
        statuses[p - 1] = TruncToInt(first.party[TableIndex(p, walker_record::status)]);
    }
    EXPECT_EQ(first.score, 1655);
    EXPECT_EQ(first.party[party_table::kLevel], 4);
    EXPECT_EQ(statuses, (std::array<int, party_table::kWalkers>{1, 0, 3, 4, 5}));
}

// Once the level runs (the tune started, bullets flying, effects playing),
// neither an update nor a render allocates collector bytes.
TEST(WholeGame, APlayFrameAllocatesNoCollectorBytes) {
    HeadlessDriver driver;
    // Drawn sprites come from a loaded sheet, so the renders below draw.
    std::filesystem::create_directories(driver.DataDir());
    ASSERT_TRUE(WritePng(driver.DataDir() + "/gfx-hd.png", 512, 512, 4, std::vector<unsigned char>(512 * 512 * 4, 255)));
    ASSERT_TRUE(driver.FinishLoading());
    ASSERT_NE(driver.App().m_images[image_id::kGfx], nullptr);
    PlayBot bot(driver);
    bot.StartGame(3);
    bot.Steps(150);

    const HeadlessDriver::FrameBytes bytes = driver.CollectorBytesOfFrames(120, [&] { bot.Step(); });
    EXPECT_EQ(bytes.updates, 0);
    EXPECT_EQ(bytes.renders, 0);
}

}  // namespace
