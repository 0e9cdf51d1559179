// A level built outside a running game and read back from the game's tables:
// the level tool prints and draws it, the benchmarks play on it and the
// tests pin levels with it.
#pragma once

#include <string>
#include <vector>

#include "game/myapp.h"
#include "host/kzgame.h"

// A host whose clock stands wherever it is set (at 0 to begin with), so that
// the clock-seeded part of a level is reproducible too.
class StillClockHost : public KzGame {
public:
    int Millisecs() override { return millis; }
    int millis = 0;
};

// The game object on a still-clock host. It builds a level as a game that
// reaches it with all five walkers alive does.
class LevelBuilder {
public:
    LevelBuilder();
    LevelBuilder(const LevelBuilder&) = delete;
    LevelBuilder& operator=(const LevelBuilder&) = delete;

    c_MyApp& Build(int difficulty, int level);
    c_MyApp& App() { return *app_; }
    StillClockHost& Host() { return host_; }

private:
    StillClockHost host_;
    c_MyApp* app_;
};

struct PathCell {
    int column;
    int row;
    int code;
};

struct Turret {
    int column;
    int row;
    int kind;  // 0 fixed gun, 1 spinning gun
    float angle, spin, fireTimer, fireRate, burstPhase, burstSpeed;
};

// Both in the order of the play's grid pass: columns outside, rows inside.
std::vector<PathCell> PathCells(const c_MyApp& app);
std::vector<Turret> Turrets(const c_MyApp& app);

// The level on `app` (its game type and level number as the app holds
// them): theme, segments, camera, path, walkers, turrets and stars. Floats
// are written with nine significant digits, so they read back exactly.
std::string LevelJson(const c_MyApp& app);
// One line: segments asked and carved, path length, turrets asked and
// placed, and how many of each kind.
std::string LevelSummary(const c_MyApp& app);
