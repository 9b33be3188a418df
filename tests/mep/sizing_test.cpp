#include "mep/sizing.h"

#include <gtest/gtest.h>

#include "common/console.h"
#include "mep_fixture.h"

namespace veka {

namespace {

using mep_testing::add_particle;
using mep_testing::hold_particle;
using mep_testing::Record;
using mep_testing::start_mep_file;

double biomass_of(double esd) {
  const double r = esd / 20;
  return store.flow_scale * 1000 * 4.1866666666666665 * (r * r * r);
}

class MepSizing : public ::testing::Test {
 protected:
  void start(const std::string& argument60 = "0", const std::string& argument61 = "0") {
    start_mep_file(16.0, argument60, argument61);
    store.flow_scale = 2.0;
    store.diameter_range_low_mm = 0.1;
    store.diameter_range_high_mm = 10.0;
    for (int i = 1; i <= 6; ++i) {
      store.shape_diameter_bounds[i] = 0.0;
      store.shape_length_bounds[i] = 0.0;
    }
  }
  // Sizes a particle of the given element sizes on the given step.
  static void size_particle(const std::vector<int32_t>& sizes, int32_t step = 4) {
    std::vector<Record> records;
    for (int32_t size : sizes) records.push_back({0, 0, 1, size});
    hold_particle(add_particle(records, step), 16.0);
    size_mep();
  }
  static double small_counts(int32_t step, int32_t k) { return store.bin_counts[step][k]; }
};

TEST_F(MepSizing, SizeClassesOf15Micrometres) {
  EXPECT_EQ(mep_size_class(0.015), 2);
  EXPECT_EQ(mep_size_class(0.0149), 1);
  EXPECT_EQ(mep_size_class(0.0), 1);
  EXPECT_EQ(mep_size_class(16.49), 1100);
  EXPECT_EQ(mep_size_class(16.5), 1100);  // 1101 would lie outside the classes
  EXPECT_EQ(mep_size_class(30.0), 1100);
}

TEST_F(MepSizing, SixMillimetresCountAsLarge) {
  start();
  count_sized_mep(4, 6.0);
  EXPECT_EQ(store.bin_counts[4][401], 1.0);
  EXPECT_EQ(store.mep_bin_counts[4][401], 1.0);
  EXPECT_EQ(store.mep_over_6mm_count, 1);
  EXPECT_EQ(store.large_mep_esd[1], 6.0);
  EXPECT_EQ(store.mep_mm_counts[7], 1);
  EXPECT_EQ(store.mep_mm_totals[7], 1);
  EXPECT_EQ(store.mep_large_biomass, biomass_of(6.0));
  EXPECT_EQ(store.mep_step_counts[4][401], 0.0);
  EXPECT_EQ(store.mep_filtered_counts, 1.0);

  start();
  count_sized_mep(4, 5.999);
  EXPECT_EQ(store.bin_counts[4][400], 1.0);
  EXPECT_EQ(store.mep_over_6mm_count, 0);
  EXPECT_EQ(store.mep_mm_totals[6], 1);
  EXPECT_EQ(store.mep_mm_counts[6] + store.mep_mm_counts[7], 0);
  EXPECT_EQ(store.mep_step_counts[4][400], 1.0);
  EXPECT_EQ(store.mep_step_biomass[4][400], biomass_of(5.999));
  EXPECT_EQ(store.mep_large_biomass, 0.0);
}

TEST_F(MepSizing, The501stLargeParticle) {
  start();
  store.mep_mean_opacity = 0.6;
  for (int i = 0; i < 501; ++i) count_sized_mep(2, 7.0);
  const int32_t k = 467;  // Round(466.67 + 0.50001)
  EXPECT_EQ(store.bin_counts[2][k], 500.0);
  EXPECT_EQ(store.mep_opaque_bin_counts[2][k], 500.0);
  EXPECT_EQ(store.mep_over_6mm_count, 500);
  EXPECT_EQ(store.large_mep_esd[500], 7.0);
  EXPECT_EQ(store.mep_bin_counts[2][k], 501.0);
  EXPECT_EQ(store.mep_mm_counts[8], 501);
  EXPECT_EQ(store.mep_mm_totals[8], 501);
  EXPECT_EQ(store.mep_filtered_counts, 501.0);
}

TEST_F(MepSizing, Argument60DecidesWhichSmallParticlesReachTheCounts) {
  struct Case {
    const char* mode;
    const char* g;
    double counts;  // of two particles, opacity 0.3 and 0.7
    double mep_counts;
  };
  const Case cases[] = {{"0", "0.5", 2, 2}, {"2", "0.5", 2, 2}, {"3", "0.5", 2, 1},
                        {"4", "0.5", 2, 2}, {"5", "0.5", 1, 2}, {"6", "0.5", 1, 2},
                        {"7", "0.5", 0, 2}, {"5", "0", 0, 2},   {"6", "0", 0, 2}};
  for (const Case& c : cases) {
    start(c.mode, c.g);
    store.mep_mean_opacity = 0.3;
    count_sized_mep(3, 1.0);
    store.mep_mean_opacity = 0.7;
    count_sized_mep(3, 1.0);
    EXPECT_EQ(small_counts(3, 67), c.counts) << "argument 60 = " << c.mode << ", 61 = " << c.g;
    EXPECT_EQ(store.mep_bin_counts[3][67], c.mep_counts) << c.mode << ", " << c.g;
  }
}

TEST_F(MepSizing, TranslucentParticlesSkipTheShapeClassesInMode3) {
  start("3", "0.5");
  store.mep_mean_opacity = 0.3;
  count_sized_mep(3, 1.0);
  EXPECT_EQ(store.mep_step_counts[3][67], 0.0);
  EXPECT_EQ(store.mep_mm_totals[2], 1);
  EXPECT_EQ(store.mep_filtered_counts, 1.0);
  store.mep_mean_opacity = 0.5;
  count_sized_mep(3, 1.0);
  EXPECT_EQ(store.mep_step_counts[3][67], 1.0);
  EXPECT_EQ(store.mep_bin_counts[3][67], 1.0);  // the opaque one is not a counted MEP
}

TEST_F(MepSizing, SummedSizeBelow100GivesClassOne) {
  start();
  size_particle({30, 30, 39});
  EXPECT_EQ(small_counts(4, 1), 1.0);
  EXPECT_EQ(store.mep_bin_counts[4][1], 1.0);
  EXPECT_EQ(store.mep_mm_totals[1], 1);
  size_particle({30, 30, 40});  // ESD 0.206 mm, class 14
  EXPECT_EQ(small_counts(4, 14), 1.0);
}

TEST_F(MepSizing, Argument60Of1SwitchesTheSizingOff) {
  start("1");
  size_particle({3000, 3000, 3000});
  EXPECT_EQ(small_counts(4, 1), 1.0);
  EXPECT_EQ(store.mep_mm_totals[1], 1);
}

TEST_F(MepSizing, OnlyParticlesWithinTheProfileAreCounted) {
  start();
  store.range_hi = 10;
  size_particle({3000, 3000, 3000}, 11);  // ESD 2.39 mm
  size_particle({3000, 3000, 3000}, 0);
  EXPECT_EQ(store.mep_filtered_counts, 0.0);
  EXPECT_EQ(store.mep_mm_totals[3], 0);
  size_particle({3000, 3000, 3000}, 10);
  EXPECT_EQ(store.mep_filtered_counts, 1.0);
  EXPECT_EQ(store.mep_mm_totals[3], 1);
}

TEST_F(MepSizing, ShapeClassesAreOpenBelowAndClosedAbove) {
  start();
  const double bounds[7] = {0, 0.5, 1.0, 0.8, 2.0, 0.5, 2.0};
  for (int i = 1; i <= 6; ++i)
    store.shape_diameter_bounds[i] = store.shape_length_bounds[i] = bounds[i];
  store.shape_ratio_bounds[5] = 1.0;
  store.shape_ratio_bounds[6] = 2.0;
  const double particles[][2] = {{1.0, 1.0}, {0.5, 1.0}, {1.0, 2.0}, {1.0, 1.5}};
  for (const auto& dl : particles) {
    store.mep_diameter = dl[0];
    store.mep_length = dl[1];
    count_sized_mep(1, 1.0);
  }
  EXPECT_EQ(store.shape_counts[1], 1.0);  // (1.0, 1.0)
  EXPECT_EQ(store.shape_counts[2], 3.0);  // (1.0, 1.0), (1.0, 2.0), (1.0, 1.5)
  EXPECT_EQ(store.shape_counts[3], 1.0);  // ratio 1.5 only; 1.0 and 2.0 are bounds
  EXPECT_EQ(store.mep_ld_sum, 1.5);
  EXPECT_EQ(store.mep_ld_count, 1.0);
  EXPECT_EQ(store.shape_biomass[2], 3 * biomass_of(1.0));
}

TEST_F(MepSizing, ParticleAt35MillimetresWarns) {
  start();
  console::Capture capture("\n");
  count_sized_mep(1, 34.4);
  EXPECT_EQ(capture.text(), "");
  EXPECT_EQ(store.mep_mm_totals[35], 1);
  count_sized_mep(1, 35.0);
  EXPECT_EQ(capture.text(),
            "\r\nNote you have a particle esd greater than 35mm -press \"enter\" to continue\r\n");
  EXPECT_EQ(capture.waits(), 1);
  EXPECT_EQ(store.mep_mm_counts[36], 1);
  EXPECT_EQ(store.mep_mm_totals[35], 1);  // 35.0 would need a 36th whole millimetre
}

TEST_F(MepSizing, ClosingLine) {
  start();
  store.file_number_text = "123";
  store.top_depth = 2.5;
  store.bottom_depth = 351.5;
  console::Capture capture;
  console::write("       4");
  finish_mep_analysis();
  EXPECT_EQ(capture.text(), "       4\r\n Finished MEPs  - File # 123  Depths   2- 352\r\n");
  EXPECT_EQ(store.mep_ld_count, 1.0);
  EXPECT_EQ(store.mep_ld_sum, 0.0);
  store.mep_ld_count = 2.0;
  store.mep_ld_sum = 3.0;
  finish_mep_analysis();
  EXPECT_EQ(store.mep_ld_count, 2.0);
  EXPECT_EQ(store.mep_ld_sum, 3.0);
}

}  // namespace

}  // namespace veka
