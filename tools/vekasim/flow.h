// The counter's flow calibration: two fitted curves give the tow speed
// [m/s] that belongs to a transit count (time counts per millimetre of
// flow through the tunnel). The simulator needs the inverse: the transit
// count that a given speed produces.
#pragma once

namespace vekasim {

struct SpeedCurve {
  double scale, k_quarter, k_half, k_linear, k_three_halves;
};

// Curve 1 holds for transit counts 13..210, curve 2 for 3..12.
extern const SpeedCurve speed_curve_slow;
extern const SpeedCurve speed_curve_fast;

// speed [m/s] of transit count t
double curve_speed(const SpeedCurve& curve, double t);

// Transit counts the curves cover, and the slowest flow that still turns
// the flow meter: curve 1 has its minimum near t = 181, so slower flows
// have no unique transit count and are recorded as no flow.
constexpr double kFewestCounts = 3.0;
constexpr double kMostCounts = 181.0;
double slowest_measured_speed();  // [m/s]

// Transit count of a tunnel flow of speed [m/s], within 3..181. The speed
// must not be below slowest_measured_speed().
double transit_count_for_speed(double speed);

}  // namespace vekasim
