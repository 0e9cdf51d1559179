// The layouts and capacities of the game's tables. Every table is an array
// of c_MyApp allocated once at its final length; game things are fixed-size
// records of floats inside them.
#pragma once

// The "no value" marker: an omitted drawing argument, the position of a
// finger that is up, an angle or speed not given to a particle; also the kind
// of rectangle records in the display list (-3716 for ovals).
constexpr float kNoValue = -3717.0f;
constexpr float kOvalRecord = -3716.0f;

// The display list: records of 15 floats (8, 9 and 14 are not used).
namespace draw_record {
constexpr int kListFloats = 37500;
constexpr int kFloats = 15;
constexpr int kind = 0;  // image id, kNoValue (rectangle) or kOvalRecord
constexpr int x = 1;
constexpr int y = 2;
constexpr int rotation = 3;
constexpr int sizeX = 4;  // scale, width or radius
constexpr int sizeY = 5;
constexpr int frame = 6;
constexpr int alpha = 7;
constexpr int red = 10;
constexpr int green = 11;
constexpr int blue = 12;
constexpr int blend = 13;
}  // namespace draw_record

// The map, party, star, bullet and particle tables hold records of 10 floats:
// field k of record r is at 10r + k, and a free record has 0 in field 0.
constexpr int kTableRecordFloats = 10;
constexpr int TableIndex(int record, int field) { return record * kTableRecordFloats + field; }

// The level grid: 256 x 256 cells of 16 x 16 world pixels.
namespace map_cell {
constexpr int kColumns = 256;
constexpr int kRows = 256;
constexpr int kTableFloats = kColumns * kRows * kTableRecordFloats;
constexpr int kPixels = 16;
// The play's grid pass scans columns 0 to 200 (outer) and rows 0 to 200.
constexpr int kLastScanned = 200;
// The ship stands on this cell; the path starts next to it.
constexpr int kShipColumn = 100;
constexpr int kShipRow = 100;
// Attributes.
constexpr int code = 0;
constexpr int gunAngle = 1;    // degrees, 0 up, 90 right
constexpr int spin = 2;        // degrees per frame
constexpr int fireTimer = 3;   // a shot is due above 100
constexpr int fireRate = 4;    // added to the timer per frame
constexpr int burstPhase = 5;  // degrees
constexpr int burstSpeed = 6;  // degrees per frame
constexpr int Index(int column, int row, int attribute) {
    return TableIndex(row * kColumns + column, attribute);
}
}  // namespace map_cell

// Cell codes. A path cell carries the direction it was carved in, which is
// also a walking code (walkers walk against it, back to the ship).
namespace cell_code {
constexpr int kEmpty = 0;
constexpr int kRight = 1;  // column + 1
constexpr int kDown = 2;   // row + 1
constexpr int kLeft = 3;   // column - 1
constexpr int kUp = 4;     // row - 1
constexpr int kTurret = 11;
constexpr bool IsPath(float code) { return code > 0 && code < 5; }
constexpr bool IsTurret(float code) { return code > 9; }
// The step a path code stands for.
constexpr int ColumnStep(int code) { return code == kRight ? 1 : (code == kLeft ? -1 : 0); }
constexpr int RowStep(int code) { return code == kDown ? 1 : (code == kUp ? -1 : 0); }
}  // namespace cell_code

// The party table: record 0 is the camera focus, records 1 to 5 the walkers,
// and four level-wide values sit at fixed indices near the end.
namespace party_table {
constexpr int kTableFloats = 512;
constexpr int kClearedFloats = 500;  // a new game clears the records, not the spare floats
constexpr int kFocusRecord = 0;
constexpr int focusX = 1;  // world pixels
constexpr int focusY = 2;
constexpr int kFirstWalker = 1;
constexpr int kLastWalker = 5;
constexpr int kWalkers = 5;
constexpr int kTheme = 495;      // 1 to 8
constexpr int kLiftOff = 497;    // frames since everyone boarded, 0 while walking
constexpr int kCountdown = 498;  // start countdown in frames
constexpr int kLevel = 499;
constexpr int kThemes = 8;
constexpr int kStartCountdown = 120;  // frames from a level's build to the first step
}  // namespace party_table

// A walker record (party records 1 to 5).
namespace walker_record {
constexpr int status = 0;   // 0 lost, above 0 alive
constexpr int column = 1;
constexpr int row = 2;
constexpr int offsetX = 3;  // sub-cell offset, -0.95 to 0.95 cells
constexpr int offsetY = 4;
constexpr int walkCode = 5;  // a path cell code
constexpr int body = 6;      // 0 to 23
constexpr int phase = 7;     // walk cycle, degrees
constexpr int colour = 8;    // 0 to 7
constexpr int pose = 9;
// Poses.
constexpr int kWalking = 0;
constexpr int kBoarded = 1;
constexpr int kLyingLeft = -1;   // turned -90 degrees
constexpr int kLyingRight = -2;  // turned +90 degrees
}  // namespace walker_record

// Stars: records 0 to m_starCount inclusive are in use.
namespace star_record {
constexpr int kTableFloats = 5100;
constexpr int kRecords = kTableFloats / kTableRecordFloats;
constexpr int kDefaultCount = 100;
constexpr int kMaxCount = 499;
constexpr int frame = 0;  // of the particle sheet
constexpr int x = 1;      // screen pixels
constexpr int y = 2;
constexpr int depth = 3;  // scroll factor and alpha
constexpr int turn = 5;   // degrees
constexpr int turnSpeed = 6;
}  // namespace star_record

// Bullets: records 0 to 1000.
namespace bullet_record {
constexpr int kTableFloats = 11000;
constexpr int kRecords = 1001;
constexpr int code = 0;  // 1 flying, 0 free
constexpr int x = 1;     // world pixels
constexpr int y = 2;
constexpr int angle = 3;  // degrees, a whole number
constexpr int life = 7;
}  // namespace bullet_record

// Particles: records 0 to m_particleCount inclusive are in use.
namespace particle_record {
constexpr int kTableFloats = 5100;
constexpr int kRecords = kTableFloats / kTableRecordFloats;
constexpr int kDefaultCount = 250;
constexpr int kMaxCount = 499;
constexpr int kind = 0;  // 0 free; 2 also slows and falls
constexpr int x = 1;     // world pixels
constexpr int y = 2;
constexpr int vx = 3;  // pixels per frame
constexpr int vy = 4;
constexpr int rotation = 5;
constexpr int spin = 6;
constexpr int life = 7;  // also the alpha, capped at 1
constexpr int colour = 8;  // palette index
constexpr int frame = 9;   // of the particle sheet
// Kinds.
constexpr int kSmoke = 2;
constexpr int kLastKind = 9;
}  // namespace particle_record

// Score tables (m_scores): per difficulty d, base b = 10 (d - 1), the ten
// best at b .. b + 9 (best first) and the ten last at 30 + b .. (newest first).
namespace score_table {
constexpr int kEntries = 150;
constexpr int kRanks = 10;
constexpr int kLastScores = 30;
constexpr int Best(int difficulty, int rank) { return kRanks * (difficulty - 1) + rank; }
constexpr int Last(int difficulty, int rank) { return kLastScores + Best(difficulty, rank); }
}  // namespace score_table

// The smaller arrays.
constexpr int kFingers = 10;
constexpr int kAudioChannels = 33;  // 0..31 effects, 32 music
constexpr int kBadges = 15;         // notification state per badge
constexpr int kBadgeFlags = 256;
