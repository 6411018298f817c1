#include "math/math_scalar.h"

#include <cmath>
#include <limits>

namespace {

// Brings a into [-pi, pi] with the engine's pi: subtract whole turns (the count of turns is
// truncated toward zero), then one more turn if still outside. Values already in [-pi, pi] are
// left alone, so TaylorSin(3.14159) is the polynomial at 3.14159 itself.
//
// The whole turns are removed with an exact remainder in double precision rather than through an
// integer turn count: for ordinary angles (checked float by float up to +-200000) that is the same
// float as subtracting the truncated count of turns, and huge, infinite or NaN angles stay defined
// (NaN for the non-finite ones, a value in [-pi, pi] otherwise) instead of overflowing an int.
float ReduceAngle(float a) {
    if (a > kPi) {
        a = static_cast<float>(std::fmod(static_cast<double>(a), static_cast<double>(kTwoPi)));
        if (a > kPi) a = a - kTwoPi;
    } else if (a < -kPi) {
        a = static_cast<float>(std::fmod(static_cast<double>(a), static_cast<double>(kTwoPi)));
        if (a < -kPi) a = a + kTwoPi;
    }
    return a;
}

}  // namespace

// Each power is rounded to float; the products with the coefficients and the sum are carried in
// double and rounded once at the end. A pure single-precision evaluation (or an x87 evaluation in
// extended precision) may differ from this in the last bit or two.
float TaylorSin(float a) {
    a = ReduceAngle(a);
    const float a2 = a * a;
    const float a3 = a2 * a;
    const float a5 = a3 * a2;
    const float a7 = a5 * a2;
    const float a9 = a7 * a2;
    const double r = static_cast<double>(a) - static_cast<double>(a3) * 0.16666667f +
                     static_cast<double>(a5) * 0.008333334f -
                     static_cast<double>(a7) * 0.0001984127f +
                     static_cast<double>(a9) * 2.7557319e-6f;
    return static_cast<float>(r);
}

float TaylorCos(float a) {
    a = std::fabs(a);
    // Same reduction as the sine, applied to the absolute value (always the positive branch).
    a = ReduceAngle(a);
    const float a2 = a * a;
    const float a4 = a2 * a2;
    const float a6 = a4 * a2;
    const float a8 = a6 * a2;
    const double r = 1.0 - static_cast<double>(a2) * 0.5f + static_cast<double>(a4) * 0.041666668f -
                     static_cast<double>(a6) * 0.0013888889f +
                     static_cast<double>(a8) * 2.4801588e-5f;
    return static_cast<float>(r);
}

float Sqrt(float x) {
    return static_cast<float>(std::sqrt(static_cast<double>(x)));
}

int32_t TruncToInt(float v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483520.0f) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}
