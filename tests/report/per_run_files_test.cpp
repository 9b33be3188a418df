#include <gtest/gtest.h>

#include "report/reports.h"
#include "report_fixture.h"

namespace veka {

namespace {

class ReportPerRunFilesTest : public ReportFixture {
 protected:
  void write() {
    console::Capture quiet;
    write_reports();
  }
  std::vector<std::string> batch_lines() {
    return lines_of(support::read_file(scratch("a_Batch_W_r1.csv")));
  }
  std::vector<std::string> grid_lines() {
    return lines_of(support::read_file(scratch("a_Surfer_W_r1.csv")));
  }
  // The fields of the data line of the batch summary; none of them holds a comma.
  std::vector<std::string> batch_fields() {
    std::vector<std::string> fields;
    std::string line = batch_lines().at(1);
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
      end = line.find(',', start);
      fields.push_back(line.substr(start, end - start));
    }
    return fields;
  }
};

TEST_F(ReportPerRunFilesTest, BatchLineCarriesTheAnalysisOption) {
  arguments_[61] = "0.5", arguments_[60] = "2";
  prepare_file(7);
  set_totals();
  store.trans_correction = 0.25;
  store.report_profile[4][kCtdScans] = 0.5;  // the step after the first one
  store.sum_chl = 1234.4, store.sample_record_count = 1201, store.tot_volume = 0.25;
  store.mep_over_6mm_count = 3;
  write();
  std::vector<std::string> fields = batch_fields();
  ASSERT_EQ(fields.size(), 65u);
  EXPECT_EQ(fields[0], "   3-  12");
  EXPECT_EQ(fields[1], "  7");
  EXPECT_EQ(fields[2], "  12");
  EXPECT_EQ(fields[3], "   1.235");
  EXPECT_EQ(fields[14], "   0.235");
  EXPECT_EQ(fields[17], "   4");
  EXPECT_EQ(fields[20], "      10");
  EXPECT_EQ(fields[25], "  0.5000");
  EXPECT_EQ(fields[51], "0.50(  2)");
  EXPECT_EQ(fields[53], "    0.25");
  EXPECT_EQ(fields[54], "          20");
  EXPECT_EQ(fields[59], "       3");
  EXPECT_EQ(fields[61], "    0.2500");
  EXPECT_EQ(fields[62], "    0.50");
  EXPECT_EQ(fields[63], "      1234");
  EXPECT_EQ(fields[64], "       600");  // 600.5, halves to even
}

TEST_F(ReportPerRunFilesTest, OptionMinusThreeFlipsTheTransmissionCorrection) {
  arguments_[60] = "-3";
  prepare_file(7);
  store.trans_correction = 0.25;
  write();
  EXPECT_EQ(store.trans_correction, 0.75);
  EXPECT_EQ(batch_fields()[51], "0.00( -3)");
  EXPECT_EQ(batch_fields()[53], "    0.75");
}

TEST_F(ReportPerRunFilesTest, ProfileAtTheLastStepReadsNoStepBeyondIt) {
  store.range_lo = store.range_hi = 500;
  store.report_profile[500][kCtdScans] = 3;
  write();
  EXPECT_EQ(batch_fields()[62], "    0.00");
}

TEST_F(ReportPerRunFilesTest, GriddingLinesTagStepsWithTheFileTime) {
  store.sample_record_count = 1200;
  store.range_lo = 10, store.range_hi = 12;
  store.range_conc[10][1] = 12.34, store.range_conc[12][5] = 0.06;
  write();
  EXPECT_EQ(grid_lines(), (std::vector<std::string>{
                              "Time,Depth, 100- 250/ 250- 500/ 500-1000/1000-2000/2000-4000/",
                              "      -264,   10,    12.3,     0.0,     0.0,     0.0,     0.0",
                              "      -264,   11,     0.0,     0.0,     0.0,     0.0,     0.0",
                              "      -264,   12,     0.0,     0.0,     0.0,     0.0,     0.1",
                              "",
                          }));
}

TEST_F(ReportPerRunFilesTest, FirstFileOfARunStartsBothFilesAndLaterFilesAppend) {
  support::write_file(scratch("a_Batch_W_r1.csv"), "left from an earlier run\r\n");
  for (int number = 1; number <= 3; ++number) {
    prepare_file(number);
    store.range_lo = 2, store.range_hi = 3;
    write();
  }
  std::vector<std::string> batch = batch_lines();
  ASSERT_EQ(batch.size(), 5u);
  EXPECT_EQ(batch[0],
            "Depth Range,File#,Max.Depth,Centr(esd),Disp:Centr.,Disp:Tot.,Resid.:Tot.,"
            "Resid.:Base,Mean I,Resid.Biomass(mg/m3),Tot.Biomass(mg/m3),Res.:Tot,BaseMean I,"
            "Base Centroid,Diff. Resd.-Base Centroid,ArealBiomass(mg/m2 -100-2500um),"
            "ArealBiom.MEP(100-2000um),D 0.3- 3.0,R  3.0-20.0,L  5.0-30.0,"
            "ESD 100- 250/ 250- 500/ 500-1000/1000-2000/2000-4000/,,,,,Water Vol.m3,MEP ESD,,,,,"
            "Tot./m2 100- 250/ 250- 500/ 500-1000/1000-2000/2000-4000/,,,,,MEPs/m2,,,,,6-15mm),"
            "Lin.Slope,Y-intercept,X-intercept,Lin.Recycles n,Par.Recycles n,Quad.Y-Vertex,"
            "X-Offset,X-Int.,Curvature,Trans.Lim.,Delta NBSS,Trans.Corr.,,"
            "ESD 100- 250/ 250- 500/ 500-1000/1000-2000/2000-4000/,,,,,MEP>6mm,MEP_AI>0.5,"
            "Tot. Vol.,ctd[1],SumChl,Cum.Time-sec.10kts=,0.0046,km/sec.");
  for (int number = 1; number <= 3; ++number) {
    EXPECT_EQ(batch[number].substr(0, 14), "   2-   3,  " + std::to_string(number) + ",");
  }
  std::vector<std::string> grid = grid_lines();
  ASSERT_EQ(grid.size(), 8u);
  EXPECT_EQ(grid[0].substr(0, 11), "Time,Depth,");
  EXPECT_EQ(grid[5].substr(0, 16), "      -268,    2");
  EXPECT_EQ(grid[6].substr(0, 16), "      -268,    3");

  // A new run starts both files again.
  store.batch_started = 0, store.gridding_started = 0;
  prepare_file(4);
  store.range_lo = 2, store.range_hi = 2;
  write();
  EXPECT_EQ(batch_lines().size(), 3u);
  EXPECT_EQ(batch_lines()[1].substr(0, 14), "   2-   2,  4,");
  EXPECT_EQ(grid_lines().size(), 3u);
}

}  // namespace

}  // namespace veka
