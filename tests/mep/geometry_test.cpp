#include "mep/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/console.h"
#include "mep/analysis.h"
#include "mep/shape_picture.h"
#include "mep_fixture.h"

namespace veka {

namespace {

using mep_testing::add_particle;
using mep_testing::hold_particle;
using mep_testing::Record;
using mep_testing::small_particle;
using mep_testing::start_mep_file;

constexpr int32_t kSmall = 10;    // w = 1
constexpr int32_t kDark = 36;     // w = 1, above dark_size
constexpr int32_t kWidth2 = 325;  // smallest size of w = 2
constexpr int32_t kWidth3 = 647;
constexpr int32_t kWidth5 = 1408;
constexpr int32_t kWidth8 = 3109;

// The inner block of a three-record particle whose neighbours lie `span`
// time counts apart, with S = 8 (one cell row per time count).
ElementBlock middle_block(int32_t size, int32_t span, int32_t duration = 1) {
  start_mep_file(8.0);
  add_particle({{0, 0, 1, kSmall}, {1, 0, duration, size}, {2, span, 1, kSmall}});
  hold_particle(1, 8.0);
  return inner_block(2);
}

TEST(MepGeometry, ShortInnerBlocksKeepAboutEightCells) {
  const int32_t widths[] = {0, 8, 4, 3, 2, 2, 1, 1};
  for (int32_t length = 1; length <= 7; ++length) {
    const ElementBlock block = middle_block(kSmall, length - 1);
    EXPECT_EQ(block.length, length);
    EXPECT_EQ(block.width, widths[length]) << "L = " << length;
    EXPECT_EQ(block.shear, 8);
    const ElementBlock dark = middle_block(kDark, length - 1);
    EXPECT_EQ(dark.width, 8) << "L = " << length;
    EXPECT_EQ(dark.shear, 1);
  }
}

TEST(MepGeometry, LongNarrowBlocksRoundHalvesToEven) {
  ElementBlock block = middle_block(kWidth5, 9);
  EXPECT_EQ(block.length, 10);
  EXPECT_EQ(block.width, 2);  // r = 2, Round(2.5) = 2
  EXPECT_EQ(block.shear, 7);
  block = middle_block(kWidth2, 9);
  EXPECT_EQ(block.width, 1);  // r = 4, Round(0.5) = 0, raised to 1
  EXPECT_EQ(block.shear, 9);
  block = middle_block(kWidth3, 9);
  EXPECT_EQ(block.width, 1);  // r = Round(2.67) = 3, Round(1.0) = 1
  EXPECT_EQ(block.shear, 8);
}

TEST(MepGeometry, DurationOfExactly1Point2SRunsBothSteps) {
  start_mep_file(10.0);
  add_particle({{0, 0, 1, kSmall}, {1, 5, 12, kDark}, {2, 20, 1, kSmall}});
  hold_particle(1, 10.0);
  const ElementBlock block = inner_block(2);
  EXPECT_EQ(block.kind, 2);
  EXPECT_EQ(block.length, 17);  // Round(8 * 20 / 10 + 0.51) from the neighbours
  EXPECT_EQ(block.b0, 17);      // from the own-duration step, after the time moved to 20
  EXPECT_EQ(store.mep_sorted[2].time, 20);
  EXPECT_EQ(block.width, 1);
  EXPECT_EQ(block.a0, 9);
}

TEST(MepGeometry, LongDarkInnerElementUsesItsOwnDuration) {
  start_mep_file(10.0);
  add_particle({{0, 0, 1, kSmall}, {1, 5, 50, kWidth8}, {2, 20, 1, kSmall}});
  hold_particle(1, 10.0);
  const ElementBlock block = inner_block(2);
  EXPECT_EQ(block.length, 32);  // Round(8 * 40 / 10)
  EXPECT_EQ(block.width, 8);    // above full_width_size
  EXPECT_EQ(block.b0, 5);       // Round(8 * 5 / 10) + 1: the time is kept
  EXPECT_EQ(store.mep_sorted[2].time, 5);
}

TEST(MepGeometry, LaterPredecessorGivesRightAlignedBlockShearedDown) {
  start_mep_file(8.0);
  store.shape_file_option = 1;
  add_particle({{0, 5, 1, kSmall}, {1, 3, 1, kSmall}, {2, 0, 1, kSmall}});
  hold_particle(1, 8.0);
  draw_particle_blocks();
  // Kind 3: L = 6, w = Round(8/6) = 1, a0 = 8 + 7 + 1 = 16, b0 = 1, shifts 0,1,2,4,5,6.
  const int32_t columns[] = {17, 16, 15, 13, 12, 11};
  for (int32_t k = 1; k <= 6; ++k) {
    for (int32_t a = 10; a <= 17; ++a) {
      EXPECT_EQ(picture_cell(a, 1 + k), a == columns[k - 1] ? 5 : 0) << a << "," << 1 + k;
    }
  }
  EXPECT_EQ(store.mep_sorted[2].time, 0);
}

TEST(MepGeometry, NoCellIsDrawnWithoutTheShapeFile) {
  start_mep_file(8.0);  // shape_file_option 0
  add_particle({{0, 5, 1, kSmall}, {1, 3, 1, kSmall}, {2, 0, 1, kSmall}});
  hold_particle(1, 8.0);
  draw_particle_blocks();
  for (int32_t a = 1; a <= 30; ++a) {
    for (int32_t b = 1; b <= 20; ++b) ASSERT_EQ(picture_cell(a, b), 0) << a << "," << b;
  }
  EXPECT_EQ(store.mep_sorted[2].time, 0);  // the geometry itself still runs
}

TEST(MepGeometry, EndBlocksOfWidthOneAndLongLength) {
  start_mep_file(8.0);
  add_particle({{0, 0, 20, kSmall}, {1, 0, 1, kWidth8}, {2, 0, 1, kSmall}});
  hold_particle(1, 8.0);
  const ElementBlock head = first_block();
  EXPECT_EQ(head.kind, 5);
  EXPECT_EQ(head.length, 12);
  EXPECT_EQ(head.width, 1);
  EXPECT_EQ(head.a0, 9);  // placed with the width 0 before it is raised to 1
  draw_particle_blocks();
  EXPECT_EQ(store.length_width[11], 0.125);  // w = 1 and L > 8 wins over w*L/64
  EXPECT_EQ(store.length_cells[11], 0.125);  // w/8 outside the inner rows
  EXPECT_EQ(store.length_cells[7], 1.0);     // rows of the inner block stay 1
  EXPECT_EQ(store.cross_width[8], 0.125);
}

TEST(MepGeometry, ThinNeighbourShortensEndBlocks) {
  start_mep_file(8.0);
  add_particle({{0, 0, 1, 400}, {1, 0, 1, kSmall}, {2, 0, 1, 400}});
  hold_particle(1, 8.0);
  draw_particle_blocks();  // the inner block is one row long
  EXPECT_EQ(store.thin_neighbour[0], 1);
  EXPECT_EQ(store.thin_neighbour[1], 1);
  const ElementBlock head = first_block();
  EXPECT_EQ(head.length, 1);
  EXPECT_EQ(head.width, 3);  // Round(64 A) = Round(3.04)
  EXPECT_EQ(head.a0, 6);
  const ElementBlock tail = last_block();
  EXPECT_EQ(tail.length, 1);
  EXPECT_EQ(tail.width, 3);
  EXPECT_EQ(tail.a0, 17);
}

// Runs the analysis on the particles already in mep_sorted, without a shape
// file; returns the console.
std::string analyse() {
  console::Capture capture;
  analyse_meps();
  return capture.text();
}

TEST(MepGeometry, ShapeMetricsOfSmallShortParticles) {
  start_mep_file(8.0);
  add_particle(small_particle(3, kSmall));
  analyse();
  EXPECT_EQ(store.mep_diameter, std::sqrt(0.015625 / (0.015625 / 1.0 + 1)));
  EXPECT_EQ(store.mep_length, std::sqrt(0.125 * 0.125 + 1.0 * 1.0));

  start_mep_file(8.0);
  add_particle(small_particle(3, 400));  // a dark inner element: 8 x 2 cells
  analyse();
  EXPECT_EQ(store.mep_diameter, std::sqrt(0.0625 / (0.0625 / 0.5625 + 1)));
  EXPECT_EQ(store.mep_length, std::sqrt(0.25 * 0.25 + 1.125 * 1.125));
}

TEST(MepGeometry, ShapeMetricsOfWideAndLongParticles) {
  start_mep_file(8.0);
  add_particle(small_particle(3, kWidth8));
  analyse();
  EXPECT_EQ(store.mep_diameter, 1.0);  // across widths 3 mm > along widths 1 mm
  EXPECT_EQ(store.mep_length, 3.0);

  start_mep_file(8.0);
  add_particle({{0, 0, 80, kWidth8}, {1, 0, 1, kWidth8}, {2, 0, 1, kWidth8}});
  analyse();
  EXPECT_EQ(store.mep_diameter, 2.0);  // (xeff + Cw) / 2
  EXPECT_EQ(store.mep_length, 9.0);
  EXPECT_EQ(store.drawn_particle_count, 1);
}

TEST(MepGeometry, StringCountOncePerInnerRecordAndOnceForTheEnds) {
  start_mep_file(8.0);
  add_particle({{0, 0, 308, kSmall}, {1, 0, 1, kSmall}, {2, 0, 1, kSmall}});
  add_particle(
      {{0, 0, 308, kSmall}, {1, 0, 308, kWidth8}, {2, 0, 308, kWidth8}, {3, 0, 1, kSmall}});
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 2);
  EXPECT_EQ(store.mep_string_count, 3);
}

TEST(MepSelection, ParticlesOfTwoThreeThirtyAndThirtyOneRecords) {
  start_mep_file(8.0);
  add_particle(small_particle(2));
  add_particle(small_particle(3));
  add_particle(small_particle(30));
  add_particle(small_particle(31));
  add_particle(small_particle(3));
  add_particle({{5, 3, 1, 4000}});  // last one-record particle: never looked at
  const std::string console = analyse();
  EXPECT_EQ(store.drawn_particle_count, 3);
  EXPECT_NE(console.find("Max. size in multi-elem    10\r\n"), std::string::npos);
  EXPECT_EQ(store.mep_sorted[store.mep_count].element, 5);
  EXPECT_EQ(store.mep_sorted[store.mep_count].time, 3);
}

TEST(MepSelection, SpanOfExactly45TimesTheExpectedTransitCount) {
  start_mep_file(16.0);
  add_particle({{0, 0, 1, kSmall}, {1, 0, 1, kSmall}, {2, 0, 720, kSmall}});
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 1);
  start_mep_file(16.0);
  add_particle({{0, 0, 1, kSmall}, {1, 0, 1, kSmall}, {2, 0, 721, kSmall}});
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 0);
}

