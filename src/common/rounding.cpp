#include "common/rounding.h"

#include <cmath>
#include <limits>

namespace veka {

// A whole number has no sign of its own at zero: round(-0.4) is 0 and
// prints as "0.0", not "-0.0".
double round_even(double x) {
  const double whole = std::nearbyint(x);
  return whole == 0.0 ? 0.0 : whole;
}

static int32_t saturate(double whole) {
  constexpr double lowest = std::numeric_limits<int32_t>::min();
  constexpr double highest = std::numeric_limits<int32_t>::max();
  if (!(whole >= lowest)) return std::numeric_limits<int32_t>::min();
  if (whole > highest) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(whole);
}

int32_t round_to_int(double x) {
  return saturate(std::nearbyint(x));
}

int32_t trunc_to_int(double x) {
  return saturate(std::trunc(x));
}

double round_to_fraction(double x, double scale) {
  return round_even(x * scale) / scale;
}

}  // namespace veka
