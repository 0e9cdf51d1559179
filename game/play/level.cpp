// Level generation: a winding one-cell path from the ship to the party's
// start, turrets beside it, the level's theme and star field. Everything but
// the walkers' walk phases and the revival of a lost walker is a pure function
// of (difficulty, level), because the generator is re-seeded from that pair
// and the order of the draws below is fixed: one draw more or less changes
// every level after it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "game/myapp.h"
#include "game/play/level.h"
#include "game/play/random.h"

namespace {

// Seeds of the theme and of the map, per difficulty and per level.
constexpr int kThemeSeedPerDifficulty = 456;
constexpr int kThemeSeedPerLevel = 12;
constexpr int kMapSeedPerDifficulty = 4567;
constexpr int kMapSeedPerLevel = 123;
constexpr int kLevelSeedDiscards = 11;
constexpr int kClockSeedDiscards = 21;

// Cells beyond this column and row are never used, so never cleared.
constexpr int kLastUsedCell = 250;
constexpr int kCorridorAttempts = 8;
// Empty cells a corridor must leave free beyond its end.
constexpr int kCorridorMargin = 2;

constexpr int kTurretAttempts = 501;
constexpr int kFirstTurretCell = 8;
constexpr int kLastTurretCell = 192;
constexpr int kAimReach = 4;  // the aim looks at the 9 x 9 square around the turret
constexpr int kAimPasses = 4;
constexpr int kTurretSpacing = 6;  // no other turret in the 13 x 13 square around one

constexpr int kRevivalPasses = 6;

// The level seeds in wrapping arithmetic, so that no level number overflows.
int LevelSeed(int difficulty, int perDifficulty, int level, int perLevel) {
    return static_cast<int>(static_cast<uint32_t>(difficulty) * static_cast<uint32_t>(perDifficulty) +
                            static_cast<uint32_t>(level) * static_cast<uint32_t>(perLevel));
}

bool InPathBounds(int cell) { return cell >= level_rule::kFirstPathCell && cell <= level_rule::kLastPathCell; }

float& Cell(c_MyApp& app, int column, int row, int attribute) {
    return app.m_map[map_cell::Index(column, row, attribute)];
}

// Which cells hold path and which a turret, one bit a cell, kept beside the
// map while the level is built: the turret candidates look at thousands of
// squares of cells, which as bits cost a few words a column where the map's
// ten floats a cell would miss the cache at every row.
struct ColumnBits {
    uint64_t words[map_cell::kRows / 64];
};
using Layer = std::array<ColumnBits, map_cell::kColumns>;
Layer g_path;
Layer g_turrets;

void Mark(Layer& layer, int column, int row) {
    layer[column].words[row / 64] |= uint64_t{1} << (row % 64);
}

// Rows first .. first + count - 1 of a column (count at most 32), the first
// row in the lowest bit.
uint32_t Rows(const Layer& layer, int column, int first, int count) {
    const ColumnBits& bits = layer[column];
    const int word = first / 64;
    const int shift = first % 64;
    uint64_t rows = bits.words[word] >> shift;
    if (shift > 0 && word + 1 < static_cast<int>(std::size(bits.words))) rows |= bits.words[word + 1] << (64 - shift);
    return static_cast<uint32_t>(rows & ((uint64_t{1} << count) - 1));
}

bool AnyInSquare(const Layer& layer, int column, int row, int reach) {
    for (int x = column - reach; x <= column + reach; ++x) {
        if (Rows(layer, x, row - reach, 2 * reach + 1) != 0) return true;
    }
    return false;
}

// Locks, countdown, bullets; the theme and the star field from the theme's
// seed; particles freed.
void StartLevel(c_MyApp& app, int level) {
    app.m_touchLock = 1;
    app.m_keyLock = 1;
    app.m_party[party_table::kCountdown] = party_table::kStartCountdown;
    for (int b = 0; b < bullet_record::kRecords; ++b) app.m_bullets[TableIndex(b, bullet_record::code)] = 0;

    ReseedRandom(LevelSeed(app.m_difficulty, kThemeSeedPerDifficulty, level, kThemeSeedPerLevel), kLevelSeedDiscards);
    app.m_party[party_table::kTheme] = static_cast<float>(app.p_Rand(1, party_table::kThemes));
    app.p_ResetStars(-1);
    app.p_ResetParticles(-1);
}

void ClearMap(c_MyApp& app) {
    g_path.fill({});
    g_turrets.fill({});
    for (int row = 0; row <= kLastUsedCell; ++row) {
        float* first = &app.m_map[map_cell::Index(0, row, 0)];
        std::fill(first, first + (kLastUsedCell + 1) * kTableRecordFloats, 0.0f);
    }
}

// Cuts the corridor p_FindPath found and moves the position to its end. The
// walkers stand on its last five cells, walker 1 on the very last.
void CarveCorridor(c_MyApp& app) {
    const int dc = cell_code::ColumnStep(app.m_dir);
    const int dr = cell_code::RowStep(app.m_dir);
    for (int s = 1; s <= app.m_pathLength; ++s) {
        const int column = app.m_pathCol + dc * s;
        const int row = app.m_pathRow + dr * s;
        Cell(app, column, row, map_cell::code) = static_cast<float>(app.m_dir);
        Mark(g_path, column, row);
        const int walker = app.m_pathLength - s + 1;
        if (walker > party_table::kLastWalker) continue;
        app.m_party[TableIndex(walker, walker_record::column)] = static_cast<float>(column);
        app.m_party[TableIndex(walker, walker_record::row)] = static_cast<float>(row);
        app.m_party[TableIndex(walker, walker_record::walkCode)] = static_cast<float>(app.m_dir);
        app.m_party[TableIndex(walker, walker_record::offsetX)] = 0;
        app.m_party[TableIndex(walker, walker_record::offsetY)] = 0;
    }
    app.m_pathCol = app.m_pathEndCol;
    app.m_pathRow = app.m_pathEndRow;
}

// A failed segment carves nothing and leaves the position where it was.
void CarvePath(c_MyApp& app, int level) {
    app.m_pathCol = map_cell::kShipColumn;
    app.m_pathRow = map_cell::kShipRow;
    app.m_segments = level * app.m_difficulty + 2;
    app.m_segmentsCarved = 0;
    for (int segment = 0; segment < app.m_segments; ++segment) {
        app.p_FindPath();
        if (app.m_dir < 0) continue;
        CarveCorridor(app);
        ++app.m_segmentsCarved;
    }
}

// The path's end, where the party starts, in the middle of the screen; the
// camera is there at once.
void AimCamera(c_MyApp& app) {
    app.m_camX = static_cast<float>(app.m_pathCol * map_cell::kPixels) - kz_Tarvo_jscrw * 0.5f;
    app.m_camY = static_cast<float>(app.m_pathRow * map_cell::kPixels) - kz_Tarvo_jscrh * 0.5f;
    app.m_camTargetX = app.m_camX;
    app.m_camTargetY = app.m_camY;
}

// Spinning guns come later on the easier game types.
bool SpinningAllowed(int difficulty, int level) {
    if (difficulty == 1) return level >= 9;
    if (difficulty == 2) return level >= 5;
    if (difficulty == 3) return level >= 3;
    return true;
}

struct Candidate {
    int column;
    int row;
    int angle;
    int kind;  // 0 fixed gun, 1 spinning gun
};

// Not on the path or a turret, and away from the party's start and the ship.
bool IsFree(c_MyApp& app, const Candidate& c) {
    if (AnyInSquare(g_path, c.column, c.row, 0) || AnyInSquare(g_turrets, c.column, c.row, 0)) return false;
    const float startColumn = app.m_party[TableIndex(party_table::kFirstWalker, walker_record::column)];
    const float startRow = app.m_party[TableIndex(party_table::kFirstWalker, walker_record::row)];
    if (std::fabs(static_cast<float>(c.column) - startColumn) < level_rule::kSpawnClearance &&
        std::fabs(static_cast<float>(c.row) - startRow) < level_rule::kSpawnClearance) {
        return false;
    }
    return !(std::abs(c.column - map_cell::kShipColumn) < level_rule::kShipClearance &&
             std::abs(c.row - map_cell::kShipRow) < level_rule::kShipClearance);
}

// Four passes over the 9 x 9 square, columns outside and rows inside: every
// path cell takes one draw, and one in four turns the gun toward that cell.
// The last such cell wins, so only its angle is worked out. Whether any path
// cell is in reach.
bool AimAtPath(Candidate& c) {
    constexpr int kSquare = (2 * kAimReach + 1) * (2 * kAimReach + 1);
    int reachX[kSquare];
    int reachY[kSquare];
    int inReach = 0;
    for (int x = c.column - kAimReach; x <= c.column + kAimReach; ++x) {
        for (uint32_t rows = Rows(g_path, x, c.row - kAimReach, 2 * kAimReach + 1); rows != 0; rows &= rows - 1) {
            reachX[inReach] = x;
            reachY[inReach] = c.row - kAimReach + __builtin_ctz(rows);
            ++inReach;
        }
    }
    int aimed = -1;
    for (int pass = 0; pass < kAimPasses; ++pass) {
        for (int i = 0; i < inReach; ++i) {
            if (kz_random_Rnd3(4) < 1) aimed = i;
        }
    }
    if (aimed >= 0) {
        const double radians = std::atan2(static_cast<double>(reachX[aimed] - c.column),
                                          static_cast<double>(c.row - reachY[aimed]));
        c.angle = TruncToInt(static_cast<float>(radians) * R2D);
    }
    return inReach > 0;
}

void BuildTurret(c_MyApp& app, const Candidate& c) {
    float* cell = &app.m_map[map_cell::Index(c.column, c.row, 0)];
    cell[map_cell::code] = cell_code::kTurret;
    Mark(g_turrets, c.column, c.row);
    if (c.kind == 0) {
        cell[map_cell::gunAngle] = static_cast<float>(c.angle);
        cell[map_cell::spin] = 0;
        cell[map_cell::fireTimer] = kz_random_Rnd3(99);
        cell[map_cell::fireRate] = kz_random_Rnd2(0.4f, 1.2f);
        cell[map_cell::burstPhase] = 0;
        cell[map_cell::burstSpeed] = 0;
    } else {
        cell[map_cell::gunAngle] = kz_random_Rnd3(360);
        cell[map_cell::spin] = kz_random_Rnd2(1, 3);
        cell[map_cell::fireTimer] = kz_random_Rnd3(99);
        cell[map_cell::fireRate] = kz_random_Rnd2(3, 8);
        cell[map_cell::burstPhase] = kz_random_Rnd3(360);
        cell[map_cell::burstSpeed] = kz_random_Rnd2(0.4f, 3.2f);
    }
    if (kz_random_Rnd() < 0.5f) cell[map_cell::spin] = -cell[map_cell::spin];
}

// One candidate: free, near the path (aimed at it) but not touching it, and
// clear of other turrets. The aiming takes its draws even when the candidate
// is already known not to be free: the draws of a rejected candidate belong
// to the level as much as those of a placed one. The remaining tests take no
// draws, so they are only made while they can still matter.
bool TryTurret(c_MyApp& app, int level) {
    Candidate c;
    c.column = app.p_Rand(kFirstTurretCell, kLastTurretCell);
    c.row = app.p_Rand(kFirstTurretCell, kLastTurretCell);
    c.angle = TruncToInt(kz_random_Rnd3(360));
    c.kind = TruncToInt(kz_random_Rnd3(1.99f));
    if (!SpinningAllowed(app.m_difficulty, level)) c.kind = 0;

    const bool free = IsFree(app, c);
    const bool aimed = AimAtPath(c);
    if (!free || !aimed || AnyInSquare(g_path, c.column, c.row, 1) ||
        AnyInSquare(g_turrets, c.column, c.row, kTurretSpacing)) {
        return false;
    }
    BuildTurret(app, c);
    return true;
}

// A turret whose attempts all fail is not placed; the first level of the
// easiest game type asks for exactly one.
void PlaceTurrets(c_MyApp& app, int level) {
    app.m_turretsToPlace = app.m_difficulty == 1 && level == 1 ? 1 : app.m_segments + level;
    app.m_turretsPlaced = 0;
    for (int turret = 0; turret < app.m_turretsToPlace; ++turret) {
        for (int attempt = 0; attempt < kTurretAttempts; ++attempt) {
            if (TryTurret(app, level)) {
                ++app.m_turretsPlaced;
                break;
            }
        }
    }
}

// Seeded from the clock: new walk phases, poses cleared, and at most one lost
// walker revived with new looks, always one when any is lost (at the latest
// the first lost one in the last pass).
void ReviveWalkers(c_MyApp& app) {
    ReseedRandom(kz_app_Millisecs(), kClockSeedDiscards);
    bool revived = false;
    for (int pass = 0; pass < kRevivalPasses; ++pass) {
        for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
            app.m_party[TableIndex(p, walker_record::phase)] = kz_random_Rnd3(360);
            app.m_party[TableIndex(p, walker_record::pose)] = walker_record::kWalking;
            if (app.m_party[TableIndex(p, walker_record::status)] != 0 || revived) continue;
            if (kz_random_Rnd3(8) < 1 || pass == kRevivalPasses - 1) {
                app.m_party[TableIndex(p, walker_record::status)] = 1;
                app.m_party[TableIndex(p, walker_record::colour)] =
                    static_cast<float>(app.p_Rand(0, walker_frame::kColours - 1));
                app.m_party[TableIndex(p, walker_record::body)] =
                    static_cast<float>(app.p_Rand(0, walker_frame::kBodies - 1));
                revived = true;
            }
        }
    }
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        if (app.m_party[TableIndex(p, walker_record::status)] > 0) {
            app.m_party[TableIndex(p, walker_record::status)] = static_cast<float>(p);
        }
    }
}

}  // namespace

