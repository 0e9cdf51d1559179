// Level generation: the random integers, the corridor search, whole levels
// pinned byte for byte, the rules every level keeps, the revival of a lost
// walker, and reproducibility whatever came before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "game/play/random.h"
#include "tools/level/report.h"

namespace {

float& Walker(c_MyApp& app, int walker, int field) { return app.m_party[TableIndex(walker, field)]; }
float& Code(c_MyApp& app, int column, int row) { return app.m_map[map_cell::Index(column, row, map_cell::code)]; }

// How many draws took the generator from `before` to its present seed.
int DrawsSince(int before) {
    const int after = kz_random_Seed;
    kz_random_Seed = before;
    for (int draws = 0; draws < 1000; ++draws) {
        if (kz_random_Seed == after) return draws;
        kz_random_Rnd();
    }
    return -1;
}

TEST(RandTest, EveryIntegerOfTheRangeComesUpAndNothingOutsideItWithOneDrawEach) {
    struct Case {
        float low, high;
    };
    c_MyApp* app = new c_MyApp();
    for (const Case c : {Case{0, 7}, Case{1, 8}, Case{8, 192}, Case{-3, 2}}) {
        SCOPED_TRACE(c.low);
        ReseedRandom(77, 0);
        std::map<int, int> seen;
        for (int i = 0; i < 4000; ++i) {
            const int before = kz_random_Seed;
            ++seen[app->p_Rand(c.low, c.high)];
            ASSERT_EQ(DrawsSince(before), 1);
        }
        EXPECT_EQ(seen.begin()->first, static_cast<int>(c.low));
        EXPECT_EQ(seen.rbegin()->first, static_cast<int>(c.high));
        EXPECT_EQ(static_cast<int>(seen.size()), static_cast<int>(c.high - c.low) + 1);
    }
    ReseedRandom(5, 0);
    const int viaFirst = app->p_Rand(0, 255);
    ReseedRandom(5, 0);
    EXPECT_EQ(app->p_Rand2(255), viaFirst);
}

// Walls of path cells at a distance all round the position: a corridor needs
// its length and two more cells free, so walls at 8 stop every try (after
// eight tries of two draws) and walls at 9 let only the shortest through.
TEST(FindPathTest, ACorridorKeepsTwoFreeCellsBeyondItsEndAndGivesUpAfterEightTries) {
    struct Case {
        int wall;  // 0: no walls
        int shortest, longest;
    };
    LevelBuilder builder;
    c_MyApp& app = builder.App();
    app.m_difficulty = 1;
    for (const Case c : {Case{0, 6, 20}, Case{9, 6, 6}, Case{8, 0, 0}}) {
        SCOPED_TRACE(c.wall);
        int found = 0;
        for (int seed = 1; seed <= 60; ++seed) {
            std::fill(&app.m_map[0], &app.m_map[0] + map_cell::kTableFloats, 0.0f);
            if (c.wall > 0) {
                for (int d = 1; d <= 4; ++d) {
                    Code(app, 100 + cell_code::ColumnStep(d) * c.wall, 100 + cell_code::RowStep(d) * c.wall) = 1;
                }
            }
            app.m_pathCol = app.m_pathRow = 100;
            ReseedRandom(seed, 0);
            app.p_FindPath();
            if (app.m_dir < 0) {
                EXPECT_EQ(DrawsSince(seed), 16);
                continue;
            }
            ++found;
            EXPECT_GE(app.m_pathLength, c.shortest);
            EXPECT_LE(app.m_pathLength, c.longest);
            EXPECT_EQ(app.m_pathEndCol, 100 + cell_code::ColumnStep(app.m_dir) * app.m_pathLength);
            EXPECT_EQ(app.m_pathEndRow, 100 + cell_code::RowStep(app.m_dir) * app.m_pathLength);
        }
        EXPECT_EQ(found > 0, c.wall != 8);
    }
    // Near the edge of the path's area no direction can go far enough.
    app.m_pathCol = app.m_pathRow = 3;
    ReseedRandom(9, 0);
    app.p_FindPath();
    EXPECT_EQ(app.m_dir, -1);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Written once by `level --difficulty D --level L` and reviewed as pictures;
// any change to the draws, the seeds or the rules shows here.
TEST(PinnedLevelTest, LevelsMatchTheirPinnedJson) {
    struct Case {
        int difficulty, level;
    };
    LevelBuilder builder;
    for (const Case c : {Case{1, 1}, Case{1, 2}, Case{1, 3}, Case{2, 5}, Case{3, 3}, Case{3, 4}, Case{3, 20}}) {
        const std::string name = "d" + std::to_string(c.difficulty) + "_level" + std::to_string(c.level) + ".json";
        SCOPED_TRACE(name);
        const std::string pinned = ReadFile(std::string(TARVOLAN_GOLDEN_DIR) + "/" + name);
        ASSERT_FALSE(pinned.empty());
        EXPECT_EQ(LevelJson(builder.Build(c.difficulty, c.level)), pinned);
    }
}

// The first level of the easiest type asks for one turret, but its short
// path lies almost wholly in the boxes around the ship and the party's start,
// and none of the 501 seeded candidates finds a place: it has none.
TEST(PinnedLevelTest, TheFirstEasyLevelAsksForOneTurretAndPlacesNone) {
    LevelBuilder builder;
    c_MyApp& app = builder.Build(1, 1);
    EXPECT_EQ(app.m_segments, 3);
    EXPECT_EQ(app.m_turretsToPlace, 1);
    EXPECT_EQ(app.m_turretsPlaced, 0);
    EXPECT_TRUE(Turrets(app).empty());
}

// Traces the path back from walker 1's cell: every cell's code is the
// direction it was carved in, so the cell before it is one step against the
// code. `count` steps; the cells met, last carved first.
std::vector<PathCell> TraceBack(c_MyApp& app, int count) {
    std::vector<PathCell> cells;
    int column = static_cast<int>(Walker(app, 1, walker_record::column));
    int row = static_cast<int>(Walker(app, 1, walker_record::row));
    for (int i = 0; i < count; ++i) {
        const int code = static_cast<int>(Code(app, column, row));
        cells.push_back({column, row, code});
        column -= cell_code::ColumnStep(code);
        row -= cell_code::RowStep(code);
    }
    cells.push_back({column, row, 0});  // where the first corridor started
    return cells;
}

void CheckPath(c_MyApp& app, int difficulty, int level) {
    EXPECT_EQ(app.m_segments, level * difficulty + 2);
    EXPECT_LE(app.m_segmentsCarved, app.m_segments);
    const std::vector<PathCell> cells = PathCells(app);
    for (const PathCell& cell : cells) {
        EXPECT_TRUE(cell.column >= 5 && cell.column <= 190 && cell.row >= 5 && cell.row <= 190)
            << cell.column << "," << cell.row;
    }
    // One chain of every path cell once, from the ship to walker 1. (A later
    // corridor may cross the ship's own cell, which is empty when carving.)
    const std::vector<PathCell> chain = TraceBack(app, static_cast<int>(cells.size()));
    std::set<std::pair<int, int>> distinct;
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        EXPECT_TRUE(cell_code::IsPath(static_cast<float>(chain[i].code)));
        distinct.insert({chain[i].column, chain[i].row});
    }
    EXPECT_EQ(distinct.size(), cells.size());
    EXPECT_EQ(chain.back().column, 100);
    EXPECT_EQ(chain.back().row, 100);
    // Its straight runs are corridors of 6 to 20 cells (corridors in the same
    // direction one after the other make one run).
    int fewest = 0, most = 0, run = 0;
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        ++run;
        if (i + 2 < chain.size() && chain[i + 1].code == chain[i].code) continue;
        EXPECT_GE(run, 6);
        fewest += (run + 19) / 20;
        most += run / 6;
        run = 0;
    }
    EXPECT_LE(fewest, app.m_segmentsCarved);
    EXPECT_GE(most, app.m_segmentsCarved);
    // The walkers stand on the last five cells, walker 1 on the very last.
    for (int p = 1; p <= 5; ++p) {
        EXPECT_EQ(Walker(app, p, walker_record::column), chain[p - 1].column);
        EXPECT_EQ(Walker(app, p, walker_record::row), chain[p - 1].row);
        EXPECT_EQ(Walker(app, p, walker_record::walkCode), chain[p - 1].code);
    }
}

