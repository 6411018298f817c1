#pragma once
#include <cstdint>

// The engine's scalar helpers. Sine and cosine are fixed polynomials after a cheap range
// reduction with the engine's own pi, not the standard library's functions: animation, walking
// and camera code expect exactly these values.

// The engine's pi and two pi (single precision, deliberately not the exact values).
inline constexpr float kPi = 3.14159f;
inline constexpr float kTwoPi = 6.28318f;

// Degree-to-radian factor: 3.14159 / 180 rounded to float (0.017453277, printed 0.0174533),
// not the exact pi / 180. Game data in degrees is converted with this value.
inline constexpr float kDegToRad = static_cast<float>(3.14159 / 180.0);

// Sine of a (radians): range reduction to [-pi, pi], then a ninth-order Taylor polynomial.
float TaylorSin(float a);
// Cosine of a (radians): range reduction of |a| to [-pi, pi], then an eighth-order polynomial.
float TaylorCos(float a);
// Truncates toward zero like a C cast, saturating at the int range (NaN gives 0), so that no
// value, however far off, is undefined to convert.
int32_t TruncToInt(float v);
// Square root computed in double precision, returned as a float.
float Sqrt(float x);