// Up to eight tries of a direction and a length (two draws each); a try holds
// when every cell up to two beyond the corridor's end is empty and within
// the path's bounds.
void c_MyApp::p_FindPath() {
    for (int attempt = 0; attempt < kCorridorAttempts; ++attempt) {
        const int direction = TruncToInt(kz_random_Rnd2(1, 4.99f));
        const int length = TruncToInt(kz_random_Rnd2(6, 20.99f));
        const int dc = cell_code::ColumnStep(direction);
        const int dr = cell_code::RowStep(direction);
        bool good = true;
        for (int s = 1; s <= length + kCorridorMargin && good; ++s) {
            const int column = m_pathCol + dc * s;
            const int row = m_pathRow + dr * s;
            good = InPathBounds(column) && InPathBounds(row) && Cell(*this, column, row, map_cell::code) == 0;
        }
        if (good) {
            m_dir = direction;
            m_pathLength = length;
            m_pathEndCol = m_pathCol + dc * length;
            m_pathEndRow = m_pathRow + dr * length;
            return;
        }
    }
    m_dir = -1;
    m_pathLength = 0;
    m_pathEndCol = m_pathCol;
    m_pathEndRow = m_pathRow;
}

void c_MyApp::p_BuildMap(int level) {
    StartLevel(*this, level);
    ReseedRandom(LevelSeed(m_difficulty, kMapSeedPerDifficulty, level, kMapSeedPerLevel), kLevelSeedDiscards);
    ClearMap(*this);
    CarvePath(*this, level);
    AimCamera(*this);
    PlaceTurrets(*this, level);
    ReviveWalkers(*this);
    p_PlaySFX(sound_id::kLevelStart, 1.0f);
}