TEST(MepSelection, NoExpectedTransitCountAnalysesNothing) {
  start_mep_file(0.0);
  add_particle(small_particle(3));
  add_particle(small_particle(3));
  const std::string console = analyse();
  EXPECT_EQ(store.drawn_particle_count, 0);
  EXPECT_EQ(console,
            "Print diameters MEPs\r\n"
            "Max. size in multi-elem    10\r\n"
            "Write to data file at bug count\r\n"
            "\r\n"
            " Finished MEPs  - File #   7  Depths  12-  80\r\n");
}

// One particle with a single long inner element of the given size.
void add_opaque_particle(int32_t size, int32_t first_step = 1, int32_t second_step = 1) {
  const int32_t first =
      add_particle({{0, 0, 1, kSmall}, {1, 0, 30, size}, {2, 0, 1, kSmall}}, first_step);
  store.mep_sorted[first + 1].step = second_step;
}

TEST(MepSelection, OpacityBound) {
  start_mep_file(16.0, "2", "0.5");
  add_opaque_particle(1900);  // opacity 0.5: kept
  add_opaque_particle(1901);
  add_opaque_particle(1900);
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 2);
  start_mep_file(16.0, "2", "0");  // threshold 2.0
  add_opaque_particle(7600);
  add_opaque_particle(7601);
  add_opaque_particle(7600);
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 2);
  start_mep_file(16.0, "3", "0.5");  // only option 2 drops
  add_opaque_particle(1901);
  add_opaque_particle(1901);
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 2);
}

