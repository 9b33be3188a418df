#include "common/rounding.h"

#include <cmath>
#include <limits>

namespace veka {

double round_even(double x) {
  return std::nearbyint(x);
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
  return std::nearbyint(x * scale) / scale;
}

}  // namespace veka
