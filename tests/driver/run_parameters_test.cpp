#include "driver/run_parameters.h"

#include <gtest/gtest.h>

#include "common/console.h"
#include "store/store.h"
#include "support/support.h"

namespace veka {

using support::load_arguments;
using support::standard_arguments;

TEST(TimeBinFactor, BinsCoverTheCountRangeInAbout500Bins) {
  TimeBinFactor a = time_bin_factor(1, 1000);  // k = round(2.5) = 2, m = 1
  EXPECT_EQ(a.dfct, 0.5);
  EXPECT_EQ(a.dfctx, 1.0);
  TimeBinFactor b = time_bin_factor(1, 2000);  // k = round(4.5) = 4, m = 2
  EXPECT_EQ(b.dfct, 0.25);
  TimeBinFactor c = time_bin_factor(0, 10000);  // k = 21, m = 11
  EXPECT_EQ(c.dfct, 1.0 / 22);
  EXPECT_EQ(c.dfctx, 11.0);
}

class RunParametersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_store();
    arguments_ = standard_arguments("in/", "W", "out/");
  }
  // Header lines printed by the stage.
  std::string run() {
    load_arguments(arguments_);
    console::Capture capture;
    read_run_parameters();
    return capture.text();
  }
  std::vector<std::string> arguments_;
};

TEST_F(RunParametersTest, HeaderEchoesTheParameters) {
  arguments_[12] = "T", arguments_[13] = "C", arguments_[14] = "D", arguments_[15] = "S";
  arguments_[16] = "x";
  store.file_number_text = "7";
  std::string header = run();
  EXPECT_EQ(header,
            "CTD String  1  2  3  4  0  0  0  0  0  0  0\r\n"
            "   0.500   0.200   0.500         100     250\r\n"
            "   2.000   1.000   2.000         250     500\r\n"
            "   2.000   0.500   1.000         500    1000\r\n"
            "   5.000   2.000   3.000        1000    2000\r\n"
            "   5.000   0.300   3.000        2000    4000\r\n"
            "  30.000   3.000  20.000 Num_ctd=  4\r\n"
            "Tunnel area   0.0049 ctd_num  0 CTD ScanRate   24.00\r\n"
            "\r\n"
            "in/W7.dat  y  W out/W7_r1 r1    0    0 exp_sp 1.00 set_flow    1 dfct  0.5 "
            "dfctx     1.0 smode  2\r\n");
  EXPECT_EQ(store.ctd_string, "TCDSxxxxxxx");
}

TEST_F(RunParametersTest, ModesAndLabels) {
  arguments_[4] = "3";     // any other value: time bins, like 1
  arguments_[23] = "2";    // descending, but the label needs the text "1"
  arguments_[25] = "1.0";  // set_flow 1, label needs the text "1"
  run();
  EXPECT_EQ(store.smode, 0);
  EXPECT_EQ(store.depth_mode, 0);
  EXPECT_EQ(store.dive_direction, 1);
  EXPECT_EQ(store.direction_label, " Ascending");
  EXPECT_EQ(store.set_flow, 1);
  EXPECT_EQ(store.speed_source_label, " Const. Speed");

  arguments_[4] = "0", arguments_[23] = "0", arguments_[25] = "0.0";
  run();
  EXPECT_EQ(store.smode, 1);
  EXPECT_EQ(store.depth_mode, 1);
  EXPECT_EQ(store.dive_direction, -1);
  EXPECT_EQ(store.set_flow, 0);

  arguments_[23] = "1", arguments_[25] = "1";
  run();
  EXPECT_EQ(store.direction_label, "Descending");
  EXPECT_EQ(store.speed_source_label, " VEKA Speed");
  EXPECT_EQ(store.set_flow, 1);
}

TEST_F(RunParametersTest, DerivedValues) {
  arguments_[27] = "1";
  arguments_[26] = "4";
  arguments_[8] = "12345";
  arguments_[9] = "run2long";
  std::string header = run();
  EXPECT_NE(header.find("Tunnel area   0.0123"), std::string::npos);
  EXPECT_DOUBLE_EQ(store.tunnel_area, 0.01225);
  EXPECT_EQ(store.flow_scale, 0.5);
  EXPECT_EQ(store.scan_interval, 1.0 / 24);
  EXPECT_EQ(store.end_depth_text, "1234");
  EXPECT_EQ(store.run_label, "run2");
  EXPECT_EQ(store.output_base_name, "out/W_run2long");
  EXPECT_EQ(store.diameter_range_low_mm, 0.1);
  EXPECT_EQ(store.diameter_range_high_mm, 4.0);
  EXPECT_EQ(store.range_low, 1.0);
  EXPECT_EQ(store.range_high, 500.0);
}

TEST_F(RunParametersTest, DuplicateLetterTakesTheLastPosition) {
  arguments_[20] = "D";  // D at positions 1 and 9
  run();
  EXPECT_EQ(store.ctd_field_position[3], 9);
  EXPECT_EQ(store.ctd_field_count, 5);
}

}  // namespace veka
