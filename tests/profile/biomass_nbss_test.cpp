#include "profile/biomass_nbss.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/console.h"
#include "profile/class_biomass.h"
#include "profile/nbss_channels.h"
#include "profile/profile_support.h"
#include "store/store.h"

namespace veka {

namespace {

class ProfileSpectraTest : public ::testing::Test {
 protected:
  // One step of one cubic metre, so a class's density is 1000 times its
  // biomass.
  void SetUp() override {
    reset_store();
    support::set_analysis_options("0", "0");
    support::set_diameter_classes();
    store.flow_scale = 1.0;
    store.start_index = store.end_index = 1;
    store.range_lo = store.range_hi = 1;
    store.ctd[1][kCtdVolume] = 1.0;
  }
  // Counts that give every class in first..last a density of about
  // `density` [ug/m3].
  void set_density(int first, int last, double density) {
    for (int j = first; j <= last; ++j) {
      store.bin_counts[1][j] = density / (1000 * biomass_per_count(j));
    }
  }
  void run() {
    console::Capture capture;
    compute_biomass_and_spectra();
    console_ = capture.text();
  }
  std::string console_;
};

TEST_F(ProfileSpectraTest, BiomassOfAClassIsASphereOfItsCentreDiameter) {
  // Class 7: centre 97.5 um; (4/3)(3.14)(0.004875 cm)^3 = 4.8505640625e-7 cm3.
  store.bin_counts[1][7] = 1.0;
  store.mep_bin_counts[1][7] = 2.0;
  run();
  EXPECT_NEAR(store.bin_biomass[1][7], 0.00048505640625, 1e-18);
  EXPECT_NEAR(store.mep_bin_biomass[1][7], 0.0009701128125, 1e-18);
  EXPECT_NEAR(store.biomass_density[7], 0.48505640625, 1e-15);
  EXPECT_EQ(store.tot_volume, 1.0);
  store.flow_scale = 0.5;
  EXPECT_NEAR(biomass_per_count(7), 0.000242528203125, 1e-18);
}

TEST_F(ProfileSpectraTest, DensityIsTheProfileMeanPerCubicMetre) {
  store.end_index = store.range_hi = 2;
  store.ctd[1][kCtdVolume] = 0.5;
  store.ctd[2][kCtdVolume] = 1.5;
  store.bin_counts[1][20] = 3.0;
  store.bin_counts[2][20] = 1.0;
  run();
  EXPECT_EQ(store.tot_volume, 2.0);
  EXPECT_NEAR(store.biomass_density[20], 4 * biomass_per_count(20) * 1000 / 2.0, 1e-12);
}

TEST_F(ProfileSpectraTest, EqualDensityInClasses7To12FillsChannels2To11) {
  set_density(7, 12, 1000.0);
  run();
  for (int i = 2; i <= 11; ++i) EXPECT_GT(store.channel_biomass[i], 0.0) << i;
  EXPECT_EQ(store.channel_biomass[12], 0.0);
  // Channel 11 holds only the last 0.43 um of class 12.
  EXPECT_NEAR(store.channel_biomass[11], 1000.0 * 0.43 / 15, 1e-9);
  EXPECT_EQ(store.nbss_first, 4);
  EXPECT_EQ(store.nbss_last, 11);
  EXPECT_EQ(store.first_empty_channel, 11);
  EXPECT_EQ(store.nbss_values[12], -5.0);
  EXPECT_NEAR(store.nbss_values[5],
              std::log10(store.channel_biomass[5] / store.channel_delta_ug[5]), 1e-8);
  EXPECT_EQ(console_, "");
}

TEST_F(ProfileSpectraTest, UniformDensityFillsEachChannelByItsWidth) {
  store.flow_scale = 1.0;
  set_channel_scale(kChannels);
  for (int j = 1; j <= kClasses; ++j) {
    store.biomass_density[j] = 1.0;
    store.mep_biomass_density[j] = 1.0;
  }
  rebin_densities(kChannels);
  const double* e = store.nbss_size_bounds;
  EXPECT_EQ(store.channel_biomass[1], 0.0);
  for (int i = 2; i <= kChannels; ++i) {
    EXPECT_NEAR(store.channel_biomass[i], (e[i] - e[i - 1]) / 15, 1e-12 * e[i]) << i;
  }
  // The multi-element spectrum leaves out channel 2's share of class 7.
  EXPECT_EQ(store.mep_channel_biomass[2], 0.0);
  EXPECT_EQ(store.mep_channel_biomass[30], store.channel_biomass[30]);
}

TEST_F(ProfileSpectraTest, ChannelEdgesWidthsAndAbscissae) {
  store.flow_scale = 1.0;
  set_channel_scale(kChannels);
  EXPECT_EQ(store.nbss_size_bounds[1], 90.0);
  EXPECT_EQ(store.nbss_size_bounds[68], 15401.0);
  EXPECT_NEAR(store.nbss_log_bounds[1], -0.657, 1e-15);
  EXPECT_NEAR(store.nbss_log_bounds[68], 6.043, 1e-12);
  // Sphere biomass [ug] between 90 and 97.18 um.
  double upper = 4.0 / 3 * 3.14 * std::pow(0.004859, 3) * 1e6;
  double lower = 4.0 / 3 * 3.14 * std::pow(0.0045, 3) * 1e6;
  EXPECT_NEAR(store.channel_delta_ug[2], upper - lower, 1e-12);
}

TEST_F(ProfileSpectraTest, Argument60Of2FixesTheLastChannelAt31) {
  support::set_analysis_options("2", "0");
  set_density(7, 12, 1000.0);
  run();
  EXPECT_EQ(store.nbss_last, 31);
  EXPECT_EQ(store.first_empty_channel, 11);
  EXPECT_EQ(store.nbss_base_first, 27);
  // The empty channels 12..31 pull the straight line down.
  EXPECT_LT(store.linear_slope, -1.0);
}

TEST_F(ProfileSpectraTest, EmptyProfile) {
  support::FloatErrors errors;
  run();
  EXPECT_FALSE(errors.any());
  for (int i = 1; i <= kChannels; ++i) EXPECT_EQ(store.nbss_values[i], -5.0) << i;
  EXPECT_EQ(store.nbss_last, 3);
  EXPECT_EQ(store.first_empty_channel, 1);
  EXPECT_EQ(store.linear_slope, 0.0);
  EXPECT_EQ(store.linear_intercept, 0.0);
  EXPECT_EQ(store.nbss_base_first, 2);
  EXPECT_EQ(console_, "");
}

TEST_F(ProfileSpectraTest, ProfileWithoutWaterHasNoDensity) {
  store.ctd[1][kCtdVolume] = 0.0;
  set_density(7, 40, 1000.0);
  support::FloatErrors errors;
  run();
  EXPECT_FALSE(errors.any());
  EXPECT_EQ(store.tot_volume, 0.0);
  EXPECT_GT(store.bin_biomass[1][8], 0.0);
  EXPECT_EQ(store.biomass_density[8], 0.0);
  EXPECT_EQ(store.nbss_last, 3);
}

}  // namespace

}  // namespace veka