TEST(MepSelection, InverseAreaBound) {
  start_mep_file(16.0);
  add_opaque_particle(50);  // 1/A = 200.15: dropped
  add_opaque_particle(51);  // 197.7
  add_opaque_particle(51);
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 2);
  start_mep_file(16.0);
  store.mean_inverse_area_limit = 1 / element_area(51);
  add_opaque_particle(51);
  add_opaque_particle(51);
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 0);
  start_mep_file(16.0);
  store.mean_inverse_area_limit = std::nextafter(1 / element_area(51), 1000.0);
  add_opaque_particle(51);
  add_opaque_particle(51);
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 2);
}

TEST(MepSelection, DroppedParticleLeavesNoTrace) {
  start_mep_file(16.0);
  add_opaque_particle(40);  // dropped by its inverse area after its sums were made
  add_opaque_particle(1900);
  add_opaque_particle(1900);
  analyse();
  EXPECT_EQ(store.drawn_particle_count, 2);
  EXPECT_EQ(store.mep_mean_opacity, 0.5);
  EXPECT_EQ(store.mep_opacity_elements, 1);
}

TEST(MepInnerStatistics, MeansGoToTheSecondRecordsStep) {
  start_mep_file(16.0);
  add_opaque_particle(40, 4, 5);  // dropped later, but counted here
  add_opaque_particle(1900, 4, 5);
  add_opaque_particle(1900, 0, 5);  // first record outside the profile
  add_particle(small_particle(3), 6);
  analyse();
  EXPECT_EQ(store.ctd[5][kCtdMepParticles], 2.0);
  EXPECT_EQ(store.ctd[5][kCtdInverseArea], 1 / element_area(40) + 1 / element_area(1900));
  EXPECT_EQ(store.ctd[5][kCtdOpacity], 40 / 3800.0 + 0.5);
  EXPECT_EQ(store.ctd[4][kCtdMepParticles], 0.0);
  EXPECT_EQ(store.ctd[6][kCtdMepParticles], 0.0);  // no element longer than 1.5 S
}

