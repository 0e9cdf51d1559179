// Trigonometry in degrees, as the game measures every angle: 0 points up
// (-y) and 90 right (+x), so a direction is (sin a, -cos a). The argument
// is converted with the single-precision factor and the C library computes
// in double.
#pragma once

#include <cmath>

#include "runtime/kzmath.h"

inline float SinDegrees(float degrees) { return static_cast<float>(std::sin(static_cast<double>(degrees * D2R))); }
inline float CosDegrees(float degrees) { return static_cast<float>(std::cos(static_cast<double>(degrees * D2R))); }
