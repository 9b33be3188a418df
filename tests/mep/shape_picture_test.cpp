#include "mep/shape_picture.h"

#include <gtest/gtest.h>

#include <string>

#include "common/console.h"
#include "mep/analysis.h"
#include "mep_fixture.h"

namespace veka {

namespace {

using mep_testing::add_particle;
using mep_testing::small_particle;
using mep_testing::start_mep_file;
using support::file_exists;
using support::read_file;
using support::ScratchDir;

std::string repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

class MepShapeFile : public ::testing::Test {
 protected:
  void start(double option) {
    start_mep_file(8.0);
    store.shape_file_option = option;
    store.output_base_name = scratch_.path() + "W7_r1";
  }
  std::string analyse() {
    console::Capture capture;
    analyse_meps();
    return capture.text();
  }
  std::string shape_file() const { return read_file(scratch_.path() + "W7_r1_Shape.csv"); }
  ScratchDir scratch_;
};

// Three small elements side by side: the inner one is drawn as one row of
// eight cells (columns 10..17, line 2), the thin end blocks have no cells.
TEST_F(MepShapeFile, LineLayoutAndConsole) {
  start(1);
  add_particle({{0, 0, 8, 10}, {1, 0, 1, 10}, {2, 0, 1, 10}}, 3);
  const std::string console = analyse();
  EXPECT_EQ(console, "\r\n" + scratch_.path() + "W7_r1Shape.csv\r\n" +
                         "Started Multi bugs plot files\r\n"
                         "Print diameters MEPs\r\n"
                         "Max. size in multi-elem    10\r\n"
                         "Write to data file at bug count\r\n"
                         "       1\r\n"
                         " Finished MEPs  - File #   7  Depths  12-  80\r\n");
  const std::string empty_line = repeated(",", 26);
  EXPECT_EQ(shape_file(), repeated("1,", 255) + "\r\n" +                                //
                              "     3,     1" + empty_line + "\r\n" +                   //
                              "     0,     0" + repeated(",", 9) + repeated("5,", 8) +  //
                              repeated(",", 9) + "\r\n" +                               //
                              "     0,     0" + empty_line + "\r\n");
}

TEST_F(MepShapeFile, UnanalysableParticleDiscardsTheBatch) {
  start(1);
  add_particle(small_particle(3), 1);
  add_particle(small_particle(2), 2);
  add_particle(small_particle(3), 3);
  const std::string console = analyse();
  EXPECT_NE(console.find("Write to data file at bug count\r\n       2\r\n"), std::string::npos);
  EXPECT_EQ(shape_file(), repeated("1,", 255) + "\r\n" +                                //
                              "     3,     2" + repeated(",", 26) + "\r\n" +            //
                              "     0,     0" + repeated(",", 9) + repeated("4,", 8) +  //
                              repeated(",", 9) + "\r\n");
}

TEST_F(MepShapeFile, LastParticleNotAnalysedLeavesNothingToWrite) {
  start(1);
  add_particle(small_particle(3));
  add_particle(small_particle(2));
  add_particle(small_particle(1));
  const std::string console = analyse();
  EXPECT_NE(console.find("Write to data file at bug count\r\n\r\n"), std::string::npos);
  EXPECT_EQ(shape_file(), "");
}

TEST_F(MepShapeFile, BatchWrittenWhenTheNextParticleWouldPassTheWidth) {
  start(0);
  for (int i = 0; i < 12; ++i) add_particle(small_particle(3));
  const std::string console = analyse();
  // Nine particles take 9 * 26 = 234 columns; a tenth of 24 would pass 250.
  EXPECT_NE(console.find("Write to data file at bug count\r\n       9      12\r\n"),
            std::string::npos);
  EXPECT_EQ(console.find("Shape.csv"), std::string::npos);
  EXPECT_FALSE(file_exists(scratch_.path() + "W7_r1_Shape.csv"));
}

TEST_F(MepShapeFile, OtherOptionsCreateAnEmptyFile) {
  start(2);
  add_particle(small_particle(3));
  add_particle(small_particle(3));
  const std::string console = analyse();
  EXPECT_NE(console.find("Started Multi bugs plot files\r\n"), std::string::npos);
  EXPECT_TRUE(file_exists(scratch_.path() + "W7_r1_Shape.csv"));
  EXPECT_EQ(shape_file(), "");
}

TEST_F(MepShapeFile, PictureIsDrawnOnlyForTheShapeFile) {
  std::string consoles[2];
  double diameters[2];
  for (int option : {0, 1}) {
    start(option);
    for (int i = 0; i < 12; ++i) add_particle(small_particle(3 + i % 4));
    std::string console = analyse();
    consoles[option] = console.substr(console.find("Print diameters"));
    diameters[option] = store.mep_diameter;
  }
  // Without the file the cells are not drawn; nothing else may change.
  EXPECT_EQ(consoles[0], consoles[1]);
  EXPECT_EQ(diameters[0], diameters[1]);
}

TEST_F(MepShapeFile, TraceOfParticlesNumberedAbove100000) {
  start(0);
  add_particle(small_particle(3));
  add_particle({{0, 0, 8, 10}, {1, 0, 1, 10}, {2, 0, 1, 10}}, 1, 100001);
  const std::string console = analyse();
  EXPECT_NE(console.find(
                "Write to data file at bug count\r\n"
                "Loop 2 -me[1,2,3]  1   0   1 e1    8 e2    1 x1    9 x5   26 size   10 y1    1\r\n"
                "Loop 4 -me[1,2,3]  0   0   8 e1    0 e2    1 x1    9 x5   26 size   10 y1    1\r\n"
                "Loop 6 -me[1,2,3]  2   0   1 e1    0 e2    1 x1   17 x5   26 size   10 y1    1\r\n"
                "       2\r\n"),
            std::string::npos)
      << console;
}

// Picture tests: cells drawn by hand for a particle of three elements at
// the start of an empty batch, then placed.
class MepPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    start_mep_file(8.0);
    store.shape_file_option = 1;  // the picture is drawn only for the shape file
  }
  static void fill(int32_t a_from, int32_t a_to, int32_t b_from, int32_t b_to, int32_t value) {
    for (int32_t a = a_from; a <= a_to; ++a) {
      for (int32_t b = b_from; b <= b_to; ++b) set_picture_cell(a, b, value);
    }
  }
  static void place(int32_t span, double transit_count) {
    store.particle_element_count = 3;
    store.particle_span = span;
    store.mep_transit_count = transit_count;
    place_particle_in_picture();
  }
  // Lines of column a holding a cell, as text ("6 7 8").
  static std::string lines_of(int32_t a) {
    std::string text;
    for (int32_t b = 1; b <= 40; ++b) {
      if (picture_cell(a, b) != 0) text += (text.empty() ? "" : " ") + std::to_string(b);
    }
    return text;
  }
};

