// Configure and bin: the last computing stage of a data file.
//
// Reads   smode, start_index, end_index, ctd[k][kCtdScans..kCtdTransitCount]
//         (samples, sums per step up to kCtdAnalog5, kCtdVolume [m3]),
//         bin_counts[k][1..400], bin_biomass[k][1..400] [mg]
// Writes  count_bins_5/10/25 and biomass_bins_25 (per m3 means over the
//         steps with water in the depth modes, plain sums in the time mode;
//         the last row sums the concentrations of every step with water),
//         bin_per_volume, range_lo, range_hi, first_index, smoothing_passes,
//         report_profile[k][kCtdScans..kCtdTransitCount] (means per sample,
//         kCtdRate and kCtdSpeed smoothed), sum_chl; ctd[k][kCtdScans] of a
//         step without samples becomes 0.5.
#include "report/binning.h"

#include <algorithm>

#include "common/console.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kBinnedClasses = 400;

// One binning of a step-by-class table into bins of `width` steps.
struct BinPass {
  const ZeroTable<double, 501, 1101>& source;
  double (*target)[kBinnedClasses + 1];
  double* fill;  // steps with water in the bin, rebuilt for every class
  int width;
  int bins;  // the row after the last bin holds the totals
};

// Steps of the profile that lie inside the arrays; the others read as zero
// and take no writes.
int first_stored_step() {
  return std::max(store.range_lo, 1);
}
int last_stored_step() {
  return std::min(store.range_hi, kSteps);
}

// The steps that can add to bin k. In the depth modes only a step with
// water adds, and only the profile's steps have water, so a bin takes its
// additions from those steps alone, in the same order; the time mode adds
// every step.
struct BinSteps {
  int first;
  int last;
};

BinSteps bin_steps(const BinPass& pass, int k) {
  BinSteps steps{(k - 1) * pass.width + 1, k * pass.width};
  if (store.bin_per_volume == 1) {
    steps.first = std::max(steps.first, first_stored_step());
    steps.last = std::min(steps.last, last_stored_step());
  }
  return steps;
}

// The bin, its total and its fill are summed in locals, in the same order,
// and stored once.
void bin_class(const BinPass& pass, const BinSteps& steps, int k, int d) {
  const Store& s = store;
  double bin = pass.target[k][d];
  double total = pass.target[pass.bins + 1][d];
  double fill = pass.fill[k];
  for (int step = steps.first; step <= steps.last; ++step) {
    double value = pass.source[step][d];
    if (s.bin_per_volume == 0) bin += value;
    if (s.ctd[step][kCtdVolume] > 0 && s.bin_per_volume == 1) {
      bin += value / s.ctd[step][kCtdVolume];
      fill += 1;
      total += value / s.ctd[step][kCtdVolume];
    }
  }
  if (s.bin_per_volume == 1 && fill > 0) {
    bin = bin / fill;
    fill = 0;
  }
  pass.target[k][d] = bin;
  pass.target[pass.bins + 1][d] = total;
  pass.fill[k] = fill;
}

// A bin without steps that can add to it stays empty.
void bin_all_classes(const BinPass& pass, int k) {
  const BinSteps steps = bin_steps(pass, k);
  if (steps.first > steps.last) return;
  for (int d = 1; d <= kBinnedClasses; ++d) bin_class(pass, steps, k, d);
}

void bin_profile() {
  Store& s = store;
  BinPass counts_5{s.bin_counts, s.count_bins_5, s.bin_fill_5, 5, 100};
  BinPass counts_10{s.bin_counts, s.count_bins_10, s.bin_fill_10, 10, 50};
  BinPass counts_25{s.bin_counts, s.count_bins_25, s.bin_fill_25, 25, 20};
  BinPass biomass_25{s.bin_biomass, s.biomass_bins_25, s.biomass_bin_fill_25, 25, 20};
  for (int k = 1; k <= counts_5.bins; ++k) bin_all_classes(counts_5, k);
  for (int k = 1; k <= counts_10.bins; ++k) bin_all_classes(counts_10, k);
  for (int k = 1; k <= counts_25.bins; ++k) {
    bin_all_classes(counts_25, k);
    bin_all_classes(biomass_25, k);
  }
}

void build_report_rows() {
  Store& s = store;
  for (int i = first_stored_step(); i <= last_stored_step(); ++i) {
    if (s.ctd[i][kCtdScans] == 0) s.ctd[i][kCtdScans] = 0.5;  // keeps the means finite
    s.report_profile[i][kCtdScans] = s.ctd[i][kCtdScans];
    for (int j = kCtdTemperature; j <= kCtdAnalog5; ++j) {
      s.report_profile[i][j] = s.ctd[i][j] / s.ctd[i][kCtdScans];
    }
    for (int j = kCtdAnalog5 + 1; j <= kCtdTransitCount; ++j) s.report_profile[i][j] = s.ctd[i][j];
  }
}

double row_value(int i, int column) {
  return is_step(i) ? store.report_profile[i][column] : 0.0;
}

void set_row_value(int i, int column, double value) {
  if (is_step(i)) store.report_profile[i][column] = value;
}

// A forward and a backward running mean of neighbours. A one-step profile
// keeps its value: its end copies would only read the rows beside it.
void smooth_column(int column) {
  int lo = store.range_lo;
  int hi = store.range_hi;
  if (lo == hi) return;
  // Passes outside rows 1..500 would change nothing; they are left out.
  for (int i = std::max(lo, 1); i <= std::min(hi - 1, kSteps); ++i) {
    set_row_value(i, column, (row_value(i, column) + row_value(i + 1, column)) / 2);
  }
  set_row_value(hi, column, row_value(hi - 1, column));
  for (int i = std::min(hi, kSteps); i >= std::max(lo + 1, 1); --i) {
    set_row_value(i, column, (row_value(i, column) + row_value(i - 1, column)) / 2);
  }
  set_row_value(lo, column, row_value(lo + 1, column));
}

void smooth_report_rows() {
  Store& s = store;
  s.first_index = s.range_lo;
  s.smoothing_passes = 1;
  for (int pass = 1; pass <= s.smoothing_passes; ++pass) {
    smooth_column(5);
    smooth_column(19);
  }
}

void sum_chlorophyll() {
  for (int i = first_stored_step(); i <= last_stored_step(); ++i) {
    store.sum_chl += store.report_profile[i][kCtdAnalog1];
  }
}

}  // namespace

void configure_and_bin() {
  Store& s = store;
  console::line("Started Configure & binning data");
  s.bin_per_volume = s.smode == 0 ? 0 : 1;
  s.range_lo = std::min(s.start_index, s.end_index);
  s.range_hi = std::max(s.start_index, s.end_index);
  s.first_index = s.range_lo;
  bin_profile();
  console::line("Finished binning 25 m intervals");
  build_report_rows();
  smooth_report_rows();
  sum_chlorophyll();
  console::line("Finished configuring output data");
}

}  // namespace veka
