// CTD means of the time intervals, for the exports only. The time mode's
// reader reads no CTD line, so its reports carry no CTD column; the exports
// read the recording once more, in one pass of their own, and give the tow's
// intervals their depth, temperature, conductivity, salinity and analog
// channels. The pass keeps the reader's timing: the analysed range starts
// at the first L5 line whose time count is count_first and ends at the one
// whose count is count_last (or at an empty line), and every line belongs
// to the interval of the last L5 line's count. CTD lines are read with the
// reader's tokenizer and checked by its rules: an incomplete line, or one
// beyond the instrument's plausibility limits, is left out of the means (the
// reader would repair it with the previous values, salinity 0); a depth
// spike keeps the previous depth, as the reader's filter does. Nothing is
// printed, nothing waits, and nothing in the store changes.
//
// Reads   the data file again (data_file_name), count_first, count_last,
//         dfct, ctd_field_count, ctd_field_position, ctd_maker_text,
//         ctd_scan_rate [1/s], scan_interval [s]
// Writes  nothing.
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
