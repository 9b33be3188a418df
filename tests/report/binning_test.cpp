#include "report/binning.h"

#include <gtest/gtest.h>

#include "common/console.h"
#include "store/store.h"

namespace veka {

namespace {

class ReportBinningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_store();
    store.smode = 2;
  }
  std::string run() {
    console::Capture capture;
    configure_and_bin();
    return capture.text();
  }
  static void put_step(int step, double volume, int d, double counts) {
    store.ctd[step][kCtdVolume] = volume;
    store.bin_counts[step][d] = counts;
  }
};

TEST_F(ReportBinningTest, DepthBinsAverageConcentrationsOfStepsWithWaterOnly) {
  store.start_index = 1, store.end_index = 10;
  put_step(2, 2.0, 3, 10.0);  // 5 per m3
  put_step(3, 0.0, 3, 99.0);  // no water: left out
  put_step(4, 4.0, 3, 40.0);  // 10 per m3
  put_step(7, 1.0, 3, 3.0);   // 3 per m3, second 5-step bin
  store.bin_biomass[2][3] = 1.0;
  std::string console = run();

  EXPECT_EQ(store.bin_per_volume, 1);
  EXPECT_EQ(store.count_bins_5[1][3], 7.5);  // mean of 5 and 10, not their sum / 5
  EXPECT_EQ(store.count_bins_5[2][3], 3.0);
  EXPECT_EQ(store.count_bins_10[1][3], 6.0);
  EXPECT_EQ(store.count_bins_25[1][3], 6.0);
  EXPECT_EQ(store.biomass_bins_25[1][3], 0.5 / 3);
  // The total rows sum the concentrations of all steps with water.
  EXPECT_EQ(store.count_bins_5[101][3], 18.0);
  EXPECT_EQ(store.count_bins_10[51][3], 18.0);
  EXPECT_EQ(store.count_bins_25[21][3], 18.0);
  EXPECT_EQ(store.biomass_bins_25[21][3], 0.5);
  EXPECT_EQ(store.count_bins_5[1][4], 0.0);
  EXPECT_EQ(store.bin_fill_5[1], 0.0);
  EXPECT_EQ(store.bin_fill_25[1], 0.0);
  EXPECT_EQ(console,
            "Started Configure & binning data\r\n"
            "Finished binning 25 m intervals\r\n"
            "Finished configuring output data\r\n");
}

TEST_F(ReportBinningTest, TimeBinsSumEveryStepAndLeaveTheTotalsEmpty) {
  store.smode = 0;
  store.start_index = 1, store.end_index = 30;
  put_step(2, 2.0, 3, 10.0);
  put_step(3, 0.0, 3, 7.0);
  put_step(26, 0.0, 400, 4.0);
  run();
  EXPECT_EQ(store.bin_per_volume, 0);
  EXPECT_EQ(store.count_bins_5[1][3], 17.0);
  EXPECT_EQ(store.count_bins_10[1][3], 17.0);
  EXPECT_EQ(store.count_bins_25[1][3], 17.0);
  EXPECT_EQ(store.count_bins_25[2][400], 4.0);
  EXPECT_EQ(store.count_bins_5[101][3], 0.0);
  EXPECT_EQ(store.count_bins_25[21][3], 0.0);
}

TEST_F(ReportBinningTest, ReportRowsHoldMeansPerSample) {
  store.start_index = 12, store.end_index = 10;  // reversed: same as 10..12
  for (int j = 2; j <= 10; ++j) store.ctd[10][j] = 3.0;
  store.ctd[11][kCtdScans] = 4.0, store.ctd[11][kCtdAnalog1] = 10.0;
  store.ctd[12][kCtdScans] = 2.0, store.ctd[12][kCtdAnalog1] = 1.0;
  for (int j = 11; j <= 20; ++j) store.ctd[11][j] = j;
  run();
  EXPECT_EQ(store.range_lo, 10);
  EXPECT_EQ(store.range_hi, 12);
  EXPECT_EQ(store.first_index, 10);
  // No samples: 0.5 in both tables, so the means are twice the sums.
  EXPECT_EQ(store.ctd[10][kCtdScans], 0.5);
  EXPECT_EQ(store.report_profile[10][kCtdScans], 0.5);
  EXPECT_EQ(store.report_profile[10][kCtdTemperature], 6.0);
  EXPECT_EQ(store.report_profile[11][kCtdAnalog1], 2.5);
  for (int j = 11; j <= 18; ++j) EXPECT_EQ(store.report_profile[11][j], j);
  EXPECT_EQ(store.report_profile[11][kCtdTransitCount], 20.0);
  EXPECT_EQ(store.sum_chl, 6.0 + 2.5 + 0.5);
}

TEST_F(ReportBinningTest, SmoothingRunsForwardThenBackward) {
  store.start_index = 20, store.end_index = 22;
  const double values[] = {1.0, 2.0, 4.0};
  for (int i = 0; i < 3; ++i) {
    store.ctd[20 + i][kCtdScans] = 1.0;
    store.ctd[20 + i][kCtdRate] = values[i];
    store.ctd[20 + i][kCtdSpeed] = values[i];
  }
  store.ctd[19][kCtdRate] = 50.0, store.ctd[23][kCtdRate] = 50.0;  // outside the profile
  run();
  for (int column : {5, 19}) {
    EXPECT_EQ(store.report_profile[20][column], 2.25);
    EXPECT_EQ(store.report_profile[21][column], 2.25);
    EXPECT_EQ(store.report_profile[22][column], 3.0);
  }
  EXPECT_EQ(store.smoothing_passes, 1);
}

TEST_F(ReportBinningTest, OneStepProfileKeepsItsOwnValuesAtBothEnds) {
  for (int step : {1, 250, 500}) {
    reset_store();
    store.smode = 2;
    store.start_index = store.end_index = step;
    store.ctd[step][kCtdScans] = 2.0;
    store.ctd[step][kCtdRate] = -3.0;
    store.ctd[step][kCtdSpeed] = 0.8;
    if (step > 1) store.report_profile[step - 1][kCtdRate] = 9.0;
    run();
    EXPECT_EQ(store.report_profile[step][kCtdRate], -1.5) << step;
    EXPECT_EQ(store.report_profile[step][kCtdSpeed], 0.8) << step;
  }
}

}  // namespace

}  // namespace veka
