#include "profile/totals.h"

#include <gtest/gtest.h>

#include "common/console.h"
#include "profile/class_biomass.h"
#include "profile/profile_support.h"
#include "store/store.h"

namespace veka {

namespace {

class ProfileTotalsTest : public ::testing::Test {
 protected:
  // Steps 1..2 with volumes 0.5 and 2 m3, the five standard reporting
  // ranges, and a diameter and depth window wider than everything.
  void SetUp() override {
    reset_store();
    support::set_diameter_classes();
    store.flow_scale = 1.0;
    store.range_lo = 1;
    store.range_hi = 2;
    store.ctd[1][kCtdVolume] = 0.5;
    store.ctd[2][kCtdVolume] = 2.0;
    const double low[6] = {0, 100, 250, 500, 1000, 2000};
    const double high[6] = {0, 250, 500, 1000, 2000, 4000};
    for (int r = 1; r <= 5; ++r) {
      store.diameter_bin_low[r] = low[r];
      store.diameter_bin_high[r] = high[r];
    }
    store.diameter_range_low_mm = 0.0;
    store.diameter_range_high_mm = 100.0;
    store.range_low = 0.0;
    store.range_high = 501.0;
  }
  std::string run(int enter_presses = 0) {
    console::Capture capture(support::enter_presses(enter_presses));
    support::FloatErrors errors;
    compute_size_class_totals();
    EXPECT_FALSE(errors.any());
    waits_ = capture.waits();
    return capture.text();
  }
  int waits_ = 0;
};

TEST_F(ProfileTotalsTest, SmallToMediumWindowHolds105To2490Microns) {
  for (int j : {6, 7, 166, 167}) store.bin_counts[1][j] = 1.0;
  EXPECT_EQ(run(), "");
  EXPECT_EQ(store.range_conc[1][10], 2 / 0.5);
  EXPECT_EQ(store.range_bio_conc[1][10],
            store.bin_biomass[1][7] / 0.5 + store.bin_biomass[1][166] / 0.5);
  EXPECT_EQ(store.areal_biomass_100_2500,
            (1 / 0.5) * store.bin_biomass[1][7] + (1 / 0.5) * store.bin_biomass[1][166]);
}

TEST_F(ProfileTotalsTest, ReportingRange100To500HoldsClasses7To33) {
  store.diameter_bin_high[1] = 500;
  for (int j : {6, 7, 33, 34}) store.bin_counts[2][j] = 1.0;
  run();
  EXPECT_EQ(store.range_counts[1], 2.0);
  EXPECT_EQ(store.range_step_counts[2][1], 2.0);
  EXPECT_EQ(store.range_conc[2][1], 1.0);
  // Ranges may overlap: 495 um (class 33) is in range 2 as well.
  EXPECT_EQ(store.range_counts[2], 1.0);
  EXPECT_EQ(store.range_counts[3], 1.0);
}

TEST_F(ProfileTotalsTest, PlainAndPerVolumeSums) {
  store.bin_counts[1][10] = 3.0;  // 150 um, range 1
  store.bin_counts[2][10] = 4.0;
  store.bin_counts[2][200] = 1.0;  // 3000 um, range 5
  store.bin_counts[1][300] = 5.0;  // 4500 um, in no range
  run();
  double b10 = biomass_per_count(10);
  double b200 = biomass_per_count(200);
  EXPECT_EQ(store.bin_biomass[1][10], b10 * 3.0);
  EXPECT_EQ(store.range_counts[1], 7.0);
  EXPECT_EQ(store.range_areal_counts[1], 3.0 / 0.5 + 4.0 / 2.0);
  EXPECT_EQ(store.range_counts_sum, 8.0);
  EXPECT_EQ(store.range_areal_counts_sum, 3.0 / 0.5 + 4.0 / 2.0 + 1.0 / 2.0);
  EXPECT_DOUBLE_EQ(store.range_biomass[1], 7 * b10);
  EXPECT_DOUBLE_EQ(store.range_areal_biomass[1], 6 * b10 + 2 * b10);
  EXPECT_DOUBLE_EQ(store.range_biomass_sum, 7 * b10 + b200);
  EXPECT_EQ(store.range_step_biomass[2][5], b200);
  EXPECT_DOUBLE_EQ(store.range_bio_conc[2][5], b200 / 2.0);
  EXPECT_EQ(store.total_counts, 13.0);
  EXPECT_EQ(store.areal_counts, 6.0 + 10.0 + 2.0 + 0.5);
  EXPECT_DOUBLE_EQ(store.total_biomass, 7 * b10 + b200 + 5 * biomass_per_count(300));
  EXPECT_EQ(store.filtered_counts, 13.0);
}

TEST_F(ProfileTotalsTest, UnitVolumesMakePerVolumeSumsEqualThePlainOnes) {
  store.ctd[1][kCtdVolume] = store.ctd[2][kCtdVolume] = 1.0;
  for (int j = 1; j <= 400; j += 7) store.bin_counts[1 + j % 2][j] = j;
  run();
  EXPECT_EQ(store.areal_counts, store.total_counts);
  EXPECT_EQ(store.areal_biomass, store.total_biomass);
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(store.range_areal_counts[r], store.range_counts[r]);
}

TEST_F(ProfileTotalsTest, StepWithoutWaterIsReportedFiveTimes) {
  store.ctd[2][kCtdVolume] = 0.0;
  store.bin_counts[1][10] = 2.0;
  store.bin_counts[2][10] = 3.0;
  store.mep_opaque_bin_counts[2][450] = 1.0;
  std::string message = "Found zero volume at line 91\r\n";
  EXPECT_EQ(run(5), message + message + message + message + message);
  EXPECT_EQ(waits_, 5);
  EXPECT_EQ(store.range_counts[1], 5.0);
  EXPECT_EQ(store.total_counts, 5.0);
  EXPECT_EQ(store.range_areal_counts[1], 4.0);
  EXPECT_EQ(store.areal_counts, 4.0);
  EXPECT_EQ(store.range_conc[2][1], 0.0);
  EXPECT_EQ(store.mep_opaque_areal_counts, 0.0);
}

TEST_F(ProfileTotalsTest, MultiElementBiomassStopsAtClass401) {
  store.diameter_bin_high[5] = 7000;  // classes 134..466
  store.mep_step_counts[1][401] = 1.0;
  store.mep_step_counts[1][402] = 1.0;
  store.mep_step_biomass[1][401] = 0.25;
  store.mep_step_counts[2][8] = 2.0;  // 120 um, range 1
  store.mep_step_biomass[2][8] = 0.5;
  store.mep_opaque_bin_counts[1][500] = 3.0;
  run();
  EXPECT_EQ(store.mep_range_counts[5], 2.0);
  EXPECT_EQ(store.mep_range_areal_counts[5], 4.0);
  EXPECT_EQ(store.mep_range_biomass[5], 0.25);
  EXPECT_EQ(store.mep_range_areal_biomass[5], 0.5);
  EXPECT_EQ(store.mep_range_biomass_sum, 0.75);
  EXPECT_EQ(store.mep_range_areal_biomass_sum, 0.5 + 0.25);
  EXPECT_EQ(store.mep_total_counts, 4.0);
  EXPECT_EQ(store.mep_total_biomass, 0.75);
  EXPECT_EQ(store.mep_areal_biomass_100_2500, 0.25);
  EXPECT_EQ(store.mep_opaque_areal_counts, 6.0);
}

TEST_F(ProfileTotalsTest, FilteredWindowExcludesItsBounds) {
  store.range_lo = 1;
  store.range_hi = 4;
  store.ctd[3][kCtdVolume] = store.ctd[4][kCtdVolume] = 1.0;
  store.range_low = 1.0;  // steps 2 and 3 only
  store.range_high = 4.0;
  store.diameter_range_low_mm = 0.375;  // 375 um = class 25, left out
  store.diameter_range_high_mm = 0.75;  // 750 um = class 50, left out
  for (int k = 1; k <= 4; ++k) {
    for (int j : {25, 26, 49, 50}) store.bin_counts[k][j] = 1.0;
  }
  run();
  EXPECT_EQ(store.total_counts, 16.0);
  EXPECT_EQ(store.filtered_counts, 4.0);
  EXPECT_EQ(store.filtered_areal_counts, (1 / 2.0) * 2 + 2.0);
  EXPECT_DOUBLE_EQ(store.filtered_biomass, 2 * biomass_per_count(26) + 2 * biomass_per_count(49));
}

}  // namespace

}  // namespace veka
