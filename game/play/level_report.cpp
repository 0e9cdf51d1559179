#include "game/play/level_report.h"

#include <cstdio>

namespace {

float Party(const c_MyApp& app, int index) { return app.m_party[index]; }
float Walker(const c_MyApp& app, int walker, int field) { return app.m_party[TableIndex(walker, field)]; }

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

std::string Number(int value) { return std::to_string(value); }

// `items` as a JSON array with one item per line, indented by four.
std::string Lines(const std::vector<std::string>& items) {
    if (items.empty()) return "[]";
    std::string out = "[\n";
    for (size_t i = 0; i < items.size(); ++i) {
        out += "    " + items[i] + (i + 1 < items.size() ? ",\n" : "\n");
    }
    return out + "  ]";
}

std::vector<std::string> PathItems(const c_MyApp& app) {
    std::vector<std::string> items;
    for (const PathCell& cell : PathCells(app)) {
        items.push_back("[" + Number(cell.column) + ", " + Number(cell.row) + ", " + Number(cell.code) + "]");
    }
    return items;
}

std::vector<std::string> WalkerItems(const c_MyApp& app) {
    std::vector<std::string> items;
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        items.push_back("{\"record\": " + Number(p) + ", \"column\": " +
                        Number(Walker(app, p, walker_record::column)) + ", \"row\": " +
                        Number(Walker(app, p, walker_record::row)) + ", \"walkCode\": " +
                        Number(Walker(app, p, walker_record::walkCode)) + ", \"status\": " +
                        Number(Walker(app, p, walker_record::status)) + "}");
    }
    return items;
}

std::vector<std::string> TurretItems(const c_MyApp& app) {
    std::vector<std::string> items;
    for (const Turret& t : Turrets(app)) {
        items.push_back("{\"column\": " + Number(t.column) + ", \"row\": " + Number(t.row) + ", \"kind\": " +
                        Number(t.kind) + ", \"angle\": " + Number(t.angle) + ", \"spin\": " + Number(t.spin) +
                        ", \"fireTimer\": " + Number(t.fireTimer) + ", \"fireRate\": " + Number(t.fireRate) +
                        ", \"burstPhase\": " + Number(t.burstPhase) + ", \"burstSpeed\": " + Number(t.burstSpeed) +
                        "}");
    }
    return items;
}

std::vector<std::string> StarItems(const c_MyApp& app) {
    std::vector<std::string> items;
    for (int i = 0; i <= app.m_starCount && i < star_record::kRecords; ++i) {
        const float* star = &app.m_stars[TableIndex(i, 0)];
        items.push_back("{\"frame\": " + Number(star[star_record::frame]) + ", \"x\": " +
                        Number(star[star_record::x]) + ", \"y\": " + Number(star[star_record::y]) +
                        ", \"turn\": " + Number(star[star_record::turn]) + ", \"turnSpeed\": " +
                        Number(star[star_record::turnSpeed]) + "}");
    }
    return items;
}

int LevelNumber(const c_MyApp& app) { return TruncToInt(Party(app, party_table::kLevel)); }

}  // namespace

LevelBuilder::LevelBuilder() {
    kz_app_InitGlobals(&host_);
    app_ = new c_MyApp();
}

c_MyApp& LevelBuilder::Build(int difficulty, int level) {
    c_MyApp& app = *app_;
    app.m_difficulty = difficulty;
    for (int i = 0; i < party_table::kClearedFloats; ++i) app.m_party[i] = 0;
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        app.m_party[TableIndex(p, walker_record::status)] = static_cast<float>(p);
    }
    app.m_party[party_table::kLevel] = static_cast<float>(level);
    app.p_BuildMap(level);
    return app;
}

std::vector<PathCell> PathCells(const c_MyApp& app) {
    std::vector<PathCell> cells;
    for (int column = 0; column <= map_cell::kLastScanned; ++column) {
        for (int row = 0; row <= map_cell::kLastScanned; ++row) {
            const float code = app.m_map[map_cell::Index(column, row, map_cell::code)];
            if (cell_code::IsPath(code)) cells.push_back({column, row, TruncToInt(code)});
        }
    }
    return cells;
}

std::vector<Turret> Turrets(const c_MyApp& app) {
    std::vector<Turret> turrets;
    for (int column = 0; column <= map_cell::kLastScanned; ++column) {
        for (int row = 0; row <= map_cell::kLastScanned; ++row) {
            const float* cell = &app.m_map[map_cell::Index(column, row, 0)];
            if (!cell_code::IsTurret(cell[map_cell::code])) continue;
            // A spinning gun always has a burst speed of at least 0.4, a fixed one none.
            turrets.push_back({column, row, cell[map_cell::burstSpeed] != 0 ? 1 : 0, cell[map_cell::gunAngle],
                               cell[map_cell::spin], cell[map_cell::fireTimer], cell[map_cell::fireRate],
                               cell[map_cell::burstPhase], cell[map_cell::burstSpeed]});
        }
    }
    return turrets;
}

std::string LevelJson(const c_MyApp& app) {
    std::string out = "{\n";
    out += "  \"difficulty\": " + Number(app.m_difficulty) + ",\n";
    out += "  \"level\": " + Number(LevelNumber(app)) + ",\n";
    out += "  \"theme\": " + Number(Party(app, party_table::kTheme)) + ",\n";
    out += "  \"segments\": {\"asked\": " + Number(app.m_segments) + ", \"carved\": " +
           Number(app.m_segmentsCarved) + "},\n";
    out += "  \"camera\": {\"x\": " + Number(app.m_camX) + ", \"y\": " + Number(app.m_camY) + "},\n";
    out += "  \"path\": " + Lines(PathItems(app)) + ",\n";
    out += "  \"walkers\": " + Lines(WalkerItems(app)) + ",\n";
    out += "  \"turretsAsked\": " + Number(app.m_turretsToPlace) + ",\n";
    out += "  \"turrets\": " + Lines(TurretItems(app)) + ",\n";
    out += "  \"stars\": " + Lines(StarItems(app)) + "\n";
    return out + "}\n";
}

std::string LevelSummary(const c_MyApp& app) {
    int spinning = 0;
    const std::vector<Turret> turrets = Turrets(app);
    for (const Turret& t : turrets) spinning += t.kind;
    char line[256];
    std::snprintf(line, sizeof line,
                  "difficulty %d level %d: segments %d asked, %d carved; path %d cells; "
                  "turrets %d asked, %d placed (%d fixed, %d spinning)",
                  app.m_difficulty, LevelNumber(app), app.m_segments, app.m_segmentsCarved,
                  static_cast<int>(PathCells(app).size()), app.m_turretsToPlace, static_cast<int>(turrets.size()),
                  static_cast<int>(turrets.size()) - spinning, spinning);
    return line;
}
