#include "vekasim/flow.h"

#include <cmath>

namespace vekasim {

const SpeedCurve speed_curve_slow = {0.198996019, -2.603059062, 0.892897609, 0.006191239, -0.0013};
const SpeedCurve speed_curve_fast = {30.113624222688, -1.4243159638326, 1.4125878289,
                                     0.252430015529, -0.05};

// Where the two curves hand over.
constexpr double kCurveJoin = 13.0;

double curve_speed(const SpeedCurve& curve, double t) {
  const double root = std::sqrt(t);
  return curve.scale * std::exp(-(curve.k_quarter * std::sqrt(root) + curve.k_half * root +
                                  curve.k_linear * t + curve.k_three_halves * t * root));
}

double slowest_measured_speed() {
  return curve_speed(speed_curve_slow, kMostCounts);
}

// Both curves fall monotonically over their ranges, so halving the
// interval converges on the one transit count of the speed.
static double invert(const SpeedCurve& curve, double speed, double low, double high) {
  for (int i = 0; i < 60; ++i) {
    const double middle = 0.5 * (low + high);
    if (curve_speed(curve, middle) > speed) {
      low = middle;
    } else {
      high = middle;
    }
  }
  return 0.5 * (low + high);
}

double transit_count_for_speed(double speed) {
  if (speed >= curve_speed(speed_curve_fast, kFewestCounts)) return kFewestCounts;
  if (speed >= curve_speed(speed_curve_slow, kCurveJoin)) {
    return invert(speed_curve_fast, speed, kFewestCounts, kCurveJoin);
  }
  return invert(speed_curve_slow, speed, kCurveJoin, kMostCounts);
}

}  // namespace vekasim
