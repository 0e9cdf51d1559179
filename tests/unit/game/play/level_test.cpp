// Level generation: levels pinned byte for byte, the rules every level keeps,
// the revival of a lost walker, and reproducibility whatever came before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "game/play/level_report.h"

namespace {

float& Walker(c_MyApp& app, int walker, int field) { return app.m_party[TableIndex(walker, field)]; }
float& Code(c_MyApp& app, int column, int row) { return app.m_map[map_cell::Index(column, row, map_cell::code)]; }

// Written once by `level --difficulty D --level L` and reviewed as pictures;
// any change to the draws, the seeds or the rules shows here. Level 1 of
// difficulty 1 pins one turret asked and none placed: its short path lies
// almost wholly in the boxes around the ship and the party's start.
TEST(PinnedLevelTest, LevelsMatchTheirPinnedJson) {
    struct Case { int difficulty, level; };
    LevelBuilder builder;
    for (const Case c : {Case{1, 1}, Case{1, 2}, Case{1, 3}, Case{2, 5}, Case{3, 3}, Case{3, 4}, Case{3, 20}}) {
        const std::string name = "d" + std::to_string(c.difficulty) + "_level" + std::to_string(c.level) + ".json";
        SCOPED_TRACE(name);
        std::ifstream file(std::string(TARVOLAN_GOLDEN_DIR) + "/" + name, std::ios::binary);
        std::stringstream pinned;
        pinned << file.rdbuf();
        ASSERT_FALSE(pinned.str().empty());
        EXPECT_EQ(LevelJson(builder.Build(c.difficulty, c.level)), pinned.str());
    }
}

// Every cell's code is the direction it was carved in, so tracing back from
// walker 1 against the codes meets every path cell once, last carved first,
// and ends where the first corridor started. (A later corridor may cross the
// ship's own cell, which is empty while carving.)
void CheckPath(c_MyApp& app) {
    const std::vector<PathCell> cells = PathCells(app);
    for (const PathCell& cell : cells) {
        EXPECT_TRUE(cell.column >= 5 && cell.column <= 190 && cell.row >= 5 && cell.row <= 190);
    }
    int column = static_cast<int>(Walker(app, 1, walker_record::column));
    int row = static_cast<int>(Walker(app, 1, walker_record::row));
    std::set<std::pair<int, int>> met;
    int run = 0, fewest = 0, most = 0;  // corridors the straight runs can hold
    for (size_t i = 0; i < cells.size(); ++i) {
        const int code = static_cast<int>(Code(app, column, row));
        ASSERT_TRUE(cell_code::IsPath(static_cast<float>(code)));
        met.insert({column, row});
        if (i < 5) {
            EXPECT_EQ(Walker(app, static_cast<int>(i) + 1, walker_record::column), column);
            EXPECT_EQ(Walker(app, static_cast<int>(i) + 1, walker_record::walkCode), code);
        }
        column -= cell_code::ColumnStep(code);
        row -= cell_code::RowStep(code);
        ++run;
        if (i + 1 < cells.size() && Code(app, column, row) == code) continue;
        EXPECT_GE(run, 6);  // corridors in one direction one after the other make one run
        fewest += (run + 19) / 20;
        most += run / 6;
        run = 0;
    }
    EXPECT_EQ(std::vector<int>({int(met.size()), column, row}), std::vector<int>({int(cells.size()), 100, 100}));
    EXPECT_LE(fewest, app.m_segmentsCarved);
    EXPECT_GE(most, app.m_segmentsCarved);
}

bool AnyPathWithin(c_MyApp& app, int column, int row, int reach) {
    for (int c = column - reach; c <= column + reach; ++c) {
        for (int r = row - reach; r <= row + reach; ++r) {
            if (cell_code::IsPath(Code(app, c, r))) return true;
        }
    }
    return false;
}

// Counts the spinning guns and all guns of levels that may have spinning ones.
void CheckTurrets(c_MyApp& app, int difficulty, int level, int* spinning, int* all) {
    const std::vector<Turret> turrets = Turrets(app);
    EXPECT_EQ(app.m_turretsToPlace, difficulty == 1 && level == 1 ? 1 : app.m_segments + level);
    const bool spinningAllowed = level >= (difficulty == 1 ? 9 : (difficulty == 2 ? 5 : 3));
    const float startColumn = Walker(app, 1, walker_record::column);
    const float startRow = Walker(app, 1, walker_record::row);
    for (size_t i = 0; i < turrets.size(); ++i) {
        const Turret& t = turrets[i];
        SCOPED_TRACE(std::to_string(t.column) + "," + std::to_string(t.row));
        EXPECT_FALSE(AnyPathWithin(app, t.column, t.row, 1));
        EXPECT_TRUE(AnyPathWithin(app, t.column, t.row, 4));
        EXPECT_FALSE(std::abs(t.column - 100) < 10 && std::abs(t.row - 100) < 10);
        EXPECT_FALSE(std::fabs(t.column - startColumn) < 16 && std::fabs(t.row - startRow) < 16);
        for (size_t j = i + 1; j < turrets.size(); ++j) {
            EXPECT_FALSE(std::abs(t.column - turrets[j].column) <= 6 && std::abs(t.row - turrets[j].row) <= 6);
        }
        EXPECT_EQ(std::fabs(t.spin) >= 1 && std::fabs(t.spin) <= 3, t.kind == 1);
        EXPECT_TRUE(spinningAllowed || t.kind == 0);
        *spinning += t.kind;
        *all += spinningAllowed ? 1 : 0;
    }
}

TEST(LevelRulesTest, EveryLevelOfTheFirstTwentyOfEachTypeKeepsThePathAndTurretRules) {
    LevelBuilder builder;
    int spinning = 0, all = 0;
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        for (int level = 1; level <= 20; ++level) {
            SCOPED_TRACE("difficulty " + std::to_string(difficulty) + " level " + std::to_string(level));
            c_MyApp& app = builder.Build(difficulty, level);
            EXPECT_EQ(app.m_segments, level * difficulty + 2);
            CheckPath(app);
            CheckTurrets(app, difficulty, level, &spinning, &all);
        }
    }
    // About half the guns spin once spinning guns are allowed.
    EXPECT_GT(spinning, all * 35 / 100);
    EXPECT_LT(spinning, all * 65 / 100);
}

