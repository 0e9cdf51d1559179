// The math module: absolute values, maxima, the angle conversions and the
// trigonometry behind every turn, and the one float-to-int conversion.
#pragma once

#include <cmath>
#include <limits>

// Degrees per radian and radians per degree.
constexpr float R2D = 57.29578f;
constexpr float D2R = 0.017453292f;

// Two's complement: the most negative int maps to itself.
inline int kz_math_Abs(int x) { return x < 0 ? static_cast<int>(0u - static_cast<unsigned>(x)) : x; }
// -0.0 and NaN pass through unchanged.
inline float kz_math_Abs2(float x) { return x < 0 ? -x : x; }
// The first on a tie.
inline int kz_math_Max(int x, int y) { return x >= y ? x : y; }
// The second on a tie or a NaN.
inline float kz_math_Max2(float x, float y) { return x > y ? x : y; }

// Float to int, truncated toward zero as every conversion of translated code
// is; NaN gives 0 and values beyond the int range saturate, so that a zero
// scale or an edited setting cannot make the conversion undefined.
inline int TruncToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// Sine and cosine computed in double precision and stored as float. Every
// turn in the program (the transform stack, text, ovals, the loading spinner,
// audio pan) goes through here, so one angle gives the same bits everywhere;
// the float overloads differ from these in the last bit at some angles.
struct SinCos {
    float sin;
    float cos;
};

inline SinCos SinCosOfRadians(float radians) {
    const double r = radians;
    return {static_cast<float>(std::sin(r)), static_cast<float>(std::cos(r))};
}

// The angle turns into radians in single precision first (degrees x D2R).
inline SinCos SinCosOfDegrees(float degrees) { return SinCosOfRadians(degrees * D2R); }
