// A store prepared as the stages before the reports leave it: the run
// parameters of the standard argument line (depth profile with detection,
// output into a scratch folder) and the diameter classes. Each test then
// sets the figures it prints.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/console.h"
#include "driver/run_parameters.h"
#include "store/store.h"
#include "support/support.h"

namespace veka {

class ReportFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    store.batch_started = 0;
    store.gridding_started = 0;
    arguments_ = support::standard_arguments("in/", "W", scratch_.path());
    prepare_file(7);
  }

  // The per-file reset and the run parameters for data file `number`.
  void prepare_file(int number) {
    support::start_file(arguments_, number);
    for (int i = 1; i <= kClasses; ++i) store.diameter_class_um[i] = 15.0 * i;
  }

  // Time bins over counts 100..2000 (2 counts per interval).
  void use_time_intervals() {
    arguments_[4] = "1", arguments_[5] = "100", arguments_[6] = "2000";
    prepare_file(store.file_number);
  }

  // Figures of a small profile over steps 3..12 with the reader's window
  // 1..25 (printed clipped to 3..12).
  static void set_totals() {
    Store& s = store;
    s.range_lo = 3, s.range_hi = 12;
    s.range_low = 1, s.range_high = 25;
    s.mep_count = 1234;
    s.total_counts = 1234.4, s.areal_counts = 5678.6, s.total_volume = 0.5;
    s.filtered_counts = 99, s.filtered_areal_counts = 1980;
    s.total_biomass = 12.3, s.areal_biomass = 2500;
    s.filtered_biomass = 6.2, s.filtered_areal_biomass = 1300;
    s.range_counts_sum = 150, s.range_areal_counts_sum = 300;
    s.range_biomass_sum = 15.5, s.range_areal_biomass_sum = 31000;
    const double biomass[] = {0, 1.5, 2, 3, 4, 5};
    const double mep_counts[] = {0, 1, 2, 3, 0, 1};
    const double mep_biomass[] = {0, 0.1, 0.2, 0.3, 0, 0.4};
    for (int r = 1; r <= 5; ++r) {
      s.range_counts[r] = 10 * r;
      s.range_areal_counts[r] = 20 * r;
      s.range_biomass[r] = biomass[r];
      s.range_areal_biomass[r] = 2000 * biomass[r];
      s.mep_range_counts[r] = mep_counts[r];
      s.mep_range_biomass[r] = mep_biomass[r];
      s.mep_range_areal_biomass[r] = 2000 * mep_biomass[r];
    }
    s.mep_total_counts = 7, s.mep_filtered_counts = 5;
    s.mep_total_biomass = 0.75, s.mep_filtered_biomass = 0.5;
    s.mep_range_biomass_sum = 1.0, s.mep_range_areal_biomass_sum = 2000;
    s.shape_counts[1] = 4, s.shape_counts[2] = 2, s.shape_counts[3] = 1;
    s.shape_biomass[1] = 0.3, s.shape_biomass[2] = 0.2, s.shape_biomass[3] = 0.1;
    s.mep_ld_sum = 7.5, s.mep_ld_count = 3;
    s.mep_reject_count = 2;
    s.centroid_esd = 1234.56, s.base_centroid = 1000, s.base_centroid_class = 17;
    s.resid_total_prob = 0.5, s.dispersion_coeff = 0.25;
  }

  // Text split at its CR LF line ends; the piece after the last one is the
  // last element (empty when the text ends with a line end).
  static std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
  }

  std::string scratch(const std::string& name) const { return scratch_.path() + name; }
  std::string data_report() const { return support::read_file(scratch("W7_r1_Data.csv")); }

  support::ScratchDir scratch_;
  std::vector<std::string> arguments_;
};

}  // namespace veka