bool AnyPathWithin(c_MyApp& app, int column, int row, int reach) {
    for (int c = column - reach; c <= column + reach; ++c) {
        for (int r = row - reach; r <= row + reach; ++r) {
            if (cell_code::IsPath(Code(app, c, r))) return true;
        }
    }
    return false;
}

void CheckTurrets(c_MyApp& app, int difficulty, int level, int* spinning, int* all) {
    const std::vector<Turret> turrets = Turrets(app);
    EXPECT_EQ(static_cast<int>(turrets.size()), app.m_turretsPlaced);
    EXPECT_LE(app.m_turretsPlaced, app.m_turretsToPlace);
    EXPECT_EQ(app.m_turretsToPlace, difficulty == 1 && level == 1 ? 1 : app.m_segments + level);
    const int firstSpinningLevel = difficulty == 1 ? 9 : (difficulty == 2 ? 5 : 3);
    const float startColumn = Walker(app, 1, walker_record::column);
    const float startRow = Walker(app, 1, walker_record::row);
    for (size_t i = 0; i < turrets.size(); ++i) {
        const Turret& t = turrets[i];
        SCOPED_TRACE(std::to_string(t.column) + "," + std::to_string(t.row));
        EXPECT_FALSE(AnyPathWithin(app, t.column, t.row, 1));
        EXPECT_TRUE(AnyPathWithin(app, t.column, t.row, 4));
        EXPECT_FALSE(std::abs(t.column - 100) < 10 && std::abs(t.row - 100) < 10);
        EXPECT_FALSE(std::abs(t.column - startColumn) < 16 && std::abs(t.row - startRow) < 16);
        for (size_t j = i + 1; j < turrets.size(); ++j) {
            EXPECT_FALSE(std::abs(t.column - turrets[j].column) <= 6 && std::abs(t.row - turrets[j].row) <= 6);
        }
        if (level < firstSpinningLevel) {
            EXPECT_EQ(t.kind, 0);
        }
        EXPECT_EQ(std::fabs(t.spin) >= 1 && std::fabs(t.spin) <= 3, t.kind == 1);
        if (level >= firstSpinningLevel) {
            *spinning += t.kind;
            ++*all;
        }
    }
}

