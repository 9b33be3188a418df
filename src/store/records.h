// Record types shared by several stages.
#pragma once

#include <cmath>
#include <cstdint>

namespace veka {

// One element record of a multi-element particle, as the reader stores it.
struct MepElement {
  int32_t element;   // number of the counter element
  int32_t time;      // 16-bit time stamp; unwrapped in place by the sort
  int32_t duration;  // time counts the element was shadowed
  int32_t size;      // digital size; +32768 on a particle's first element
  int32_t step;      // profile step current when the record was read
};

// An element record grouped by particle.
struct SortedMepElement {
  int32_t element;  // -1 once the particle is rejected
  int32_t time;
  int32_t duration;
  int32_t size;  // start flag removed
  int32_t step;
  int32_t particle;       // 1-based particle number, 0 before the first flag
  int32_t element_count;  // records of the particle
};

// Flow speed through the tunnel [m/s] as a function of the transit count t:
// scale * exp(-(k_quarter t^1/4 + k_half t^1/2 + k_linear t + k_three_halves t^3/2)).
struct SpeedCurve {
  double scale;
  double k_quarter;
  double k_half;
  double k_linear;
  double k_three_halves;

  // Speed [m/s] at the transit count whose square root is `root`, evaluated
  // left to right as written: k_linear * x * x is (k_linear * x) * x.
  double speed_at_root(double root) const {
    return scale * std::exp(-(k_quarter * std::sqrt(root) + k_half * root + k_linear * root * root +
                              k_three_halves * root * root * root));
  }
};

}  // namespace veka
