#include "profile/zero_filling.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/console.h"
#include "profile/profile_support.h"
#include "store/store.h"

namespace veka {

namespace {

class ProfileZeroFillingTest : public ::testing::Test {
 protected:
  // A depth profile over steps lo..hi in which every step has data of all
  // three kinds, each value telling its step.
  void profile(int lo, int hi) {
    reset_store();
    store.smode = 2;
    store.start_index = lo;
    store.end_index = hi;
    for (int k = lo; k <= hi; ++k) {
      for (int c = 1; c <= 10; ++c) store.ctd[k][c] = 100.0 * k + c;
      store.ctd[k][kCtdFlowCount] = 10.0 + k;
      store.ctd[k][kCtdFlowTime] = 1000.0 + k;
      store.sep_frames[k] = 2.0;
      store.flow_lines[k] = 3.0;
      store.bin_counts[k][1] = k;
      store.bin_counts[k][400] = k;
      store.bin_counts[k][401] = k;
      store.mep_bin_counts[k][400] = k;
    }
  }
  void clear_ctd(int k) {
    for (int c = 1; c <= 10; ++c) store.ctd[k][c] = 0.0;
  }
  std::string run() {
    console::Capture capture(support::enter_presses(20));
    fill_zeros();
    waits_ = capture.waits();
    return capture.text();
  }
  int waits_ = 0;
};

const char kStarted[] = "Started filling zeros - Depths\r\n";
const char kFinished[] = "Finished filling zeros\r\n";

TEST_F(ProfileZeroFillingTest, ScanLimitIsHalfTheProfileButAtMostThirteenSteps) {
  struct Case {
    int lo, hi, stst;
  } cases[] = {{10, 15, 12}, {10, 17, 14}, {10, 36, 23}, {10, 60, 23}, {17, 10, 14}};
  for (const Case& c : cases) {
    profile(std::min(c.lo, c.hi), std::max(c.lo, c.hi));
    store.start_index = c.lo;
    store.end_index = c.hi;
    run();
    EXPECT_EQ(store.stst, c.stst) << c.lo << ".." << c.hi;
    EXPECT_EQ(store.range_lo, std::min(c.lo, c.hi));
    EXPECT_EQ(store.range_hi, std::max(c.lo, c.hi));
  }
}

TEST_F(ProfileZeroFillingTest, LeadingEmptyStepsCopyTheFirstStepWithData) {
  profile(10, 14);  // limit 12: two empty steps are within it
  clear_ctd(10);
  clear_ctd(11);
  EXPECT_EQ(run(), std::string(kStarted) + "\r\n\r\n" + kFinished);
  for (int c = 1; c <= 10; ++c) {
    EXPECT_EQ(store.ctd[10][c], 1200.0 + c);
    EXPECT_EQ(store.ctd[11][c], 1200.0 + c);
  }
  EXPECT_EQ(waits_, 0);
}

TEST_F(ProfileZeroFillingTest, MiddleGapTakesTheStepAboveAndIsListed) {
  profile(10, 20);
  for (int k = 14; k <= 16; ++k) {
    clear_ctd(k);
    store.sep_frames[k] = 0.0;
    store.flow_lines[k] = 0.0;
    store.ctd[k][kCtdFlowCount] = store.ctd[k][kCtdFlowTime] = 0.0;
    store.bin_counts[k][1] = store.bin_counts[k][400] = store.bin_counts[k][401] = 0.0;
    store.mep_bin_counts[k][400] = 0.0;
  }
  // Pass B brings the flow data along with the counts, so pass C finds
  // nothing left to fill.
  EXPECT_EQ(run(), std::string(kStarted) + "  14  15  16\r\n\r\n" + kFinished);
  for (int k = 14; k <= 16; ++k) {
    EXPECT_EQ(store.ctd[k][kCtdScans], 1301.0);
    EXPECT_EQ(store.ctd[k][kCtdAnalog5], 1310.0);
    EXPECT_EQ(store.bin_counts[k][1], 13.0);
    EXPECT_EQ(store.bin_counts[k][400], 13.0);
    EXPECT_EQ(store.bin_counts[k][401], 0.0);  // only classes 1..400 are copied
    EXPECT_EQ(store.mep_bin_counts[k][400], 13.0);
    EXPECT_EQ(store.sep_frames[k], 2.0);
    EXPECT_EQ(store.flow_lines[k], 3.0);
    EXPECT_EQ(store.ctd[k][kCtdFlowCount], 23.0);
    EXPECT_EQ(store.ctd[k][kCtdFlowTime], 1013.0);
  }
}

TEST_F(ProfileZeroFillingTest, EachPassLooksAtItsOwnKindOfData) {
  profile(10, 20);
  store.sep_frames[15] = 0.0;  // no frames, but CTD scans of its own
  store.flow_lines[18] = 0.0;  // frames, but no flow lines
  store.ctd[18][kCtdFlowCount] = store.ctd[18][kCtdFlowTime] = 0.0;
  EXPECT_EQ(run(), std::string(kStarted) + "\r\n      18\r\n" + kFinished);
  EXPECT_EQ(store.ctd[15][kCtdTemperature], 1502.0);
  EXPECT_EQ(store.bin_counts[15][1], 14.0);
  EXPECT_EQ(store.sep_frames[15], 2.0);
  EXPECT_EQ(store.ctd[15][kCtdFlowTime], 1014.0);
  EXPECT_EQ(store.ctd[18][kCtdFlowCount], 27.0);
  EXPECT_EQ(store.ctd[18][kCtdFlowTime], 1017.0);
  EXPECT_EQ(store.flow_lines[18], 3.0);
  EXPECT_EQ(store.bin_counts[18][1], 18.0);
}

TEST_F(ProfileZeroFillingTest, OverlongLeadingRunsAreReportedStepByStep) {
  profile(10, 15);  // limit 12
  for (int k = 10; k <= 13; ++k) {
    clear_ctd(k);
    store.sep_frames[k] = 0.0;
  }
  store.ctd[15][kCtdScans] = 0.0;  // a gap in pass A, listed before pass B reports
  store.tctr = 4321;
  std::string line85 = "Too many depths with zero data - Line 85\r\n";
  EXPECT_EQ(run(), std::string(kStarted) + line85 + line85 + "  15" +
                       "Too many depths with zero data - Line 86 tctr    4321 depth      13"
                       " stst       12\r\n"
                       "Too many depths with zero data - Line 86 tctr    4321 depth      14"
                       " stst       12\r\n"
                       "\r\n\r\n" +
                       kFinished);
  EXPECT_EQ(waits_, 4);
  EXPECT_EQ(store.ctd[10][kCtdTemperature], 1402.0);
  EXPECT_EQ(store.bin_counts[13][1], 14.0);
}

TEST_F(ProfileZeroFillingTest, PassWithoutAnyDataReportsToOnePastTheEndAndFillsNothing) {
  profile(10, 15);  // limit 12
  for (int k = 10; k <= 15; ++k) {
    store.flow_lines[k] = 0.0;
    store.ctd[k][kCtdFlowCount] = store.ctd[k][kCtdFlowTime] = 0.0;
  }
  std::string line87 = "Too many depths with zero data - Line 87\r\n";
  EXPECT_EQ(run(), std::string(kStarted) + "\r\n" + line87 + line87 + line87 + line87 + "\r\n" +
                       kFinished);
  EXPECT_EQ(waits_, 4);  // steps 13, 14, 15 and 16
  for (int k = 10; k <= 15; ++k) {
    EXPECT_EQ(store.flow_lines[k], 0.0);
    EXPECT_EQ(store.ctd[k][kCtdFlowCount], 0.0);
  }
  EXPECT_EQ(store.ctd[16][kCtdFlowCount], 0.0);
}

TEST_F(ProfileZeroFillingTest, TimeModesOnlyPrintTheProgressLines) {
  for (int mode : {0, 1}) {
    profile(10, 20);
    store.smode = mode;
    clear_ctd(12);
    store.sep_frames[13] = 0.0;
    EXPECT_EQ(run(), std::string(kStarted) + kFinished);
    EXPECT_EQ(store.ctd[12][kCtdScans], 0.0);
    EXPECT_EQ(store.bin_counts[13][1], 13.0);
    EXPECT_EQ(store.range_hi, 20);
  }
}

}  // namespace

}  // namespace veka
