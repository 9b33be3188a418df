#include "driver/file_defaults.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/console.h"
#include "common/fatal.h"
#include "store/store.h"
#include "support/support.h"

namespace veka {

using support::ScratchDir;
using support::write_file;

class FileDefaultsTest : public ::testing::Test {
 protected:
  // Runs the stage on a data file with the given content, from a fresh
  // store; returns the console.
  std::string prepare(const std::string& content, double exp_sp = 1.0) {
    reset_store();
    store.exp_sp = exp_sp;
    store.start_depth = 7.0;
    store.data_file_name = scratch_.path() + "W1.dat";
    write_file(store.data_file_name, content);
    console::Capture capture;
    prepare_file_defaults();
    return capture.text();
  }
  ScratchDir scratch_;
};

std::string lines(const std::string& tag, int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += tag + " 1 2 3\n";
  return text;
}

std::string record() {
  return "L1 0\nL2 0\nL3 0\nL4 0\nL5 0\n";
}

TEST_F(FileDefaultsTest, ExpectedTransitCountFromTheSpeedCurves) {
  prepare("");
  EXPECT_EQ(store.exp_fl, 16.0);  // speed(16) ~ 1.0042 > 1.0 > speed(17)
  prepare("", 2.0);
  EXPECT_DOUBLE_EQ(store.exp_fl, 9.0);  // from the second curve
  prepare("", 0.1);
  EXPECT_EQ(store.exp_fl, 209.99999999999997);
  EXPECT_EQ(store.exp_fl_found, 0);
}

TEST_F(FileDefaultsTest, SpeedOutOfRangeWarnsAndWaits) {
  reset_store();
  store.exp_sp = 11.0;
  store.data_file_name = scratch_.path() + "W1.dat";
  write_file(store.data_file_name, "");
  console::Capture capture("\n");
  prepare_file_defaults();
  EXPECT_EQ(capture.text(), "Expected Speed is out of range -exp_fl    0.00 exp_sp   11.00\r\n");
  EXPECT_EQ(capture.waits(), 1);
  EXPECT_EQ(store.exp_fl, 0.0);
}

TEST_F(FileDefaultsTest, SettingsAndTables) {
  prepare("");
  EXPECT_EQ(store.diameter_class_um[1], 15.0);
  EXPECT_EQ(store.diameter_class_um[1100], 16500.0);
  EXPECT_EQ(store.prev_depth, 7.0);
  EXPECT_EQ(store.profile_number, 1);
  EXPECT_EQ(store.transit_band_low, 0.3333333333333333);
  EXPECT_EQ(store.mep_cubic_b[3], 9.54e-15);
  EXPECT_EQ(store.speed_curve[2].scale, 30.113624222688);
  EXPECT_NEAR(store.speed_curve[1].speed_at_root(std::sqrt(210.0)), 0.137, 0.001);
  EXPECT_NEAR(store.speed_curve[2].speed_at_root(std::sqrt(3.0)), 10.33, 0.01);
}

TEST_F(FileDefaultsTest, PreScanCountsFiveLineRecords) {
  prepare("#h\n" + lines("*", 45) + lines("C", 3) + record() + lines("C", 2) + record() +
          "M 1 2 3 4\n" + record());
  EXPECT_EQ(store.sample_record_count, 3.0);
  // The file is left open at its first line for the reader.
  EXPECT_TRUE(store.data_file.is_open());
  EXPECT_EQ(store.data_file.read_char(), '#');
}

TEST_F(FileDefaultsTest, KeepsTheOpeningCommentLinesForTheExports) {
  prepare("# VEKA\r\n* Lat 43 15.46 N\r\n*\r\nC 1 2 3\n* later\n");
  EXPECT_EQ(store.recording_header, (std::vector<std::string>{"# VEKA", "* Lat 43 15.46 N", "*"}));
  EXPECT_EQ(store.data_file.read_char(), '#');
}

TEST_F(FileDefaultsTest, PreScanHeaderHidesFortyFiveLinesWhateverTheyHold) {
  prepare("#\n" + lines("L", 45) + record());
  EXPECT_EQ(store.sample_record_count, 1.0);
}

TEST_F(FileDefaultsTest, PreScanStopsAtAnEmptyLineOrABrokenGroup) {
  prepare("\n" + record());
  EXPECT_EQ(store.sample_record_count, 0.0);
  prepare(record() + "L1 0\nL2 0\nL3 0\nL4 0\nC 1 2\n" + record());
  EXPECT_EQ(store.sample_record_count, 2.0);  // counted, then the fifth line ends the scan
  prepare(record() + "L1 0\n\nL3 0\nL4 0\nL5 0\n" + record());
  EXPECT_EQ(store.sample_record_count, 2.0);
}

TEST_F(FileDefaultsTest, MissingDataFileIsFatal) {
  store.data_file_name = scratch_.path() + "none.dat";
  console::Capture capture;
  EXPECT_THROW(prepare_file_defaults(), FatalError);
}

}  // namespace veka