TEST(MepInnerStatistics, OnlyElementsLongerThanOneAndAHalfTransitCounts) {
  start_mep_file(16.0);
  const int32_t first = add_particle(
      {{0, 0, 1, 100}, {1, 0, 24, 500}, {2, 0, 25, 3800}, {3, 0, 25, 1900}, {4, 0, 90, 1000}});
  hold_particle(first, 16.0);
  gather_inner_statistics();
  EXPECT_EQ(store.mep_opacity_elements,
            2);  // 24 = 1.5 S is not longer; the last record is not inner
  EXPECT_EQ(store.mep_mean_opacity, (1.0 + 0.5) / 2);
  EXPECT_EQ(store.mep_mean_inverse_area, (1 / element_area(3800) + 1 / element_area(1900)) / 2);
}

class MepTransitCount : public ::testing::Test {
 protected:
  void SetUp() override {
    start_mep_file(12.0);
    store.set_flow = 1;
    store.previous_transit_count = 10.0;
    hold_particle(add_particle(small_particle(3), 9), 0.0);
    store.flow_lines[9] = 2;
    store.ctd[9][kCtdFlowCount] = 1.0;
  }
  double transit_with_measured(double measured) {
    store.ctd[9][kCtdFlowTime] = measured;
    store.previous_transit_count = 10.0;
    choose_transit_count();
    EXPECT_EQ(store.previous_transit_count, store.mep_transit_count);
    return store.mep_transit_count;
  }
};

TEST_F(MepTransitCount, BlendsWithinOneThirdToThreeTimesExpected) {
  const double low = 12.0 * store.transit_band_low;
  EXPECT_EQ(transit_with_measured(low), 0.5 * 10.0 + 0.5 * low);
  EXPECT_EQ(transit_with_measured(std::nextafter(low, 0.0)), 10.0);
  EXPECT_EQ(transit_with_measured(36.0), 0.5 * 10.0 + 0.5 * 36.0);
  EXPECT_EQ(transit_with_measured(std::nextafter(36.0, 100.0)), 10.0);
  EXPECT_EQ(transit_with_measured(14.0), 12.0);
}

TEST_F(MepTransitCount, WithoutMeasuredFlowTheCountCarriesOver) {
  store.flow_lines[9] = 0;
  EXPECT_EQ(transit_with_measured(14.0), 10.0);
  store.flow_lines[9] = 2;
  store.mep_sorted[store.particle_first_record].step = 501;
  EXPECT_EQ(transit_with_measured(14.0), 10.0);
  store.set_flow = 0;
  EXPECT_EQ(transit_with_measured(14.0), 12.0);
}

}  // namespace

}  // namespace veka
