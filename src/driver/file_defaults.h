// Per-file defaults: counts the sample records of the data file in a quick
// pre-scan and leaves the file open at its first line for the reader, gives
// every processing setting and accumulator its starting value, and derives
// the expected transit count exp_fl from the expected speed exp_sp through
// the two speed curves (with a warning when exp_sp lies beyond them).
//
// Reads   data_file_name, exp_sp [m/s], start_depth [m]
// Writes  data_file (open), recording_header (its opening "#" and "*"
//         lines), sample_record_count, speed_curve[1..2], exp_fl,
//         diameter_class_um[1..1100] [um], mep_cubic_a, mep_cubic_b, the MEP
//         and reader settings, prev_depth, elapsed_time, profile_number.
#pragma once

#include "store/records.h"

namespace veka {

// Speed [m/s] of curve `c` at the transit count whose square root is `root`.
double curve_speed_at_root(const SpeedCurve& c, double root);

void prepare_file_defaults();

// The settings and tables that are the same for every file (the MEP and
// reader settings, diameter classes, speed curves and cubics), without
// touching the data file or exp_fl.
void set_processing_constants();

}  // namespace veka
