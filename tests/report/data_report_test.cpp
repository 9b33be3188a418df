#include <gtest/gtest.h>

#include <algorithm>

#include "common/format.h"
#include "report/binning.h"
#include "report/reports.h"
#include "report_fixture.h"

namespace veka {

namespace {

class ReportDataTest : public ReportFixture {
 protected:
  std::vector<std::string> report_lines() {
    console::Capture quiet;
    write_reports();
    return lines_of(data_report());
  }
  static size_t index_of(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) - lines.begin();
  }
  // Rows of the distribution table under `heading`: the lines that follow
  // its "micron bins" line and start with `label`.
  static int table_rows(const std::vector<std::string>& lines, const std::string& heading,
                        const std::string& label) {
    size_t i = index_of(lines, heading) + 2;
    int rows = 0;
    while (i < lines.size() && lines[i].compare(0, label.size(), label) == 0) ++rows, ++i;
    return rows;
  }
};

TEST_F(ReportDataTest, DepthProfileTotals) {
  arguments_[8] = "80";
  prepare_file(7);
  set_totals();
  std::vector<std::string> lines = report_lines();
  std::vector<std::string> head(lines.begin(), lines.begin() + 15);
  EXPECT_EQ(
      head,
      (std::vector<std::string>{
          "SEP(+MEP) data,,Depth Profile    3-12 m     Sample Nos.    0 -    0,,,,,CTD Scanrate= "
          "24.0,,CTD string: DCTSA1xxxxxx,,,,Descending(  1- 80),,Smode 2, VEKA Speed,,"
          "V1.3 Nov.22/04,,,MEP elements(nm),,        1234",
          "Tot. cts,        1234,,Areal cts (/m2),        5679,,Water Vol,   0.500,m3,",
          "Filt. cts,          99,,Areal cts,        1980,,Depth range,  "
          "3-12.0,Diam.range,0.10-4.00",
          "Diam. bins,100-250,250-500,500-1000,1000-2000,2000-4000,",
          "Binned cts,          10,          20,          30,          40,          50,,Sum,"
          "         150",
          "Areal cts binned (/m2),          20,          40,          60,          80,         100,"
          ",Sum,         300",
          "",
          "Tot. biomass,       12.30 mg,,Areal biomass,         2.5, gm/m2,Water Vol,   0.500,m3,",
          "Filt. biomass,        6.20 mg,,Areal biomass,         1.3, gm/m2,Depth range,  3-12.0,"
          "Diam.range,0.10-4.00",
          "Diam. bins,100-250,250-500,500-1000,1000-2000,2000-4000,",
          "Binned biomass,        1.50,        2.00,        3.00,        4.00,        5.00, mg,Sum,"
          "    15.5",
          "Areal biomass binned,         3.0,         4.0,         6.0,         8.0,        10.0, "
          "gms/m2,Sum,    31.0",
          "",
          "MEP data only,, Depth Profile    3-12 m",
          "Tot. cts,           7,",
      }));
  EXPECT_EQ(lines[15], "Filt. cts,           5,,,Depth range,  3-  12.0,Diam.range,0.10-4.00");
  EXPECT_EQ(lines[23],
            "Areal biomass binned,        0.20,        0.40,        0.60,        0.00,"
            "        0.80, gms/m2,Sum,     2.0");
  EXPECT_EQ(lines[30], "Cts,       4,,,,,       2,,,,,       1,,,,,");
}

TEST_F(ReportDataTest, TimeIntervalTotalsHaveNoArealFigures) {
  use_time_intervals();
  set_totals();
  std::vector<std::string> lines = report_lines();
  std::vector<std::string> head(lines.begin(), lines.begin() + 16);
  EXPECT_EQ(
      head,
      (std::vector<std::string>{
          "SEP(+MEP) data,,   Sample Cts=  100 -  2000,,,Intervals Range=,,   3-12,,Each Interval="
          "      2 sec,,, VEKA Speed,, Smode 0,,V1.3 Nov.22/04,,,MEP elements(nm),,        1234",
          "Tot. cts,        1234",
          "Filt. cts,          99,,,,,Interval range=,,  3-12.0,Diam.range,0.10-4.00",
          "Diam. bins,100-250,250-500,500-1000,1000-2000,2000-4000,",
          "Binned cts,          10,          20,          30,          40,          50,,Sum,"
          "         150",
          "",
          "",
          "Tot. biomass,       12.30",
          "Filt. biomass,        6.20 mg,,,,,Intervals range=,,  3-12.0,Diam.range,0.10-4.00",
          "Diam. bins,100-250,250-500,500-1000,1000-2000,2000-4000,",
          "Binned biomass,        1.50,        2.00,        3.00,        4.00,        5.00, mg,Sum,"
          "    15.5",
          "",
          "",
          "MEP data,, Time Range    3-12 sec",
          "Tot. cts,           7,",
          "Filt. cts,           5,,,Intervals range=,,  3-  12.0,Diam.range,0.10-4.00",
      }));
}

TEST_F(ReportDataTest, ResidualAnalysisPrintsZeroForAZeroDivisor) {
  Store& s = store;
  s.centroid_esd = 1234.56, s.centroid_log_biomass = 2.0, s.resid_total_prob = 0.5;
  s.dispersion_coeff = 0.25, s.disp_total = 0.3, s.base_mean_i = 12.5, s.base_centroid = 1000;
  s.resid_base_num = 1, s.resid_base_den = 4;
  s.residual_biomass_density = 5000, s.total_biomass_density = 20000;
  std::string values =
      ",,  1234.6,,    2.00 (   100.0 ugm),,   0.500,,    0.25,   0.250,,     5.0"
      ",,   20.00,,   0.250,,    0.30,,    12.5,   1.000,   0.235";
  std::vector<std::string> lines = report_lines();
  EXPECT_NE(index_of(lines, values), lines.size());

  prepare_file(7);
  s.centroid_esd = 1234.56, s.centroid_log_biomass = 2.0, s.resid_total_prob = 0.5;
  s.dispersion_coeff = 0.25, s.disp_total = 0.3, s.base_mean_i = 12.5, s.base_centroid = 1000;
  s.resid_base_num = 1, s.residual_biomass_density = 5000;
  values =
      ",,  1234.6,,    2.00 (   100.0 ugm),,   0.500,,    0.25,   0.000,,     5.0"
      ",,    0.00,,   0.000,,    0.30,,    12.5,   1.000,   0.235";
  lines = report_lines();
  EXPECT_NE(index_of(lines, values), lines.size());
}

TEST_F(ReportDataTest, SpectrumCurvesStandInTheColumnsOfTheirChannels) {
  Store& s = store;
  s.nbss_bin_count = 4, s.nbss_first = 2, s.nbss_last = 4, s.nbss_base_first = 3;
  for (int i = 0; i <= 4; ++i) {
    s.nbss_size_bounds[i] = 100.0 * i;
    s.nbss_log_bounds[i] = 0.5 * i;
    s.nbss_values[i] = i;
    s.nbss_quad_base[i] = 10.0 * i;
  }
  s.linear_slope = -1.0, s.linear_intercept = 3.0;
  std::vector<std::string> lines = report_lines();
  size_t first = index_of(lines, "Size bins(u)- mid-pt,,   150.0,   250.0,   350.0,");
  ASSERT_LT(first, lines.size());
  EXPECT_EQ(lines[first + 1],
            "Log Biomass bins (0.1 units ugm -mid-pt),,   0.750,   1.250,   1.750,");
  EXPECT_EQ(lines[first + 3], "Linear Fit NBSS,,    2.00,    1.50,    1.00,");
  EXPECT_EQ(lines[first + 7], "Quadratic Base -NBSS -Y,,   30.00,   40.00,");
}

TEST_F(ReportDataTest, StepTableRowOfAStepWithoutSamples) {
  Store& s = store;
  s.start_index = s.end_index = 5;
  s.range_high = 25;
  s.ctd[5][kCtdTemperature] = 5.0;
  s.ctd[5][kCtdRate] = -0.6;  // moving up
  s.ctd[5][kCtdSpeed] = 0.75;
  s.ctd[5][kCtdInverseArea] = 2.3, s.ctd[5][kCtdMepParticles] = 4, s.ctd[5][kCtdOpacity] = 0.55,
  s.ctd[5][kCtdVolume] = 0.0123;
  s.range_conc[5][10] = 12345678901.0;  // wider than its field
  s.range_conc[5][1] = 7;
  s.range_bio_conc[5][10] = 1.5;
  {
    console::Capture quiet;
    configure_and_bin();
  }
  std::vector<std::string> lines = report_lines();
  EXPECT_EQ(lines[index_of(lines,
                           "Depth(m),Samp. cts,Temp.,Cond.,Salinity,Analog#1,Analog#2,"
                           "Analog#3,Analog#4,Analog#5,CTD Rate m/s,VEKA m/s, TI,Tot. "
                           "cts/m3,Cts/m3-diam,Cts/m3-diam,Cts/m3-diam,Cts/m3-diam,Cts/"
                           "m3-diam,Tot.Biom/m3,Bio/m3-diam,Bio/m3-diam,Bio/m3-diam,Bio/"
                           "m3-diam,Bio/m3-diam") +
                  1],
            ",  (CTD),,,,,,,,,abs(m/s),,,,100-250,250-500,500-1000,1000-2000,2000-4000,,microns"
            "100-250,250-500,500-1000,1000-2000,2000-4000,,ctd[13],ctd[12],ctd[21],H2O Vol/m");
  size_t row = index_of(
      lines,
      "   5,    0.50,   10.00,    0.00,    0.00,    0.00,    0.00,    0.00,    0.00,    0.00,"
      "    1.20,    0.75,   2.3,12345678901,         7,         0,         0,         0,"
      "         0,       1.5,       0.0,       0.0,       0.0,       0.0,       0.0,,     2.3,"
      "       4,    0.55,    0.0123");
  ASSERT_LT(row, lines.size());
  EXPECT_EQ(lines[row - 4].substr(0, 5), "   1,");
  EXPECT_EQ(lines[row + 20].substr(0, 5), "  25,");
  EXPECT_EQ(lines[row + 21], "");
}

// The deepest step rounded up to 25 sets the rows of the step table and of
// the distribution tables, before the window is clipped to the profile.
TEST_F(ReportDataTest, TableRowsFollowTheDeepestStep) {
  struct Case {
    int range_high;
    int bins_25, bins_10, bins_5;
  };
  for (Case c : {Case{25, 1, 2, 5}, Case{50, 2, 5, 10}, Case{75, 3, 8, 15}}) {
    prepare_file(7);
    store.range_lo = 1, store.range_hi = c.range_high - 3;
    store.range_low = 1, store.range_high = c.range_high;
    std::vector<std::string> lines = report_lines();
    EXPECT_EQ(store.range_high_25, c.range_high);
    EXPECT_EQ(store.range_high, c.range_high - 3);
    size_t heads = index_of(lines,
                            ",  (CTD),,,,,,,,,abs(m/s),,,,100-250,250-500,500-1000,"
                            "1000-2000,2000-4000,,microns100-250,250-500,500-1000,"
                            "1000-2000,2000-4000,,ctd[13],ctd[12],ctd[21],H2O Vol/m");
    EXPECT_EQ(lines[heads + c.range_high].substr(0, 5), int_field(c.range_high, 4) + ",");
    EXPECT_EQ(lines[heads + c.range_high + 1], "");
    EXPECT_EQ(table_rows(lines, "Mean biomass/m3 for each 25m bin", "mg/m3,"), c.bins_25);
    EXPECT_EQ(table_rows(lines, "Mean cts/m3 for each 25m bin", "cts/m3,"), c.bins_25);
    EXPECT_EQ(table_rows(lines, "Mean cts/m3 for each 10m bin", "cts/m3,"), c.bins_10);
    EXPECT_EQ(table_rows(lines, "Mean cts/m3 for each 5m bin", "cts/m3,"), c.bins_5);
  }
}

TEST_F(ReportDataTest, DistributionTablesOfADepthProfileEndWithTheirTotals) {
  store.range_high = 25;
  store.count_bins_10[1][6] = 12.6, store.count_bins_10[3][6] = 99;  // row 3 is beyond the table
  store.count_bins_10[51][6] = 1234.4;
  std::vector<std::string> lines = report_lines();
  size_t heading = index_of(lines, "Mean cts/m3 for each 10m bin");
  EXPECT_EQ(lines[heading - 2], "");
  EXPECT_EQ(lines[heading - 1], "Counts-Diameter Distribution SEP&MEP Zoopl.");
  EXPECT_EQ(lines[heading + 1].substr(0, 34), "micron bins,,    90,   105,   120,");
  EXPECT_EQ(lines[heading + 1].size(), 13u + 245 * 7);
  EXPECT_EQ(lines[heading + 2].substr(0, 31), "cts/m3,  0- 10 m,    13,     0,");
  EXPECT_EQ(lines[heading + 3].substr(0, 24), "cts/m3, 10- 20 m,     0,");
  EXPECT_EQ(lines[heading + 4], "");
  EXPECT_EQ(lines[heading + 5], lines[heading + 1]);
  EXPECT_EQ(lines[heading + 6].substr(0, 33), "sum bins cts/m2,,   1234,      0,");
  EXPECT_EQ(lines[heading + 7], "");
  EXPECT_EQ(lines[heading + 8], "");
  EXPECT_EQ(lines[heading + 9], "Counts-Diameter Distribution SEP&MEP Zoopl.");
  // The last table is followed directly by the 1 mm bins.
  size_t last = index_of(lines, "Mean cts/m3 for each 5m bin");
  EXPECT_EQ(lines[last + 9].substr(0, 17), "sum bins cts/m2,,");
  EXPECT_EQ(lines[last + 10].substr(0, 14), "Bins 1-35mm  -");
}

TEST_F(ReportDataTest, DistributionTablesOverTimeEndWithEmptyLines) {
  use_time_intervals();
  store.range_high = 25;
  std::vector<std::string> lines = report_lines();
  EXPECT_EQ(lines[index_of(lines,
                           "TimeIntervals,Samp. cts,Temp.,Cond.,Salinity,Analog#1,"
                           "Analog#2,Analog#3,Analog#4,Analog#5,CTD Rate m/s,VEKA m/s, "
                           "TI,Tot. cts,Cts-diam,Cts-diam,Cts-diam,Cts-diam,Cts-diam,"
                           "Tot.Biom,Bio-diam,Bio-diam,Bio-diam,Bio-diam,Bio-diam") +
                  1]
                .substr(0, 36),
            "(    2 sec.),  (VEKA),,,,,,,,,abs(m/");
  size_t biomass = index_of(lines, "Mean biomass for bins of 25 Time Intervals");
  EXPECT_EQ(lines[biomass + 2].substr(0, 22), "mg,  0- 25 sec,   0.00");
  for (int i = 3; i <= 7; ++i) EXPECT_EQ(lines[biomass + i], "") << i;
  EXPECT_EQ(lines[biomass + 8], "Counts-Diameter Distribution SEP&MEP Zoopl.");
  size_t counts = index_of(lines, "Mean cts for bins of 10 Time Intervals");
  EXPECT_EQ(lines[counts + 2].substr(0, 19), "cts,  0- 10 ,     0");
  EXPECT_EQ(lines[counts + 3].substr(0, 19), "cts, 10- 20 ,     0");
  size_t last = index_of(lines, "Mean cts/m3 for bins of 5 Time Intervals");
  for (int i = 7; i <= 9; ++i) EXPECT_EQ(lines[last + i], "") << i;
  EXPECT_EQ(lines[last + 10].substr(0, 14), "Bins 1-35mm  -");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line.rfind("sum bins", 0) == 0; }),
            0);
}

TEST_F(ReportDataTest, MillimetreBinsAddUp) {
  store.sep_counts_by_mm[1] = 70000, store.sep_counts_by_mm[2] = 5;
  store.mep_mm_totals[2] = 3, store.mep_mm_totals[35] = 1;
  std::vector<std::string> lines = report_lines();
  std::string sums = "Sum SEP+MEP cts,,,70000,    8,";
  for (int i = 3; i <= 34; ++i) sums += "    0,";
  size_t first = index_of(lines, sums + "    1,");
  ASSERT_LT(first, lines.size());
  EXPECT_EQ(lines[first + 1], "");
  EXPECT_EQ(lines[first + 2],
            "Total SEP cts,, 70005,Total MEP cts,,     4,,Total SEP+MEP cts,,,70009");
  EXPECT_EQ(lines[first + 3], "");
  EXPECT_EQ(lines[first + 4], "");  // the file ends with a line end
  EXPECT_EQ(lines.size(), first + 5);
}

}  // namespace

}  // namespace veka