// Whoever is lost and whatever the clock, exactly one lost walker comes back
// (on different walkers with different clocks), every walker stands up, and
// the living are numbered by their records.
TEST(RevivalTest, OneLostWalkerIsRevivedWhateverTheClockAndEveryWalkerIsRenumbered) {
    LevelBuilder builder;
    c_MyApp& app = builder.App();
    app.m_difficulty = 2;
    for (const std::vector<int>& lost : {std::vector<int>{}, {3}, {1, 2, 5}, {1, 2, 3, 4}}) {
        std::set<int> revived;
        for (int clock = 0; clock < 400; clock += 7) {
            for (int p = 1; p <= 5; ++p) {
                const bool isLost = std::count(lost.begin(), lost.end(), p) > 0;
                Walker(app, p, walker_record::status) = isLost ? 0.0f : static_cast<float>(6 - p);
                Walker(app, p, walker_record::pose) = isLost ? walker_record::kLyingRight : walker_record::kBoarded;
            }
            builder.Host().millis = clock;
            app.p_BuildMap(4);
            int alive = 0;
            for (int p = 1; p <= 5; ++p) {
                const float status = Walker(app, p, walker_record::status);
                EXPECT_TRUE(status == 0 || status == p);
                EXPECT_EQ(Walker(app, p, walker_record::pose), walker_record::kWalking);
                alive += status > 0 ? 1 : 0;
                if (status > 0 && std::count(lost.begin(), lost.end(), p) > 0) revived.insert(p);
            }
            EXPECT_EQ(alive, lost.empty() ? 5 : 6 - static_cast<int>(lost.size()));
        }
        EXPECT_EQ(revived.size() > 1, lost.size() > 1);
    }
}

bool SameBytes(const float* a, const float* b, size_t count) { return std::memcmp(a, b, count * sizeof(float)) == 0; }

// After other levels, after play has moved the party, thrown particles and
// scrolled the stars, with another clock: the same map, turrets, theme, star
// field and walker cells. Only the walk phases follow the clock.
TEST(ReproducibilityTest, ALevelIsTheSameHoweverTheGameGotThere) {
    LevelBuilder fresh;
    c_MyApp& first = fresh.Build(3, 4);

    LevelBuilder played;
    c_MyApp& app = played.Build(2, 7);
    played.Build(3, 3);
    Walker(app, 2, walker_record::status) = 0;
    Walker(app, 4, walker_record::offsetX) = 0.5f;
    Walker(app, 4, walker_record::column) += 1;
    for (int i = 0; i < 100; ++i) {
        app.p_ThrowParticle(1600, 1600, 2, 3, kNoValue, kNoValue);
        app.p_DoStars(-7.5f, 3.25f);
        app.p_DoParticles();
    }
    played.Host().millis = 987654;
    app.p_BuildMap(4);

    EXPECT_TRUE(SameBytes(&first.m_map[0], &app.m_map[0], map_cell::kTableFloats));
    EXPECT_TRUE(SameBytes(&first.m_stars[0], &app.m_stars[0], star_record::kTableFloats));
    EXPECT_EQ(first.m_party[party_table::kTheme], app.m_party[party_table::kTheme]);
    for (int p = 1; p <= 5; ++p) {
        EXPECT_TRUE(SameBytes(&Walker(first, p, walker_record::column), &Walker(app, p, walker_record::column),
                              walker_record::walkCode));
        EXPECT_NE(Walker(first, p, walker_record::phase), Walker(app, p, walker_record::phase));
    }
    // Each level has its own star field.
    played.Build(3, 5);
    EXPECT_FALSE(SameBytes(&first.m_stars[0], &app.m_stars[0], star_record::kTableFloats));
}

}  // namespace
