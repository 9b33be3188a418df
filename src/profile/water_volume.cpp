// Water volume: turns each step's flow sums into a transit count, a flow
// speed through the tunnel and the volume of water filtered, and scales the
// step's counts from the counted frames up to the time spent in the step.
//
// Reads   start_index, end_index, smode, ctd[k][1] (scans), ctd[k][14..15]
//         (flow sums), flow_lines[k], sep_frames[k] (0.5 s frames),
//         exp_sp [m/s], set_flow, speed_curve[1..2], ctd_scan_rate [1/s],
//         tunnel_area [m2]
// Writes  range_lo, range_hi, ctd[k][14..15] of steps without flow lines,
//         ctd[k][17] (count factor), ctd[k][18] (volume [m3]),
//         ctd[k][19] (speed [m/s]), ctd[k][20] (transit count),
//         total_volume [m3]; scales bin_counts and mep_bin_counts of steps
//         1..range_hi in place.
#include "profile/water_volume.h"

#include <cmath>

#include "driver/file_defaults.h"
#include "profile/profile_range.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kLongestTransit = 210.0;
constexpr double kShortestTransit = 3.0;
constexpr double kCurveMeeting = 13.0;
constexpr double kFrameSeconds = 0.5;

// A step without flow lines gets a transit count far below the shortest one
// the curves know, so it runs at the speed of the shortest.
void default_flow_data() {
  Store& s = store;
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    if (s.flow_lines[k] != 0) continue;
    s.ctd[k][14] = 99999.0;
    s.ctd[k][15] = 0.001;
  }
}

// The long-transit curve first; a count that comes back from its square
// root below 13 (13 itself among them) is then taken by the short-transit
// curve.
double flow_speed(double transit) {
  const Store& s = store;
  double t = transit;
  if (!(t >= kShortestTransit)) t = kShortestTransit;
  if (t > kLongestTransit) t = kLongestTransit;
  double speed = s.exp_sp;
  if (s.set_flow == 0) return speed;
  if (t >= kCurveMeeting && t <= kLongestTransit) {
    double x = std::sqrt(t);
    speed = curve_speed_at_root(s.speed_curve[1], x);
    t = x * x;
  }
  if (t >= kShortestTransit && t < kCurveMeeting) {
    speed = curve_speed_at_root(s.speed_curve[2], std::sqrt(t));
  }
  return speed;
}

// Time spent in the step over the time its counted frames cover. A step
// that saw scans but no counted frame has no honest factor; its counts are
// dropped rather than inflated.
double count_factor(double scans, double frames) {
  if (frames == 0) return 0.0;
  return (scans / store.ctd_scan_rate) / (frames * kFrameSeconds);
}

void derive_step(int32_t k) {
  Store& s = store;
  double* row = s.ctd[k];
  row[20] = row[15] / row[14];
  if (row[20] > kLongestTransit) row[20] = kLongestTransit;
  row[19] = flow_speed(row[20]);
  if (s.smode == 0) {
    // Time bins carry no volume: every interval counts as one unit.
    row[18] = 1.0;
    s.total_volume = 1.0;
    row[17] = 1.0;
    return;
  }
  row[18] = (row[1] / s.ctd_scan_rate) * row[19] * s.tunnel_area;
  s.total_volume = s.total_volume + row[18];
  row[17] = count_factor(row[1], s.sep_frames[k]);
}

// From step 1: the steps above the profile carry factor 0 and lose
// whatever the reader put there.
void scale_counts() {
  Store& s = store;
  for (int32_t k = 1; k <= last_profile_step(); ++k) {
    double factor = s.ctd[k][17];
    double* counts = s.bin_counts[k];
    double* mep_counts = s.mep_bin_counts[k];
    for (int b = 1; b <= kClasses; ++b) {
      counts[b] = counts[b] * factor;
      mep_counts[b] = mep_counts[b] * factor;
    }
  }
}

}  // namespace

void compute_water_volume() {
  set_profile_range();
  default_flow_data();
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) derive_step(k);
  scale_counts();
}

}  // namespace veka
