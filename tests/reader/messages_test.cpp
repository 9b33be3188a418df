// The reader's messages on damaged lines. Each recording starts with a good
// CTD line at 10 m (T 10, C 33, S 31, A1 0.5) and the start of the range
// (time count 100); the damaged lines follow, so the profile scan reads them
// with the first-pass checks and the main pass with its own.
#include <gtest/gtest.h>

#include <string>

#include "reader_run.h"

namespace veka::reader_test {

class ReaderMessagesTest : public ReaderRun {
 protected:
  ReaderMessagesTest() { use_depth_steps(); }
  std::string read_after_start(const std::string& damaged) {
    return read(header() + ctd_lines(10.0, 4) + sep_block(100) + damaged);
  }
  static int count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
  static bool starts(const std::string& text, const std::string& part) {
    return text.compare(0, part.size(), part) == 0;
  }
  static bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
};

TEST_F(ReaderMessagesTest, CtdLineWithAValueMissing) {
  std::string out = read_after_start("C 10.500 33.100 10.100\n");
  // The profile scan's message is the first line; it quotes values 1..3 as
  // they stood before the last value stored (33.100).
  EXPECT_TRUE(starts(out,
                     "Missing CTD data at depth1a    10.500  33.000  10.000  31.000dq1   0"
                     "     0.083 3 Num_ctd       5 tctr       0\r\n"));
  EXPECT_TRUE(has(out,
                  "\r\nFound EOL 1-Missing CTD data at depth    10.000  10.000  33.000"
                  " tctr       0\r\n"));
  EXPECT_EQ(waits, 0);
  // Repaired, the line counts at the previous depth with S = 0.
  EXPECT_EQ(store.ctd[10][kCtdScans], 2.0);
  EXPECT_EQ(store.ctd[10][kCtdTemperature], 20.0);
  EXPECT_EQ(store.ctd[10][kCtdSalinity], 31.0);
}

TEST_F(ReaderMessagesTest, CtdLineWithExtraData) {
  std::string out = read_after_start("C 10.500 33.100 10.100 31.100 0.600 7\n");
  EXPECT_TRUE(starts(out,
                     "6   10.00Extra data in CTD line at depth0   10.500  33.100  10.100"
                     "  tctr       0 dq1   0\r\n"));
  EXPECT_TRUE(has(out,
                  "\r\nExtra data in CTD line at depth  10.000  10.000  33.000  tctr     100"
                  "\r\n"));
}

TEST_F(ReaderMessagesTest, CtdLineEndingBeforeItsLastValue) {
  std::string out = read_after_start("C 10.500 33.100 10.100 31.100 \n");
  EXPECT_TRUE(starts(out,
                     "Short of data in CTD line at depth1  10.000   10.500  33.100  10.100"
                     "   tctr       0\r\n"));
  EXPECT_TRUE(has(out,
                  "\r\nFound EOL 2-Missing CTD data at depth    10.000  10.000  33.000"
                  " tctr       0\r\n"));
}

TEST_F(ReaderMessagesTest, LongRunsOfRejectedCtdLines) {
  std::string damaged;
  for (int i = 0; i < 22; ++i) damaged += "C 10.500 33.100 10.100\n";
  std::string out = read_after_start(damaged + ctd(10.0));
  // The profile scan: the run counts 0..20 before each line, restarts after
  // the 21st line with one wait.
  EXPECT_EQ(count(out, "Missing CTD data at depth1a"), 22);
  EXPECT_EQ(count(out, "dq1  20"), 1);
  EXPECT_EQ(count(out, "dq1  21"), 0);
  EXPECT_EQ(count(out, "dq1   0"), 2);
  EXPECT_EQ(count(out, "\r\nCheck 2 Lines after Line 5\r\n"), 1);
  // The main pass: the 21st and 22nd line each wait.
  EXPECT_EQ(count(out, "Found EOL 1-Missing CTD data"), 22);
  EXPECT_EQ(count(out, "\r\nToo many bad CTD lines at depth,temp,sal  10.000  10.000  33.000\r\n"),
            2);
  EXPECT_EQ(waits, 3);
}

TEST_F(ReaderMessagesTest, ImplausibleTemperatureOrConductivityIsRepairedSilently) {
  std::string out = read_after_start(
      "C 11.000 33.100 36.000 31.000 0.5\n"
      "C 11.000 50.100 10.000 31.000 0.5\n");
  EXPECT_FALSE(has(out, "CTD"));
  EXPECT_EQ(store.ctd[10][kCtdScans], 3.0);
  EXPECT_EQ(store.ctd[10][kCtdTemperature], 30.0);
  EXPECT_EQ(store.ctd[10][kCtdConductivity], 99.0);
  EXPECT_EQ(store.ctd[11][kCtdScans], 0.0);
}

TEST_F(ReaderMessagesTest, SepLineNumberAndBlank) {
  std::string out = read_after_start("L 1 2\n" + l5_line(101));
  EXPECT_TRUE(has(out,
                  "\r\nProblem SEP Line -L0 after depth 10.000 at prog line 80(+1)  10.000"
                  "  33.000 Profile  1 0.0E+0000 0.0E+0000\r\nProblem reading Sizes after"
                  " depth 10.000 at prog line 80(+3)  10.000  33.000 Profile  1\r\n"));
  EXPECT_EQ(waits, 2);
  EXPECT_EQ(store.sep_frames[10], 1.0);
}

TEST_F(ReaderMessagesTest, ShortSepLinesAreFilledWithZeros) {
  std::string line = "L1";
  for (int c = 1; c <= 31; ++c) line += " " + std::to_string(c);
  std::string out = read_after_start(line + "\n" + count_line(2, {{33, 9}}) + count_line(3) +
                                     count_line(4) + l5_line(101));
  const std::string message_10 =
      "\r\nProblem SEP1 line L 1 at depth  10.000 at prog line 7931   32pp  10.000  33.000     100"
      "\r\n";
  const std::string message_11 =
      "Problem SEP2 line L 1 at depth  10.000 at prog line 79  10.000  33.000 Profile  1 tctr"
      "    100\r\n";
  EXPECT_TRUE(has(out, message_10 + message_11));
  EXPECT_EQ(waits, 2);
  EXPECT_EQ(store.bin_counts[10][31], 31.0);
  EXPECT_EQ(store.bin_counts[10][32], 0.0);
  EXPECT_EQ(store.bin_counts[10][33], 9.0);

  line = "L1";
  for (int c = 1; c <= 30; ++c) line += " " + std::to_string(c);
  out =
      read_after_start(line + "\n" + count_line(2) + count_line(3) + count_line(4) + l5_line(101));
  EXPECT_EQ(count(out, "Problem SEP1 line L 1 at depth  10.000 at prog line 7930   32pp"), 1);
  EXPECT_EQ(count(out, "Problem SEP1 line L 1 at depth  10.000 at prog line 7931   32pp"), 1);
  EXPECT_EQ(count(out, "Problem SEP2 line"), 2);
  // For channel 31 both fire, the short line first.
  EXPECT_TRUE(has(out, "7931   32pp  10.000  33.000     100\r\nProblem SEP2"));
  EXPECT_EQ(waits, 4);
}

TEST_F(ReaderMessagesTest, BlanksAndCommasInSepLines) {
  std::string line = "L1 5  7 5,0,3";
  for (int c = 5; c <= 32; ++c) line += " 1";
  std::string out = read_after_start(line + " 88\n" + count_line(2) + count_line(3) +
                                     count_line(4) + l5_line(101));
  EXPECT_FALSE(has(out, "Problem"));
  EXPECT_EQ(store.bin_counts[10][1], 5.0);
  EXPECT_EQ(store.bin_counts[10][2], 0.0);  // two blanks: an empty count
  EXPECT_EQ(store.bin_counts[10][3], 7.0);
  EXPECT_EQ(store.bin_counts[10][4], 503.0);
  EXPECT_EQ(store.bin_counts[10][32], 1.0);
  EXPECT_EQ(store.bin_counts[10][33], 0.0);  // the shifted last count is not read
}

TEST_F(ReaderMessagesTest, SepBlockLineNotStartingWithL) {
  std::string l2 = count_line(2, {{33, 4}});
  std::string out = read_after_start(count_line(1) + "X" + l2.substr(1) + count_line(3) +
                                     count_line(4) + l5_line(101));
  EXPECT_TRUE(has(out,
                  "\r\nProblem in reading SEP Line - L2 at depth  10.0000 at Prog line 81(+1)"
                  "  10.000  33.000 Profile  1 0.0E+0000 0.0E+0000\r\n"));
  EXPECT_EQ(waits, 1);
  EXPECT_EQ(store.bin_counts[10][33], 4.0);  // read as L2
}

TEST_F(ReaderMessagesTest, DamagedL5Lines) {
  std::string out = read_after_start("L5x1 2 101 40 640 6 7\n");
  EXPECT_TRUE(has(out,
                  "\r\nProblem2 SEP L5 - L5 at depth 10.000 at prog line 17(+2)  10.000"
                  "  33.000 Profile  1\r\n"));
  EXPECT_EQ(waits, 1);
  EXPECT_EQ(store.tctr, 101);
  EXPECT_EQ(store.l5_values[10][7], 7.0);

  // Three values: a value at the line end too early for fields 3 to 6, an
  // empty value at the line end for fields 4 to 7.
  const std::string message =
      "\r\nProblem SEP L5   5 at depth  10.000 at prog line 83  10.000  33.000 Profile  1\r\n";
  out = read_after_start("L5 1 2 101\n");
  EXPECT_EQ(count(out, message), 8);
  EXPECT_EQ(waits, 8);
  EXPECT_EQ(store.ctd[10][kCtdFlowCount], 0.0);  // its flow count is empty
  EXPECT_EQ(store.sep_frames[10], 1.0);

  // The same line as the start of the range, in the start search.
  out = read(header() + ctd_lines(10.0, 4) + count_line(1) + count_line(2) + count_line(3) +
             count_line(4) + "L5 1 2 100\n" + ctd(11.0));
  // The first continues the "xxxxxx" line.
  EXPECT_EQ(count(out,
                  "Problem SEP L5   5 at depth  10.000 at prog line 303  10.000  33.000"
                  " Profile  1\r\n"),
            8);
  EXPECT_EQ(store.start_index, 10);
}

TEST_F(ReaderMessagesTest, DamagedMepLines) {
  std::string out = read_after_start("M1 2 3 4\nM 5 6 7\n");
  EXPECT_TRUE(has(out,
                  "\r\nProblem MEP after depth1  10.0000  10.000  33.000 tctr     100\r\n"
                  "Problem MEP line at depth2   10.0000  10.000  33.000 tctr     100"
                  "  0       0   0\r\n"
                  "Problem MEP line at depth2a   10.0000  10.000  33.000 tctr     100"
                  "  0       2   3\r\n"));
  EXPECT_EQ(waits, 0);
  ASSERT_EQ(store.mep_count, 2);
  EXPECT_EQ(store.mep_elements[1].element, 0);
  EXPECT_EQ(store.mep_elements[1].size, 4);
  EXPECT_EQ(store.mep_elements[2].duration, 7);
  EXPECT_EQ(store.mep_elements[2].size, 0);
}

}  // namespace veka::reader_test
