#include "profile/transmission.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/console.h"
#include "profile/biomass_nbss.h"
#include "profile/nbss_channels.h"
#include "profile/profile_support.h"
#include "store/store.h"

namespace veka {

namespace {

class ProfileTransmissionTest : public ::testing::Test {
 protected:
  // One step of one cubic metre. Small particles in classes first..70
  // (up to 1050 um); from class 80 to 220 (1200 to 3300 um, around channels
  // 37..47) ten times as many particles as multi-element particles, unless
  // there are none of the latter.
  void profile(int first_small, bool with_meps) {
    reset_store();
    support::set_diameter_classes();
    store.flow_scale = 1.0;
    store.start_index = store.end_index = 1;
    store.range_lo = store.range_hi = 1;
    store.ctd[1][kCtdVolume] = 1.0;
    for (int j = first_small; j <= 70; ++j) store.bin_counts[1][j] = 100.0;
    for (int j = 80; j <= 220; ++j) {
      store.bin_counts[1][j] = 10.0;
      if (with_meps) store.mep_bin_counts[1][j] = 1.0;
    }
    store.bin_counts[1][401] = 7.0;
  }
  void run(const std::string& option, const std::string& value) {
    support::set_analysis_options(option, value);
    console::Capture capture;
    support::FloatErrors errors;
    compute_biomass_and_spectra();
    EXPECT_FALSE(errors.any());
  }
  // ln 10 over the spectrum's own ln 10: the NBSS gap of a factor 10.
  const double decade_ = std::log(10.0) / kLn10;
};

TEST_F(ProfileTransmissionTest, WithoutAThresholdOnlyTheOffsetIsMeasured) {
  profile(1, true);
  run("3", "0");
  EXPECT_NEAR(store.trans_delta_nbss, decade_, 1e-12);
  EXPECT_EQ(store.trans_empty_channels, 0);
  EXPECT_EQ(store.trans_correction, 0.0);
  EXPECT_EQ(store.bin_counts[1][5], 100.0);
  EXPECT_EQ(store.bin_counts[1][100], 10.0);
}

TEST_F(ProfileTransmissionTest, CorrectionScalesClasses1To400) {
  profile(1, true);
  run("3", "0.5");
  // Channel 12 keeps 1 - 10^-delta of its biomass.
  double correction = 1 - std::exp(-kLn10 * store.trans_delta_nbss);
  EXPECT_NEAR(store.trans_delta_nbss, decade_, 1e-12);
  EXPECT_NEAR(store.trans_correction, correction, 1e-12);
  EXPECT_NEAR(store.trans_correction, 0.9, 1e-8);
  EXPECT_EQ(store.bin_counts[1][5], 100.0 * store.trans_correction);
  EXPECT_EQ(store.bin_counts[1][100], 10.0 * store.trans_correction);
  EXPECT_EQ(store.bin_counts[1][401], 7.0);
}

TEST_F(ProfileTransmissionTest, SpectrumIsRecomputedFromTheCorrectedCounts) {
  profile(1, true);
  run("3", "0.5");
  double corrected_density[kClasses + 1];
  double corrected_nbss[kChannels + 1];
  for (int j = 1; j <= kClasses; ++j) corrected_density[j] = store.biomass_density[j];
  for (int i = 1; i <= kChannels; ++i) corrected_nbss[i] = store.nbss_values[i];
  double correction = store.trans_correction;
  profile(1, true);
  for (int j = 1; j <= 400; ++j) store.bin_counts[1][j] = store.bin_counts[1][j] * correction;
  run("0", "0.5");
  for (int j = 1; j <= kClasses; ++j) EXPECT_EQ(corrected_density[j], store.biomass_density[j]);
  for (int i = 1; i <= kChannels; ++i) EXPECT_EQ(corrected_nbss[i], store.nbss_values[i]);
}

TEST_F(ProfileTransmissionTest, NegativeOptionWithoutLargeMepsKeepsOneHundredth) {
  profile(1, false);
  run("-3", "0.5");
  EXPECT_EQ(store.trans_empty_channels, 11);
  EXPECT_EQ(store.trans_delta_nbss, 0.0);
  EXPECT_EQ(store.trans_correction, 0.99);
  EXPECT_NEAR(store.bin_counts[1][5], 1.0, 1e-12);
  EXPECT_NEAR(store.bin_counts[1][100], 0.1, 1e-13);
  EXPECT_EQ(store.bin_counts[1][401], 7.0);
}

TEST_F(ProfileTransmissionTest, EmptyReferenceChannelMeansNoCorrection) {
  profile(30, true);  // nothing below 435 um: channel 12 stays empty
  run("3", "0.5");
  EXPECT_EQ(store.channel_biomass[12], 0.0);
  EXPECT_NEAR(store.trans_delta_nbss, decade_, 1e-12);
  EXPECT_EQ(store.trans_correction, 1.0);
  EXPECT_EQ(store.bin_counts[1][30], 100.0);
}

TEST_F(ProfileTransmissionTest, OtherOptionsLeaveTheCountsAlone) {
  for (const char* option : {"2", "5", "0"}) {
    profile(1, true);
    run(option, "0.5");
    EXPECT_EQ(store.trans_delta_nbss, 0.0) << option;
    EXPECT_EQ(store.trans_correction, 0.0);
    EXPECT_EQ(store.bin_counts[1][5], 100.0);
  }
}

}  // namespace

}  // namespace veka
