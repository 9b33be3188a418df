#include "store/store.h"

#include <gtest/gtest.h>

namespace veka {

TEST(ResetStore, LeavesNoValueOfThePreviousFile) {
  reset_store();
  store.ctd[17][kCtdVolume] = 1.5;
  store.bin_counts[500][1100] = 3.0;
  store.mep_sorted[kMepRecords].particle = 9;
  store.shape_image[300][4000] = 5;
  store.output_base_name = "out/W1_r1";
  store.nbss_values[68] = -5.0;
  store.report_profile[1][kCtdScans] = 0.5;
  store.file_number = 12;
  store.batch_started = 1;
  reset_store();
  EXPECT_EQ(store.ctd[17][kCtdVolume], 0.0);
  EXPECT_EQ(store.bin_counts[500][1100], 0.0);
  EXPECT_EQ(store.mep_sorted[kMepRecords].particle, 0);
  EXPECT_EQ(store.shape_image[300][4000], 0);
  EXPECT_EQ(store.output_base_name, "");
  EXPECT_EQ(store.nbss_values[68], 0.0);
  EXPECT_EQ(store.report_profile[1][kCtdScans], 0.0);
  // What lives across the files of a run stays.
  EXPECT_EQ(store.file_number, 12);
  EXPECT_EQ(store.batch_started, 1);
  store.batch_started = 0;
}

}  // namespace veka
