// The game screen: what a play frame draws, back to front, and the score
// line easing toward the score with the table score to beat.
#include "tests/unit/game/play/play_fixture.h"

namespace {

using namespace walker_record;

enum Layer { kStars, kStick, kGrid, kHelp, kLying, kWalking, kEpisode, kBullets, kShip, kParticles, kScoreLine };

// Tells the layer of a record from what it draws; the particle sheet
// serves the stars until the ship is drawn and the particles after it.
Layer LayerOf(const DrawRecord& r, bool shipSeen) {
    if (r.IsOval()) return kStick;
    if (r.kind == image_id::kParticles) return shipSeen ? kParticles : kStars;
    if (r.kind == image_id::kWalkers) return r.rotation == 90 || r.rotation == -90 ? kLying : kWalking;
    if (r.kind == image_id::kGfx) {
        if (r.frame == gfx_frame::kBullet) return kBullets;
        return r.frame == gfx_frame::kShip ? kShip : kGrid;
    }
    if (r.sizeX == 4) return kEpisode;
    return r.y <= 28 ? kScoreLine : kHelp;
}

TEST_F(PlayTest, APlayFrameDrawsItsLayersBackToFront) {
    StartGame(1);
    Corridor(60, 3);
    Turret(62, 96, 0);
    WalkerField(2, status) = 0;
    WalkerField(2, pose) = kLyingRight;
    Party(party_table::kCountdown) = 20;
    Bullet(0, App().m_camX + 50, App().m_camY + 50, 90);
    App().p_ThrowParticle(App().m_camX + 60, App().m_camY + 60, 1, 1, 0, 1);
    driver.Backend().QueueMouseMove(300, 300);
    driver.Backend().QueueMouseButton(glfw2::MOUSE_BUTTON_LEFT, glfw2::PRESS);
    driver.Update();

    std::vector<Layer> layers;
    bool shipSeen = false;
    for (const DrawRecord& r : driver.DisplayList()) {
        const Layer layer = LayerOf(r, shipSeen);
        shipSeen = shipSeen || layer == kShip;
        if (layers.empty() || layers.back() != layer) layers.push_back(layer);
    }
    const std::vector<Layer> expected = {kStars, kStick,   kGrid, kHelp,      kLying,    kWalking,
                                         kEpisode, kBullets, kShip, kParticles, kScoreLine};
    EXPECT_EQ(layers, expected);
}

// The shown score closes a sixth of the gap (truncated) and snaps within 5.
// Empty entries count as beaten, so an empty table shows its first entry;
// ties are not beaten; below the tenth entry the tenth shows without a place.
TEST_F(PlayTest, TheScoreLineEasesTowardTheScoreAndShowsTheNextScoreToBeat) {
    const std::vector<int> full = {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100};
    const struct {
        std::vector<int> table;
        int shown, score, nextShown;
        int target, place;
        const char* ordinal;
    } cases[] = {
        {std::vector<int>(10, 0), 3, 0, 0, 0, 0, "1st"},
        {full, 0, 550, 91, 600, 4, "5th"},
        {full, 594, 600, 600, 600, 4, "5th"},
        {full, 100, 50, 92, 100, 10, ""},
        {full, 4000, 5000, 4166, 1000, 0, "1st"},
        {{500, 400, 0, 0, 0, 0, 0, 0, 0, 0}, 443, 450, 444, 500, 0, "1st"},
    };
    StartGame(2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.score);
        for (int rank = 0; rank < 10; ++rank) App().m_scores[score_table::Best(2, rank)] = c.table[rank];
        App().m_shownScore = c.shown;
        App().m_score = c.score;
        driver.Update();
        EXPECT_EQ(App().m_shownScore, c.nextShown);
        EXPECT_EQ(App().m_targetScore, c.target);
        EXPECT_EQ(App().m_targetPlace, c.place);
        EXPECT_TRUE(App().p_Nth(App().m_targetPlace + 1) == String(c.ordinal));
    }
    EXPECT_TRUE(App().p_Nth(0) == String());
}

}  // namespace
