// The exports' own CTD pass of the time mode against hand-computed means.
#include "export/time_ctd.h"

#include "export_fixture.h"

namespace veka {

namespace {

class ExportTimeModeCtdTest : public ExportFixture {
 protected:
  // Time counts 100..2000 in intervals of 4 counts (2 s); the CTD lines
  // have the letters D C T S A1.
  void SetUp() override {
    ExportFixture::SetUp();
    use_time_intervals();
  }
  static std::string l5(int count) { return "L5 0 0 " + std::to_string(count) + " 0 0 0 0\r\n"; }
};

TEST_F(ExportTimeModeCtdTest, MeansOfTheIntervalsOfTheAnalysedRangeOnly) {
  write_recording(
      "# recording\r\n* Cruise X\r\n"
      "C 1.0 30.0 9.0 29.0 0.1\r\n" +
      l5(99) +                                   // before the range
      "C 1.0 30.0 9.0 29.0 0.1\r\n" + l5(100) +  // the start: interval 1
      "C 10.0 40.0 12.0 31.0 0.5\r\n"
      "C 12.0,42.0,14.0,33.0,1.5\r\n"
      "C 11.0 40.0 36.0 31.0 0.9\r\n"             // beyond 35 degC: left out
      "C 11.0 40.0 12.0\r\n"                      // short: left out
      "C 11.0 40.0 12.0 31.0 0.9 7\r\n"           // extra value: left out
      "C 11.0 40.0 12.0 31.0 0.123456789012\r\n"  // 13 characters
      "L1 5 0 3\r\n" +
      l5(103) +                                     // still interval 1
      "C 10.0 50.5 12.0 31.0 0.9\r\n"               // beyond 50 mS/cm
      + l5(104) +                                   // interval 2
      "C 20.0 44.0 16.0 34.0 2.0\r\n" + l5(2000) +  // the end
      "C 30.0 45.0 17.0 35.0 3.0\r\n");
  TimeModeCtd ctd = read_time_mode_ctd();
  ASSERT_EQ(ctd.intervals.size(), 501u);
  EXPECT_EQ(ctd.first_time_count, 99);
  EXPECT_EQ(ctd.intervals[1].scans, 2.0);
  EXPECT_EQ(ctd.mean(1, kFieldD), 11.0);
  EXPECT_EQ(ctd.mean(1, kFieldC), 41.0);
  EXPECT_EQ(ctd.mean(1, kFieldT), 13.0);
  EXPECT_EQ(ctd.mean(1, kFieldS), 32.0);
  EXPECT_EQ(ctd.mean(1, kFieldA1), 1.0);
  EXPECT_EQ(ctd.intervals[2].scans, 1.0);
  EXPECT_EQ(ctd.mean(2, kFieldT), 16.0);
  EXPECT_EQ(ctd.mean(3, kFieldT), std::nullopt);
  double all = 0.0;
  for (const IntervalCtd& interval : ctd.intervals) all += interval.scans;
  EXPECT_EQ(all, 3.0);  // nothing before the start or after the end
}

TEST_F(ExportTimeModeCtdTest, DepthSpikeKeepsThePreviousDepthAt25Scans) {
  arguments_[11] = "25";
  use_time_intervals();
  std::string lines = l5(100);
  for (int i = 0; i < 60; ++i) lines += "C 10.0 40.0 12.0 31.0 0.5\r\n";  // 2.4 s
  lines += l5(104) + "C 14.0 40.0 12.0 31.0 0.5\r\n" + l5(108) + "C 12.5 40.0 12.0 31.0 0.5\r\n";
  write_recording(lines);
  TimeModeCtd ctd = read_time_mode_ctd();
  EXPECT_EQ(ctd.mean(1, kFieldD), 10.0);
  EXPECT_EQ(ctd.mean(2, kFieldD), 10.0);  // 4 m from 10.0: a spike
  EXPECT_EQ(ctd.mean(3, kFieldD), 12.5);  // 2.5 m from the kept 10.0
  arguments_[11] = "24";
  use_time_intervals();
  EXPECT_EQ(read_time_mode_ctd().mean(2, kFieldD), 14.0);
}

}  // namespace

}  // namespace veka
