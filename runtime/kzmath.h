// The math module: absolute values, maxima and the angle conversions used by
// every degree-based trigonometric call.
#pragma once

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
