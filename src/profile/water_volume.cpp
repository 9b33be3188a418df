// Water volume: turns each step's flow sums into a transit count, a flow
// speed through the tunnel and the volume of water filtered, and scales the
// step's counts from the counted frames up to the time spent in the step.
//
// Reads   start_index, end_index, smode, ctd[k] columns kCtdScans,
//         kCtdFlowCount, kCtdFlowTime, flow_lines[k], sep_frames[k] (0.5 s
//         frames), exp_sp [m/s], set_flow, speed_curve[1..2],
//         ctd_scan_rate [1/s], tunnel_area [m2]
// Writes  range_lo, range_hi, ctd[k] columns kCtdFlowCount and kCtdFlowTime
//         of steps without flow lines, kCtdCountFactor, kCtdVolume [m3],
//         kCtdSpeed [m/s], kCtdTransitCount; total_volume [m3]; scales
//         bin_counts and mep_bin_counts of steps 1..range_hi in place.
#include "profile/water_volume.h"

#include <cmath>

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
    s.ctd[k][kCtdFlowCount] = 99999.0;
    s.ctd[k][kCtdFlowTime] = 0.001;
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
    speed = s.speed_curve[1].speed_at_root(x);
    t = x * x;
  }
  if (t >= kShortestTransit && t < kCurveMeeting) {
    speed = s.speed_curve[2].speed_at_root(std::sqrt(t));
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
  row[kCtdTransitCount] = row[kCtdFlowTime] / row[kCtdFlowCount];
  if (row[kCtdTransitCount] > kLongestTransit) row[kCtdTransitCount] = kLongestTransit;
  row[kCtdSpeed] = flow_speed(row[kCtdTransitCount]);
  if (s.smode == 0) {
    // Time bins carry no volume: every interval counts as one unit.
    row[kCtdVolume] = 1.0;
    s.total_volume = 1.0;
    row[kCtdCountFactor] = 1.0;
    return;
  }
  row[kCtdVolume] = (row[kCtdScans] / s.ctd_scan_rate) * row[kCtdSpeed] * s.tunnel_area;
  s.total_volume = s.total_volume + row[kCtdVolume];
  row[kCtdCountFactor] = count_factor(row[kCtdScans], s.sep_frames[k]);
}

// From step 1: the steps above the profile carry factor 0 and lose
// whatever the reader put there.
void scale_counts() {
  Store& s = store;
  for (int32_t k = 1; k <= last_profile_step(); ++k) {
    double factor = s.ctd[k][kCtdCountFactor];
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
