#include "tools/level/picture.h"

#include <cmath>

#include "game/play/level.h"
#include "game/play/level_report.h"

namespace {

constexpr int kCellPixels = 4;
constexpr int kCells = map_cell::kLastScanned + 1;
constexpr int kGridStep = 10;
// A gun's aim is drawn as long as the reach in which it picks its target.
constexpr float kAimCells = 4.5f;
constexpr float kSpinRingCells = 2.0f;

struct Rgb {
    unsigned char r, g, b;
};
constexpr Rgb kBackground{22, 24, 34};
constexpr Rgb kGrid{34, 37, 52};
constexpr Rgb kPathBounds{70, 70, 96};
constexpr Rgb kPath{214, 190, 128};
constexpr Rgb kWalker{96, 224, 120};
constexpr Rgb kShip{110, 200, 255};
constexpr Rgb kShipBox{60, 120, 170};
constexpr Rgb kSpawnBox{60, 150, 80};
constexpr Rgb kFixedGun{255, 140, 60};
constexpr Rgb kSpinningGun{236, 96, 236};

class Canvas {
public:
    Canvas() {
        picture_.width = picture_.height = kCells * kCellPixels;
        picture_.rgb.resize(static_cast<size_t>(picture_.width) * picture_.height * 3);
        FillRect(0, 0, picture_.width, picture_.height, kBackground);
    }

    void Plot(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height) return;
        unsigned char* p = &picture_.rgb[(static_cast<size_t>(y) * picture_.width + x) * 3];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
    void FillRect(int x, int y, int w, int h, Rgb c) {
        for (int j = y; j < y + h; ++j) {
            for (int i = x; i < x + w; ++i) Plot(i, j, c);
        }
    }
    void FrameRect(int x, int y, int w, int h, Rgb c) {
        FillRect(x, y, w, 1, c);
        FillRect(x, y + h - 1, w, 1, c);
        FillRect(x, y, 1, h, c);
        FillRect(x + w - 1, y, 1, h, c);
    }
    void Line(float x0, float y0, float x1, float y1, Rgb c) {
        const int steps = static_cast<int>(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)))) + 1;
        for (int s = 0; s <= steps; ++s) {
            const float t = static_cast<float>(s) / steps;
            Plot(static_cast<int>(std::lround(x0 + (x1 - x0) * t)), static_cast<int>(std::lround(y0 + (y1 - y0) * t)),
                 c);
        }
    }
    void Ring(float cx, float cy, float radius, Rgb c) {
        for (int degrees = 0; degrees < 360; degrees += 6) {
            const SinCos turn = SinCosOfDegrees(static_cast<float>(degrees));
            Plot(static_cast<int>(std::lround(cx + radius * turn.sin)),
                 static_cast<int>(std::lround(cy - radius * turn.cos)), c);
        }
    }

    void FillCell(int column, int row, Rgb c) {
        FillRect(column * kCellPixels, row * kCellPixels, kCellPixels, kCellPixels, c);
    }
    // The cells nearer than `clearance` to (column, row) in both directions.
    void FrameBox(int column, int row, int clearance, Rgb c) {
        const int first = -(clearance - 1);
        FrameRect((column + first) * kCellPixels, (row + first) * kCellPixels, (2 * clearance - 1) * kCellPixels,
                  (2 * clearance - 1) * kCellPixels, c);
    }

    Picture Take() { return std::move(picture_); }

private:
    Picture picture_;
};

float CellCentre(int cell) { return (static_cast<float>(cell) + 0.5f) * kCellPixels; }

void DrawGrid(Canvas& canvas) {
    for (int cell = 0; cell < kCells; cell += kGridStep) {
        canvas.FillRect(cell * kCellPixels, 0, 1, kCells * kCellPixels, kGrid);
        canvas.FillRect(0, cell * kCellPixels, kCells * kCellPixels, 1, kGrid);
    }
    const int first = level_rule::kFirstPathCell * kCellPixels;
    const int size = (level_rule::kLastPathCell - level_rule::kFirstPathCell + 1) * kCellPixels;
    canvas.FrameRect(first, first, size, size, kPathBounds);
}

void DrawTurret(Canvas& canvas, const Turret& t) {
    const Rgb colour = t.kind == 1 ? kSpinningGun : kFixedGun;
    const float x = CellCentre(t.column);
    const float y = CellCentre(t.row);
    const SinCos turn = SinCosOfDegrees(t.angle);
    const float reach = kAimCells * kCellPixels;
    canvas.Line(x, y, x + reach * turn.sin, y - reach * turn.cos, colour);
    if (t.kind == 1) canvas.Ring(x, y, kSpinRingCells * kCellPixels, colour);
    canvas.FillRect(t.column * kCellPixels - 1, t.row * kCellPixels - 1, kCellPixels + 2, kCellPixels + 2, colour);
}

}  // namespace

Picture DrawLevel(const c_MyApp& app) {
    Canvas canvas;
    DrawGrid(canvas);
    const int startColumn = TruncToInt(app.m_party[TableIndex(party_table::kFirstWalker, walker_record::column)]);
    const int startRow = TruncToInt(app.m_party[TableIndex(party_table::kFirstWalker, walker_record::row)]);
    canvas.FrameBox(map_cell::kShipColumn, map_cell::kShipRow, level_rule::kShipClearance, kShipBox);
    canvas.FrameBox(startColumn, startRow, level_rule::kSpawnClearance, kSpawnBox);

    for (const PathCell& cell : PathCells(app)) canvas.FillCell(cell.column, cell.row, kPath);
    for (int p = party_table::kFirstWalker; p <= party_table::kLastWalker; ++p) {
        canvas.FillCell(TruncToInt(app.m_party[TableIndex(p, walker_record::column)]),
                        TruncToInt(app.m_party[TableIndex(p, walker_record::row)]), kWalker);
    }
    canvas.FillRect(map_cell::kShipColumn * kCellPixels - 2, map_cell::kShipRow * kCellPixels - 2, kCellPixels + 4,
                    kCellPixels + 4, kShip);
    for (const Turret& t : Turrets(app)) DrawTurret(canvas, t);
    return canvas.Take();
}
