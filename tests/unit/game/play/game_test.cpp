// Whole games on the scripted clock: the bot's runs repeat exactly, a
// scripted game ends where it always has, a hard game is eventually lost,
// and steady play allocates nothing from the collector.
#include <array>
#include <filesystem>

#include "tests/unit/devices/png_fixture.h"
#include "tests/unit/game/play/play_fixture.h"

namespace {

struct Outcome {
    int score;
    int level;
    std::array<float, party_table::kClearedFloats> party;
};

Outcome BotGame(int difficulty, int updates) {
    HeadlessDriver driver;
    EXPECT_TRUE(driver.FinishLoading());
    PlayBot bot(driver);
    bot.StartGame(difficulty);
    bot.Steps(updates);
    const c_MyApp& app = driver.App();
    Outcome outcome{app.m_score, TruncToInt(app.m_party[party_table::kLevel]), {}};
    for (int i = 0; i < party_table::kClearedFloats; ++i) outcome.party[i] = app.m_party[i];
    return outcome;
}

TEST(WholeGame, TheBotsRunOnAFixedClockRepeatsExactly) {
    const Outcome first = BotGame(1, 2000);
    const Outcome second = BotGame(1, 2000);
    EXPECT_GT(first.score, 0);
    EXPECT_EQ(first.score, second.score);
    EXPECT_EQ(first.level, second.level);
    EXPECT_EQ(first.party, second.party);
}

// Run from the end of the countdown for 400 frames, stand for 200, then
// stroll for 600: the score, level and statuses this always gives.
TEST_F(PlayTest, AScriptedGameEndsAsPinned) {
    StartGame(2);
    driver.Updates(120);
    driver.Press(kKeyButton12);
    driver.Updates(400);
    driver.Release(kKeyButton12);
    driver.Updates(200);
    driver.Press(kKeyStroll);
    driver.Updates(600);
    std::array<int, party_table::kWalkers> statuses{};
    for (int p = 1; p <= party_table::kWalkers; ++p) statuses[p - 1] = TruncToInt(WalkerField(p, walker_record::status));
    EXPECT_EQ(App().m_score, 732);
    EXPECT_EQ(Party(party_table::kLevel), 2);
    EXPECT_EQ(statuses, (std::array<int, party_table::kWalkers>{0, 0, 2, 3, 4}));
}

// The bot stands wherever a bullet comes near, which on difficulty 3 costs
// the party within a few levels.
TEST(WholeGame, TheBotEventuallyLosesAHardGame) {
    HeadlessDriver driver;
    ASSERT_TRUE(driver.FinishLoading());
    PlayBot bot(driver);
    bot.StartGame(3);
    EXPECT_TRUE(bot.PlayToEnd(100000));
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
