// Run parameters: the command line into the store for every data file; the console header.
#pragma once

#include <cstdint>

namespace veka {

struct TimeBinFactor {
  double dfct;   // bins per time count, 1 / (2 m)
  double dfctx;  // m, time counts per half bin
};

// Bins of 2 m time counts so that count_first..count_last fits into about
// 500 bins.
TimeBinFactor time_bin_factor(int32_t count_first, int32_t count_last);

void read_run_parameters();

}  // namespace veka
