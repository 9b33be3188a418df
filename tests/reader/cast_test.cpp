// Profile detection on simulated casts at 2 scans per second, so that every
// scan moves 0.5 m and takes 0.5 s.
#include <gtest/gtest.h>

#include <string>

#include "reader_run.h"

namespace veka::reader_test {

class ReaderCastTest : public ReaderRun {
 protected:
  ReaderCastTest() {
    args[4] = "2";
    args[11] = "2";
  }
  // Three lines that the first two phases pass over, then the cast.
  std::string recording(const std::string& casts) { return header() + ctd_lines(1.0, 3) + casts; }
};

TEST_F(ReaderCastTest, DescendingCastFoundByItself) {
  args[7] = "1", args[8] = "1", args[23] = "1";
  std::string out = read(recording(cast(1.0, 80.0, 0.5) + cast(79.5, 60.0, -0.5)));
  // The descent counts from its 4th scan below 4 m (6.0 m at 5.5 s); the
  // cast has turned at 74.5 m, more than 5 m above its bottom (80 m at
  // 79.5 s). The start is the first descending scan in step 6 (5.5 m), the
  // end the first scan in step 80 after the bottom time less 0.75 s.
  EXPECT_EQ(out,
            "xxxxxx    74.5    80.0     6.0    80.0  85.000   79.50    5.50\r\n"
            "1-Found Start Depth  5.5 Time/count       0 Dive_dirn   1 Temp 10.000 Sal 33.000"
            "Search end_depth    80 Start_depth     5.5 End_depth    80.0 dints     6 dinte     0"
            "    5.50   79.50\r\n"
            "2-Found End Depth  79.500 Time/ct       0  10.000  33.000  Stored MEPs     0"
            " Profile  2\r\n" +
                closing(6, 80));
  EXPECT_EQ(store.ctd[6][kCtdScans], 3.0);  // 5.5 (the start), 6.0, 6.5
  EXPECT_EQ(store.ctd[7][kCtdScans], 1.0);
  EXPECT_EQ(store.ctd[8][kCtdScans], 3.0);
  EXPECT_EQ(store.ctd[80][kCtdScans], 1.0);
  EXPECT_EQ(store.ctd[6][kCtdRate], 1.0 + 1.0 + 1.0);  // 0.5 m per 0.5 s
  EXPECT_EQ(store.range_lo, 6);
  EXPECT_EQ(store.range_hi, 80);
  EXPECT_EQ(store.range_high, 100.0);
  EXPECT_EQ(store.profile_number, 2);
}

TEST_F(ReaderCastTest, AscendingCastFoundByItself) {
  args[7] = "1", args[8] = "1", args[23] = "0";
  std::string out = read(recording(cast(1.0, 60.0, 0.5) + cast(59.5, 1.0, -0.5)));
  // Bottom 60 m at 59.5 s; the surface (4 m) is reached at 115.5 s. The
  // start test of this variant takes step 60 on the way down (59.5 m), the
  // end the first scan in step 4 (4.5 m) on the way up.
  EXPECT_EQ(out,
            "xxxxxx     6.0    60.0    60.0     4.0 115.500   59.50  115.50\r\n"
            "1-Found Start Depth 59.5 Time/count       0 Dive_dirn   1 Temp 10.000 Sal 33.000"
            "Search end_depth     4 Start_depth    59.5 End_depth     4.0 dints    60 dinte     0"
            "  115.50   59.50\r\n"
            "2-Found End Depth   4.500 Time/ct       0  10.000  33.000  Stored MEPs     0"
            " Profile  2\r\n" +
                closing(60, 4));
  EXPECT_EQ(store.range_lo, 4);
  EXPECT_EQ(store.range_hi, 58);  // two steps less for this variant
  EXPECT_EQ(store.range_low, 1.0);
  EXPECT_EQ(store.range_high, 75.0);
}

TEST_F(ReaderCastTest, BothDepthsGivenStartDuringTheProfileScan) {
  args[7] = "10", args[8] = "30", args[23] = "1";
  std::string out = read(recording(cast(1.0, 40.0, 0.5)));
  // No "xxxxxx" line: the scan at 9.5 m is the start. The descent counts
  // from the first moving scan, so 4.5 m (4.0 s) is its 4th below 4 m.
  EXPECT_EQ(out,
            "\r\n1-Found Start Depth  9.5 Time/count       0 Dive_dirn   1 Temp 10.000 Sal 33.000"
            "Search end_depth    30 Start_depth     9.5 End_depth    30.0 dints    10 dinte     0"
            "    4.00    9.00\r\n"
            "2-Found End Depth  29.500 Time/ct       0  10.000  33.000  Stored MEPs     0"
            " Profile  2\r\n" +
                closing(10, 30));
}

TEST_F(ReaderCastTest, AscendingCastWithAnEndDepth) {
  // Argument 7 > 1 makes the start depth the floor of the tracking.
  args[7] = "10", args[8] = "20", args[23] = "0";
  std::string out = read(recording(cast(1.0, 50.0, 0.5) + cast(49.5, 1.0, -0.5)));
  // The start depth is the floor: 12.0 m is the 4th descending scan below
  // it (11.5 s). Once the cast is 5 m above its bottom (50 m), reaching the
  // end depth moves the bottom there (20 m at 79.5 s), and 10 m is the
  // surface (89.5 s). The start is the first rising scan in step 20 or above
  // after the bottom time less 0.75 s (20.5 m), the end the first in step 10.
  EXPECT_EQ(out,
            "xxxxxx    12.0    20.0    20.0    10.0  89.500   79.50   89.50\r\n"
            "1-Found Start Depth 20.5 Time/count       0 Dive_dirn  -1 Temp 10.000 Sal 33.000"
            "Search end_depth    10 Start_depth    20.5 End_depth    10.0 dints    20 dinte     0"
            "   89.50   79.50\r\n"
            "2-Found End Depth  10.500 Time/ct       0  10.000  33.000  Stored MEPs     0"
            " Profile  2\r\n" +
                closing(20, 10));
}

TEST_F(ReaderCastTest, AscendingCastWithoutDetectionStartsAtAPositiveZero) {
  args[7] = "0", args[8] = "0", args[23] = "0";
  std::string out = read(recording(cast(1.0, 20.0, 0.5) + cast(19.5, 1.0, -0.5)));
  // No variant runs, so the bottom keeps its starting -1.0 and the start
  // depth is round(-0.499): a whole number, printed without a sign.
  EXPECT_EQ(out,
            "xxxxxx 10000.0    -1.0     0.0 10000.0  38.500    0.00    0.00\r\n"
            "1-Found Start Depth  1.0 Time/count       0 Dive_dirn   0 Temp 10.000 Sal 33.000"
            "Search end_depth 10000 Start_depth     0.0 End_depth 10000.0 dints     1 dinte     0"
            "    0.00    0.00\r\n"
            "2-Found End Depth   1.000 Time/ct       0  10.000  33.000  Stored MEPs     0"
            " Profile  2\r\n" +
                closing(1, 1));
}

}  // namespace veka::reader_test
