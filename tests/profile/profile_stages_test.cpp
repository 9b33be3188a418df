// The profile stages one after the other, as the batch driver runs them.
#include <gtest/gtest.h>

#include "common/console.h"
#include "profile/biomass_nbss.h"
#include "profile/mep_means.h"
#include "profile/profile_support.h"
#include "profile/totals.h"
#include "profile/water_volume.h"
#include "profile/zero_filling.h"
#include "store/store.h"

namespace veka {

namespace {

TEST(ProfileStagesTest, ProfileWithoutAnyDataReportsAndNeverDividesByZero) {
  reset_store();
  support::set_analysis_options("0", "0");
  support::set_speed_curves();
  support::set_diameter_classes();
  store.smode = 2;
  store.start_index = store.end_index = 10;
  store.exp_sp = 1.0;
  store.set_flow = 1;
  store.ctd_scan_rate = 24.0;
  store.tunnel_area = 0.0049;
  store.flow_scale = 1.0;
  console::Capture capture(support::enter_presses(8));
  support::FloatErrors errors;
  fill_zeros();
  compute_water_volume();
  compute_mep_means();
  compute_biomass_and_spectra();
  compute_size_class_totals();
  EXPECT_FALSE(errors.any());
  std::string zero_volume = "Found zero volume at line 91\r\n";
  EXPECT_EQ(capture.text(),
            "Started filling zeros - Depths\r\n"
            "Too many depths with zero data - Line 85\r\n"
            "Too many depths with zero data - Line 86 tctr       0 depth      11 stst       10\r\n"
            "\r\n"
            "Too many depths with zero data - Line 87\r\n"
            "\r\n"
            "Finished filling zeros\r\n" +
                zero_volume + zero_volume + zero_volume + zero_volume + zero_volume);
  EXPECT_EQ(capture.waits(), 8);
  EXPECT_EQ(store.ctd[10][kCtdVolume], 0.0);
  EXPECT_EQ(store.ctd[10][kCtdCountFactor], 0.0);
  EXPECT_EQ(store.total_volume, 0.0);
  EXPECT_EQ(store.tot_volume, 0.0);
  EXPECT_EQ(store.nbss_last, 3);
  EXPECT_EQ(store.areal_counts, 0.0);
}

}  // namespace

}  // namespace veka
