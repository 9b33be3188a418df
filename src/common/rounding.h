// Conversions of reals to whole numbers. Step and class numbers depend on
// them, so both are exact: Round sends halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2) and Int drops the fraction.
#pragma once

#include <cstdint>

namespace veka {

// Round to the nearest whole number, halves to even, kept as a double; a
// zero result is +0.0, also for x in (-0.5, 0).
double round_even(double x);

// Round as above and convert to a 32-bit integer. A value beyond the 32-bit
// range saturates at its end, so a wild value from a damaged line lands on a
// step that every stage treats as "outside the profile" instead of trapping.
int32_t round_to_int(double x);

// Drop the fraction and convert to a 32-bit integer, saturating like
// round_to_int.
int32_t trunc_to_int(double x);

// Round to a multiple of 1/scale (for example 0.1 m with scale 10) as
// round(x * scale) / scale, halves to even; a zero result is +0.0.
double round_to_fraction(double x, double scale);

}  // namespace veka