TEST_F(MepPicture, FirstBlockEndingBeforeItsNeighbourMovesDown) {
  fill(2, 9, 2, 4, 4);
  fill(10, 17, 8, 12, 5);
  fill(18, 25, 8, 12, 4);
  place(12, 8.0);  // height 13, erase from a gap of Round(19.2) = 19
  EXPECT_EQ(store.batch_offset, 26);
  EXPECT_EQ(store.picture_height, 13);
  for (int32_t a = 3; a <= 8; ++a) EXPECT_EQ(lines_of(a), "6 7 8") << a;
  EXPECT_EQ(lines_of(14), "8 9 10 11 12");
}

TEST_F(MepPicture, FirstBlockFarFromItsNeighbourIsErased) {
  fill(2, 9, 2, 4, 4);
  fill(10, 17, 7, 12, 5);
  fill(18, 25, 7, 12, 4);
  place(2, 1.0);  // gap 3 >= Round(2.4)
  for (int32_t a = 1; a <= 9; ++a) EXPECT_EQ(lines_of(a), "") << a;
  EXPECT_EQ(lines_of(20), "7 8 9 10 11 12");
}

TEST_F(MepPicture, LastBlockStartingAfterItsNeighbourMovesUp) {
  fill(2, 9, 2, 4, 4);
  fill(10, 17, 2, 4, 5);
  fill(18, 25, 8, 10, 4);
  place(12, 8.0);
  for (int32_t a = 19; a <= 24; ++a) EXPECT_EQ(lines_of(a), "4 5 6") << a;
  EXPECT_EQ(lines_of(5), "2 3 4");
}

// Corners of a 4 x 4 block, cell by cell in line order: the top corners and
// the cells next to them are cut first, which shields the lower corners.
TEST_F(MepPicture, CornerTidyingOfASquareBlock) {
  fill(10, 13, 5, 8, 5);
  place(11, 8.0);
  const int32_t expected[4][4] = {{1, 1, 1, 1}, {1, 5, 5, 1}, {5, 5, 5, 5}, {1, 1, 5, 1}};
  for (int32_t b = 5; b <= 8; ++b) {
    for (int32_t a = 10; a <= 13; ++a)
      EXPECT_EQ(picture_cell(a, b), expected[b - 5][a - 10]) << a << "," << b;
  }
  EXPECT_EQ(lines_of(9), "");
  EXPECT_EQ(lines_of(14), "");
  EXPECT_EQ(store.picture_height, 9);  // the particle's cells end at line 8, below its height 12
}

TEST_F(MepPicture, OneCellGapsCloseOnlyBetweenEqualColours) {
  set_picture_cell(4, 5, 4);
  set_picture_cell(6, 5, 4);
  set_picture_cell(12, 5, 4);
  set_picture_cell(14, 5, 5);
  place(4, 8.0);
  EXPECT_EQ(picture_cell(5, 5), 4);
  EXPECT_EQ(picture_cell(13, 5), 0);
}

TEST_F(MepPicture, NotchBetweenTwoStepsIsFilled) {
  // Two blocks in a staircase leave an empty cell at (12, 6) whose
  // neighbours to the right and below are drawn.
  fill(13, 16, 3, 8, 5);
  fill(10, 16, 7, 8, 5);
  set_picture_cell(12, 6, 0);
  place(9, 8.0);
  EXPECT_EQ(picture_cell(12, 6), 7);
}

TEST_F(MepPicture, CellsOutsideThePictureAreNeitherDrawnNorRead) {
  set_picture_cell(0, 5, 4);
  set_picture_cell(301, 5, 4);
  set_picture_cell(5, 4001, 4);
  EXPECT_EQ(picture_cell(0, 5), 0);
  EXPECT_EQ(picture_cell(301, 5), 0);
  EXPECT_EQ(picture_cell(5, 4001), 0);
  EXPECT_EQ(store.drawn_columns.used, 0);
}

}  // namespace

}  // namespace veka
