// The bounds level generation keeps to, for those who draw or check levels.
#pragma once

namespace level_rule {
// Corridors stay within these columns and rows.
constexpr int kFirstPathCell = 5;
constexpr int kLastPathCell = 190;
// No turret is nearer than these to the ship or to the party's start in both
// directions at once.
constexpr int kShipClearance = 10;
constexpr int kSpawnClearance = 16;
}  // namespace level_rule
