#include "profile/water_volume.h"

#include <gtest/gtest.h>

#include <cmath>

#include "profile/mep_means.h"
#include "profile/profile_support.h"
#include "store/store.h"

namespace veka {

namespace {

class ProfileWaterVolumeTest : public ::testing::Test {
 protected:
  // Steps lo..hi of a depth profile with one second of scans and of
  // counted frames in each step.
  void profile(int lo, int hi, int mode = 1) {
    reset_store();
    support::set_speed_curves();
    store.smode = mode;
    store.start_index = lo;
    store.end_index = hi;
    store.exp_sp = 1.0;
    store.set_flow = 1;
    store.ctd_scan_rate = 24.0;
    store.tunnel_area = 0.0049;
    for (int k = lo; k <= hi; ++k) {
      store.ctd[k][kCtdScans] = 24.0;
      store.sep_frames[k] = 2.0;
    }
  }
  void set_transit(int k, double transit) {
    store.flow_lines[k] = 1.0;
    store.ctd[k][kCtdFlowCount] = 10.0;
    store.ctd[k][kCtdFlowTime] = 10.0 * transit;
  }
};

TEST_F(ProfileWaterVolumeTest, SpeedFollowsTheCurvesOfTheTransitCount) {
  profile(1, 6);
  set_transit(1, 2.0);
  set_transit(2, 3.0);
  set_transit(3, 13.0);
  set_transit(4, 210.0);
  set_transit(5, 300.0);
  // step 6 has no flow lines
  compute_water_volume();
  const SpeedCurve& long_transit = store.speed_curve[1];
  const SpeedCurve& short_transit = store.speed_curve[2];
  double at_3 = short_transit.speed_at_root(std::sqrt(3.0));
  EXPECT_NEAR(at_3, 10.33, 0.005);
  EXPECT_EQ(store.ctd[1][kCtdTransitCount], 2.0);
  EXPECT_EQ(store.ctd[1][kCtdSpeed], at_3);
  EXPECT_EQ(store.ctd[2][kCtdSpeed], at_3);
  // 13 comes back from its square root as just under 13: the short curve.
  EXPECT_EQ(store.ctd[3][kCtdSpeed],
            short_transit.speed_at_root(std::sqrt(std::sqrt(13.0) * std::sqrt(13.0))));
  EXPECT_NEAR(store.ctd[3][kCtdSpeed], 1.081, 0.001);
  EXPECT_EQ(store.ctd[4][kCtdSpeed], long_transit.speed_at_root(std::sqrt(210.0)));
  EXPECT_NEAR(store.ctd[4][kCtdSpeed], 0.137, 0.001);
  EXPECT_EQ(store.ctd[5][kCtdTransitCount], 210.0);
  EXPECT_EQ(store.ctd[5][kCtdSpeed], store.ctd[4][kCtdSpeed]);
  EXPECT_EQ(store.ctd[6][kCtdFlowCount], 99999.0);
  EXPECT_EQ(store.ctd[6][kCtdFlowTime], 0.001);
  EXPECT_EQ(store.ctd[6][kCtdSpeed], at_3);
}

TEST_F(ProfileWaterVolumeTest, ConstantSpeedIgnoresTheFlowData) {
  profile(1, 2);
  store.set_flow = 0;
  store.exp_sp = 0.8;
  set_transit(1, 50.0);
  compute_water_volume();
  EXPECT_EQ(store.ctd[1][kCtdSpeed], 0.8);
  EXPECT_EQ(store.ctd[2][kCtdSpeed], 0.8);
  EXPECT_EQ(store.ctd[1][kCtdTransitCount], 50.0);
}

TEST_F(ProfileWaterVolumeTest, VolumeAndCountScalingInTheDepthModes) {
  profile(3, 4);
  store.set_flow = 0;              // 1 m/s
  store.ctd[3][kCtdScans] = 48.0;  // 2 s in the step, 4 frames of 0.5 s: factor 1
  store.sep_frames[3] = 4.0;
  store.ctd[4][kCtdScans] = 96.0;  // 4 s, 2 s of frames: factor 2
  store.sep_frames[4] = 4.0;
  for (int k = 1; k <= 5; ++k) {
    store.bin_counts[k][1] = 5.0;
    store.bin_counts[k][1100] = 7.0;
    store.mep_bin_counts[k][9] = 3.0;
  }
  compute_water_volume();
  EXPECT_EQ(store.ctd[3][kCtdVolume], 0.0098);
  EXPECT_EQ(store.ctd[3][kCtdCountFactor], 1.0);
  EXPECT_EQ(store.ctd[4][kCtdVolume], 0.0196);
  EXPECT_EQ(store.ctd[4][kCtdCountFactor], 2.0);
  EXPECT_DOUBLE_EQ(store.total_volume, 0.0294);
  EXPECT_EQ(store.bin_counts[3][1], 5.0);
  EXPECT_EQ(store.bin_counts[4][1], 10.0);
  EXPECT_EQ(store.bin_counts[4][1100], 14.0);
  EXPECT_EQ(store.mep_bin_counts[4][9], 6.0);
  // Above the profile the factor is 0; below it nothing is touched.
  EXPECT_EQ(store.bin_counts[1][1], 0.0);
  EXPECT_EQ(store.mep_bin_counts[2][9], 0.0);
  EXPECT_EQ(store.bin_counts[5][1], 5.0);
}

TEST_F(ProfileWaterVolumeTest, TimeModeCountsEveryIntervalAsOneUnit) {
  profile(1, 3, 0);
  store.bin_counts[2][5] = 4.0;
  compute_water_volume();
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(store.ctd[k][kCtdVolume], 1.0);
    EXPECT_EQ(store.ctd[k][kCtdCountFactor], 1.0);
  }
  EXPECT_EQ(store.total_volume, 1.0);
  EXPECT_EQ(store.bin_counts[2][5], 4.0);
}

TEST_F(ProfileWaterVolumeTest, StepWithoutFramesDropsItsCounts) {
  profile(1, 2);
  store.sep_frames[2] = 0.0;
  store.bin_counts[2][3] = 9.0;
  support::FloatErrors errors;
  compute_water_volume();
  EXPECT_FALSE(errors.any());
  EXPECT_EQ(store.ctd[2][kCtdCountFactor], 0.0);
  EXPECT_EQ(store.bin_counts[2][3], 0.0);
  EXPECT_GT(store.ctd[2][kCtdVolume], 0.0);
}

TEST(ProfileMepMeansTest, SumsBecomeMeansWhereParticlesWereCounted) {
  reset_store();
  store.ctd[7][kCtdMepParticles] = 4.0;
  store.ctd[7][kCtdInverseArea] = 10.0;
  store.ctd[7][kCtdOpacity] = 2.0;
  store.ctd[500][kCtdMepParticles] = 2.0;
  store.ctd[500][kCtdInverseArea] = 1.0;
  store.ctd[8][kCtdInverseArea] = 3.0;  // no particles: left as it is
  compute_mep_means();
  EXPECT_EQ(store.ctd[7][kCtdInverseArea], 2.5);
  EXPECT_EQ(store.ctd[7][kCtdOpacity], 0.5);
  EXPECT_EQ(store.ctd[7][kCtdMepParticles], 4.0);
  EXPECT_EQ(store.ctd[500][kCtdInverseArea], 0.5);
  EXPECT_EQ(store.ctd[8][kCtdInverseArea], 3.0);
}

}  // namespace

}  // namespace veka
