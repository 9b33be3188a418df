// State of the binning and the report writers.
#pragma once

#include <cstdint>

namespace veka {

struct ReportState {
  double report_profile[501][23];  // [step][1..22] report rows, means per sample
  double count_bins_5[102][401];   // [1..100 bins, 101 totals][1..400 classes]
  double count_bins_10[52][401];
  double count_bins_25[22][401];
  double biomass_bins_25[22][401];
  double bin_fill_5[101];
  double bin_fill_10[51];
  double bin_fill_25[21];
  double biomass_bin_fill_25[21];
  int32_t bin_per_volume;
  int32_t first_index;
  int32_t smoothing_passes;
  double sum_chl;
  int32_t range_high_25;
  double grid_time_base;
  double grid_time_offset;
  double grid_time_rate;
};

}  // namespace veka
