#include "reader/reader.h"

#include <gtest/gtest.h>

#include <string>

#include "common/fatal.h"
#include "reader_run.h"

namespace veka::reader_test {

class ReaderStepsTest : public ReaderRun {};

TEST_F(ReaderStepsTest, DepthStepsRoundHalvesToEven) {
  use_depth_steps();
  std::string out =
      read(header() + ctd_lines(10.0, 4) + sep_block(100) + ctd(0.4) + sep_block(101, {{1, 3}}) +
           ctd(2.5) + sep_block(102, {{1, 5}}) + ctd(3.5) + sep_block(103, {{1, 7}, {128, 2}}, 0));
  EXPECT_EQ(store.ctd[10][kCtdScans], 1.0);  // the start
  EXPECT_EQ(store.ctd[1][kCtdScans], 1.0);   // 0.4 m counts as 1 m
  EXPECT_EQ(store.ctd[2][kCtdScans], 1.0);
  EXPECT_EQ(store.ctd[3][kCtdScans], 0.0);
  EXPECT_EQ(store.ctd[4][kCtdScans], 1.0);
  EXPECT_EQ(store.ctd[1][kCtdTemperature], 10.0);
  EXPECT_EQ(store.ctd[1][kCtdConductivity], 33.0);
  EXPECT_EQ(store.ctd[1][kCtdSalinity], 31.0);
  EXPECT_EQ(store.ctd[1][kCtdAnalog1], 0.5);
  // Without a detection variant the first two phases leave prev_depth at 1 m.
  EXPECT_EQ(store.ctd[1][kCtdRate], 0.0);
  EXPECT_EQ(store.ctd[2][kCtdRate], 36.0);  // 1.5 m in 1/24 s
  EXPECT_EQ(store.bin_counts[1][1], 3.0);
  EXPECT_EQ(store.bin_counts[2][1], 5.0);
  EXPECT_EQ(store.bin_counts[4][1], 7.0);
  EXPECT_EQ(store.bin_counts[4][128], 2.0);
  EXPECT_EQ(store.sep_frames[4], 1.0);
  EXPECT_EQ(store.ctd[2][kCtdFlowCount], 40.0);
  EXPECT_EQ(store.ctd[2][kCtdFlowTime], 640.0);
  EXPECT_EQ(store.flow_lines[2], 1.0);
  EXPECT_EQ(store.l5_values[2][7], 7.0);
  // A flow count of 0 adds nothing to the flow sums.
  EXPECT_EQ(store.ctd[4][kCtdFlowCount], 0.0);
  EXPECT_EQ(store.ctd[4][kCtdFlowTime], 0.0);
  EXPECT_EQ(store.flow_lines[4], 0.0);
  EXPECT_EQ(store.sep_counts_by_mm[1], 15);
  EXPECT_EQ(store.end_index, 4);
  EXPECT_NE(out.find("2-Found End Time       103 Depth   3.500  10.000  33.000  Stored MEPs     0"
                     " Profile  2\r\n" +
                     closing(10, 4)),
            std::string::npos);
}

TEST_F(ReaderStepsTest, TimeModeBlocksGoToTheSliceOfThePreviousCount) {
  args[4] = "1", args[5] = "100", args[6] = "1099", args[7] = "0", args[8] = "0";  // dfct 0.5
  std::string out =
      read(header() + sep_block(100) + sep_block(101, {{1, 2}}) + sep_block(103, {{1, 4}}) +
           sep_block(99, {{1, 8}}) + sep_block(104, {{1, 16}}) + sep_block(1099, {{1, 32}}) +
           sep_block(105, {{1, 64}}) + "M 1 2 3 4\n");
  EXPECT_EQ(out,
            "xxxxxx 10000.0    -1.0 10000.0    -1.0   0.000    0.00    0.00\r\n"
            "1-Found Start Time     100 Depth  1.0 dint    1 Dive_dirn   0 Temp  0.000 Sal  0.000"
            "Search endtime  1099\r\n"
            "2-Found End Time      1099 Depth   2.500   0.000   0.000  Stored MEPs     0"
            " Profile  2\r\n" +
                closing(1, 3));
  EXPECT_EQ(store.bin_counts[1][1], 6.0);  // time counts 100 and 101: slice round(1.0001)
  EXPECT_EQ(store.bin_counts[2][1], 8.0);  // count 103: slice round(2.0001)
  EXPECT_EQ(store.bin_counts[3][1], 32.0);
  EXPECT_EQ(store.ctd[1][kCtdScans], 2.0);
  EXPECT_EQ(store.ctd[2][kCtdScans], 1.0);
  EXPECT_EQ(store.ctd[3][kCtdScans], 1.0);
  // Count 99 gives slice 0, outside the steps: its block adds nothing.
  EXPECT_EQ(store.sep_frames[1] + store.sep_frames[2] + store.sep_frames[3], 4.0);
  EXPECT_EQ(store.sep_counts_by_mm[1], 46);
  EXPECT_EQ(store.end_depth, (104 - 100) * 0.5 + 0.5001);  // never rounded here
  EXPECT_EQ(store.mep_count, 0);
}

TEST_F(ReaderStepsTest, SpikeFilterAt25ScansPerSecondOnly) {
  // Both depths given: the start is taken at 30 m during the profile scan.
  args[7] = "30", args[8] = "100", args[11] = "25";
  const std::string recording =
      header() + ctd_lines(30.0, 4) + ctd_lines(40.0, 60) + ctd(44.5) + ctd(40.1);
  std::string out = read(recording);
  EXPECT_NE(out.find("\r\n   44.50   40.00yyxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
                     "\r\n\r\n\r\n\r\n\r\n2-Found End Depth  40.100"),
            std::string::npos);
  EXPECT_EQ(store.ctd[44][kCtdScans], 1.0);  // counted before the filter
  EXPECT_DOUBLE_EQ(store.ctd[40][kCtdRate], 250.0 + 2.5);

  args[11] = "24";
  out = read(recording);
  EXPECT_EQ(out.find("yy"), std::string::npos);
  EXPECT_NEAR(store.ctd[40][kCtdRate], 240.0 + (40.1 - 44.5) * 24, 1e-9);
}

TEST_F(ReaderStepsTest, EmptyLineEndsThePass) {
  args[4] = "1", args[5] = "100", args[6] = "1099", args[7] = "0", args[8] = "0";
  std::string before = header() + sep_block(100) + sep_block(101, {{1, 2}}) + "M 1 2 3 4\n";
  read(before + "\n" + sep_block(102, {{1, 4}}) + "M 5 6 7 8\n");
  EXPECT_EQ(store.bin_counts[1][1], 2.0);
  EXPECT_EQ(store.ctd[1][kCtdScans], 2.0);
  EXPECT_EQ(store.mep_count, 1);
  EXPECT_EQ(store.tctr, 101);
  EXPECT_FALSE(store.data_file.is_open());
  // The depth at the end is rounded unless no end depth is given; a
  // negative argument is no "0".
  EXPECT_EQ(store.end_depth, 1.0001);
  for (const char* start : {"2", "1", "-1"}) {
    args[7] = start;
    args[8] = "0";
    read(before);
    EXPECT_EQ(store.end_depth, args[7] == "2" ? 1.0001 : 1.0) << start;
  }
  args[7] = "0", args[8] = "-1";
  read(before);
  EXPECT_EQ(store.end_depth, 1.0);
}

TEST_F(ReaderStepsTest, HeaderBlockHandsItsLastLineOnMidLine) {
  args[4] = "1", args[5] = "100", args[6] = "1099", args[7] = "0", args[8] = "0";
  std::string ten_lines;
  for (int i = 0; i < 10; ++i) ten_lines += "L5 0 0 100 40 640 0 0\n";
  // The "L5" line that ends the block is read from its 7th character on, so
  // its line number is a blank and the start search passes it over.
  read("# h\n" + ten_lines + "* c\n" + l5_line(100) + sep_block(100, {{1, 5}}) +
       sep_block(101, {{1, 7}}));
  EXPECT_EQ(store.bin_counts[1][1], 7.0);
  // "La" in characters 5 and 6 takes two more lines with it; the second of
  // them is a comment, so one more line goes.
  // Read from its 7th character on, the lost line would be the start.
  read("# h\n" + ten_lines + "*abcLa\n" + l5_line(100) + "* c\n" + "Lxxxxx5 1 2 100 40 640 6 7\n" +
       sep_block(100, {{1, 5}}) + sep_block(101, {{1, 7}}));
  EXPECT_EQ(store.bin_counts[1][1], 7.0);
}

TEST_F(ReaderStepsTest, MepRecordsKeepTheirStep) {
  use_depth_steps();
  read(header() + ctd_lines(10.0, 4) + sep_block(100) + "M 12 345,6 7 33012\n" + ctd(12.0) +
       "M 13 3457 8 200\n");
  ASSERT_EQ(store.mep_count, 2);
  const MepElement& first = store.mep_elements[1];
  EXPECT_EQ(first.element, 12);
  EXPECT_EQ(first.time, 3456);
  EXPECT_EQ(first.duration, 7);
  EXPECT_EQ(first.size, 33012);
  EXPECT_EQ(first.step, 10);
  EXPECT_EQ(store.mep_elements[2].step, 12);
}

TEST_F(ReaderStepsTest, MoreThan500000MepRecordsStopAfterTheWait) {
  args[4] = "1", args[5] = "100", args[6] = "1099", args[7] = "0", args[8] = "0";
  std::string content = header() + sep_block(100);
  for (int i = 0; i < kMepRecords + 1; ++i) content += "M 3 4 5 6\n";
  support::write_file(file_name(), content);
  prepare();
  console::Capture capture;
  try {
    read_data_file();
    ADD_FAILURE() << "the reader went on";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.exit_code(), 1);
  }
  EXPECT_EQ(capture.waits(), 1);
  const std::string text = capture.text();
  const std::string tail =
      "  Stored MEPs500001 Profile  2\r\n"
      " Found End-of-file - Finished    Dints       1 Dinte       1\r\n"
      "\r\n\r\nToo many MEP-elements (      500001) to process - must reduce the (time)range of "
      "analyses.\r\nPress \"enter\" to halt program\r\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(store.mep_count, kMepRecords + 1);
  EXPECT_EQ(store.mep_elements[kMepRecords].duration, 5);
}