TEST(LevelRulesTest, EveryLevelOfTheFirstTwentyOfEachTypeKeepsThePathAndTurretRules) {
    LevelBuilder builder;
    int spinning = 0, all = 0;
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        for (int level = 1; level <= 20; ++level) {
            SCOPED_TRACE("difficulty " + std::to_string(difficulty) + " level " + std::to_string(level));
            c_MyApp& app = builder.Build(difficulty, level);
            CheckPath(app, difficulty, level);
            CheckTurrets(app, difficulty, level, &spinning, &all);
            const float theme = app.m_party[party_table::kTheme];
            EXPECT_TRUE(theme >= 1 && theme <= 8);
            EXPECT_EQ(app.m_party[party_table::kCountdown], 120);
        }
    }
    // About half the guns spin once spinning guns are allowed.
    EXPECT_GT(spinning, all * 35 / 100);
    EXPECT_LT(spinning, all * 65 / 100);
}

// Statuses before the build, and the clocks it is tried with.
TEST(RevivalTest, OneLostWalkerIsRevivedWhateverTheClockAndEveryWalkerIsRenumbered) {
    struct Case {
        std::vector<int> lost;
    };
    LevelBuilder builder;
    c_MyApp& app = builder.App();
    app.m_difficulty = 2;
    for (const Case& c : {Case{{}}, Case{{3}}, Case{{1, 2, 5}}, Case{{1, 2, 3, 4}}}) {
        std::map<int, int> revivedWalker;
        for (int clock = 0; clock < 400; clock += 7) {
            for (int p = 1; p <= 5; ++p) {
                Walker(app, p, walker_record::status) = static_cast<float>(p);
                Walker(app, p, walker_record::pose) = walker_record::kBoarded;
            }
            for (const int p : c.lost) {
                Walker(app, p, walker_record::status) = 0;
                Walker(app, p, walker_record::pose) = walker_record::kLyingRight;
            }
            builder.Host().millis = clock;
            app.p_BuildMap(4);
            int alive = 0;
            for (int p = 1; p <= 5; ++p) {
                const float status = Walker(app, p, walker_record::status);
                EXPECT_TRUE(status == 0 || status == p);
                EXPECT_EQ(Walker(app, p, walker_record::pose), walker_record::kWalking);
                if (status > 0) ++alive;
                if (status > 0 && std::find(c.lost.begin(), c.lost.end(), p) != c.lost.end()) ++revivedWalker[p];
            }
            EXPECT_EQ(alive, 5 - static_cast<int>(c.lost.size()) + (c.lost.empty() ? 0 : 1));
        }
        // The revival falls on different walkers with different clocks.
        if (c.lost.size() > 1) {
            EXPECT_GT(revivedWalker.size(), 1u);
        }
    }
}

