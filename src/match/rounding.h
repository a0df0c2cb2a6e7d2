// Rounding to the nearest integer with a half going to the even neighbour, whatever the FPU mode.
#pragma once

#include <cmath>

namespace velkaran {

// Value rounded to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
// Infinities and NaN come back unchanged.
inline double RoundHalfToEven(double Value) {
    if (!std::isfinite(Value)) return Value;
    const double Floor = std::floor(Value);
    const double Fraction = Value - Floor;  // exact for every finite double
    double Result = Floor;
    if (Fraction > 0.5 || (Fraction == 0.5 && std::fmod(Floor, 2.0) != 0.0)) Result = Floor + 1.0;
    return Result == 0.0 ? 0.0 : Result;  // no negative zero
}

// Value rounded to a multiple of Factor (0.001 for three decimal places): the quotient
// Value / Factor rounded half to even, times Factor.
inline double RoundToFactor(double Value, double Factor) {
    const double Result = RoundHalfToEven(Value / Factor) * Factor;
    return Result == 0.0 ? 0.0 : Result;
}

}  // namespace velkaran
