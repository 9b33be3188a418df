// CTD means of the time intervals, from a pass of the exports over the recording.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "store/ctd_fields.h"

namespace veka {

struct IntervalCtd {
  double scans = 0.0;                // CTD lines used
  double sums[kCtdFields + 1] = {};  // [field code] sums of the values: depth [m],
                                     // temperature [degC], conductivity [mS/cm], ...
};

struct TimeModeCtd {
  std::vector<IntervalCtd> intervals;  // [step 0..500]
  // The time count of the recording's first L5 line: counts are half
  // seconds, so (count_first - it) / 2 is the start of the analysed range
  // in seconds after the recording's first frame.
  std::optional<int32_t> first_time_count;

  // The mean of a field over the interval; empty without a CTD line.
  std::optional<double> mean(int step, int field) const;
  // True when a CTD line of the analysed range was used.
  bool any() const;
};

TimeModeCtd read_time_mode_ctd();

}  // namespace veka