struct LevelBytes {
    std::vector<float> map, stars, walkerCells;
    float theme;
    std::vector<float> phases;
};

LevelBytes Snapshot(c_MyApp& app) {
    LevelBytes bytes;
    bytes.map.assign(&app.m_map[0], &app.m_map[0] + map_cell::kTableFloats);
    bytes.stars.assign(&app.m_stars[0], &app.m_stars[0] + star_record::kTableFloats);
    for (int p = 1; p <= 5; ++p) {
        for (const int field : {walker_record::column, walker_record::row, walker_record::walkCode}) {
            bytes.walkerCells.push_back(Walker(app, p, field));
        }
        bytes.phases.push_back(Walker(app, p, walker_record::phase));
    }
    bytes.theme = app.m_party[party_table::kTheme];
    return bytes;
}

bool SameBytes(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// After other levels, after play has moved the party, thrown particles and
// scrolled the stars, with another clock: the same map, turrets, theme and
// stars. Only the walk phases follow the clock.
TEST(ReproducibilityTest, ALevelIsTheSameHoweverTheGameGotThere) {
    LevelBuilder fresh;
    const LevelBytes first = Snapshot(fresh.Build(3, 4));

    LevelBuilder played;
    c_MyApp& app = played.Build(2, 7);
    played.Build(3, 3);
    Walker(app, 2, walker_record::status) = 0;
    Walker(app, 4, walker_record::offsetX) = 0.5f;
    Walker(app, 4, walker_record::column) += 1;
    for (int i = 0; i < 40; ++i) app.p_ThrowParticle(1600, 1600, 2, 3, kNoValue, kNoValue);
    for (int i = 0; i < 100; ++i) {
        app.p_DoStars(-7.5f, 3.25f);
        app.p_DoParticles();
    }
    played.Host().millis = 987654;
    app.m_difficulty = 3;
    app.p_BuildMap(4);
    const LevelBytes again = Snapshot(app);

    EXPECT_TRUE(SameBytes(first.map, again.map));
    EXPECT_TRUE(SameBytes(first.stars, again.stars));
    EXPECT_TRUE(SameBytes(first.walkerCells, again.walkerCells));
    EXPECT_EQ(first.theme, again.theme);
    EXPECT_FALSE(SameBytes(first.phases, again.phases));

    // Each level has its own star field.
    played.Build(3, 5);
    EXPECT_FALSE(SameBytes(first.stars, Snapshot(app).stars));
}

TEST(LevelAllocationTest, BuildingALevelAllocatesNothingFromTheCollector) {
    LevelBuilder builder;
    builder.Build(3, 19);
    const int before = gc_new_bytes;
    builder.Build(3, 20);
    EXPECT_EQ(gc_new_bytes, before);
}

}  // namespace