class ReaderRangeTest : public ReaderRun {
 protected:
  void read_from_to(double start, double end) {
    read(header() + ctd_lines(start, 4) + sep_block(100) + ctd(end));
  }
};

TEST_F(ReaderRangeTest, ReportRangeInBlocksOf25) {
  use_depth_steps();
  read_from_to(12.0, 87.0);
  EXPECT_EQ(store.range_lo, 12);
  EXPECT_EQ(store.range_hi, 87);
  EXPECT_EQ(store.range_low, 1.0);  // 25 round(-0.02) = 0, below 25
  EXPECT_EQ(store.range_high, 100.0);
  read_from_to(87.0, 12.0);
  EXPECT_EQ(store.range_lo, 12);
  EXPECT_EQ(store.range_hi, 87);
  EXPECT_EQ(store.range_high, 100.0);
  read_from_to(50.0, 50.0);
  EXPECT_EQ(store.range_low, 1.0);
  EXPECT_EQ(store.range_high, 0.0);
  read_from_to(30.0, 130.0);
  EXPECT_EQ(store.range_low, 25.0);  // 25 round(0.7)
  EXPECT_EQ(store.range_high, 150.0);
}

TEST_F(ReaderRangeTest, StepsBeyond500StayOutsideTheArrays) {
  use_depth_steps();
  std::string out = read(header() + ctd_lines(600.0, 4) + sep_block(100, {{1, 9}}) + ctd(620.0) +
                         sep_block(101, {{1, 9}}) + "M 1 2 3 4\n");
  EXPECT_EQ(store.start_index, 500);
  EXPECT_EQ(store.end_index, 500);
  EXPECT_NE(out.find("\r\n  620.00       1       12-Found End Time"), std::string::npos);
  for (int k = 1; k <= kSteps; ++k) ASSERT_EQ(store.ctd[k][kCtdScans], 0.0) << k;
  EXPECT_EQ(store.sep_counts_by_mm[1], 0);
  EXPECT_EQ(store.mep_elements[1].step, 620);
}

TEST_F(ReaderRangeTest, SepCountsByMillimetreAndArgument60) {
  use_depth_steps();
  args[60] = "5";
  read(header() + ctd_lines(10.0, 4) + sep_block(100) + count_line(1) + count_line(2) +
       count_line(3, {{66, 1}, {67, 2}}) + count_line(4) + l5_line(101) + ctd(11.0) +
       sep_block(102));
  // Channel 66 is 990 um, 67 is 1005 um.
  EXPECT_EQ(store.sep_counts_by_mm[1], 1);
  EXPECT_EQ(store.sep_counts_by_mm[2], 2);
  EXPECT_EQ(store.bin_counts[10][67], 0.0);  // cleared for argument 60 = 5
}

}  // namespace veka::reader_test
