// What bad input gets, as the README's table lists it: damaged lines are
// reported and repaired and the run goes on; a file that cannot be read or
// written, a bad argument and a floating-point fault end the run with one
// line and exit code 1; too many multi-element records stop it after a wait.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/support.h"

namespace veka {

using support::file_exists;
using support::run_program;
using support::ScratchDir;
using support::standard_arguments;
using support::write_file;

namespace fs = std::filesystem;

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class BadInputTest : public ::testing::Test {
 protected:
  std::vector<std::string> arguments() { return standard_arguments(in_.path(), "W", out_.path()); }
  // A short simulated cast as in/W1.dat.
  void write_recording() {
    auto made = run_program(VEKASIM_PATH, {"vekasim", "--scenario", "descent", "--seed", "5",
                                           "--depth", "20", "--out", in_.path() + "W1.dat"});
    ASSERT_EQ(made.exit_code, 0);
  }
  ScratchDir in_;
  ScratchDir out_;
};

TEST_F(BadInputTest, DamagedLinesAreReportedRepairedAndTheRunGoesOn) {
  write_recording();
  std::string counts;
  for (int i = 0; i < 32; ++i) counts += " 1";
  std::string damaged =
      "C 12.3 33.1 12.5\n"  // a CTD line short of two values
      "M 3 100 40\n"        // an MEP line short of a field
      "L1" +
      counts.substr(2) +
      "\n"  // an L1 line short of a count
      "L2" +
      counts + "\nL3" + counts + "\nL4" + counts + "\nL5 0 0 950 20 320 0 0\n";
  // Into the descent, which the analysed cast covers.
  std::string recording = support::read_file(in_.path() + "W1.dat");
  size_t at = recording.find("\nL1 ", recording.size() / 3) + 1;
  write_file(in_.path() + "W1.dat", recording.substr(0, at) + damaged + recording.substr(at));
  auto result = run_program(VEKAPROC_PATH, arguments());
  EXPECT_EQ(result.exit_code, 0);
  for (const char* message :
       {"Found EOL 1-Missing CTD data at depth ", "Problem MEP line at depth2a ",
        "Problem SEP1 line L 1 at depth ", "Problem SEP2 line L 1 at depth "}) {
    EXPECT_NE(result.output.find(message), std::string::npos) << message;
  }
  EXPECT_TRUE(file_exists(out_.path() + "W1_r1_Data.csv"));
  EXPECT_TRUE(ends_with(result.output, "      Done  - press \"enter\""));
}

TEST_F(BadInputTest, MissingDataFile) {
  auto result = run_program(VEKAPROC_PATH, arguments());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, in_.path() + "W1.dat\r\nFile not found\r\n"));
}

TEST_F(BadInputTest, UnreadableDataFile) {
  fs::create_directory(in_.path() + "W1.dat");  // a folder where the recording should be
  auto result = run_program(VEKAPROC_PATH, arguments());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, in_.path() + "W1.dat\r\nFile access denied\r\n"));
}

TEST_F(BadInputTest, UnwritableOutputFolder) {
  write_recording();
  auto args = arguments();
  args[3] = out_.path() + "missing/";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, "Finished configuring output data\r\nPath not found\r\n"));
  EXPECT_TRUE(fs::is_empty(out_.path()));
}

TEST_F(BadInputTest, NonNumericArgument) {
  auto args = arguments();
  args[24] = "abc";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(ends_with(result.output, "\r\n\"abc\" is not a valid floating point value\r\n"));
  args = arguments();
  args[57] = "x1";
  result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output, "\"x1\" is not a valid integer value\r\n");
}

TEST_F(BadInputTest, AnyOtherCountThan61ArgumentsIsRefused) {
  for (size_t count : {0, 20, 60, 62}) {
    auto args = arguments();
    args.resize(count + 1, "x");
    auto result = run_program(VEKAPROC_PATH, args);
    EXPECT_EQ(result.exit_code, 2) << count;
    EXPECT_EQ(result.output, "") << count;
    EXPECT_EQ(result.error, "vekaproc: " + std::to_string(count) +
                                " positional arguments given; a command line of positional "
                                "arguments needs exactly 61 (see vekaproc --help)\n");
  }
}

TEST_F(BadInputTest, ZeroScanRateIsADivisionByZero) {
  auto args = arguments();
  args[11] = "0";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_TRUE(
      ends_with(result.output, "CTD ScanRate    0.00\r\nFloating point division by zero\r\n"));
}

TEST_F(BadInputTest, ZeroOrNegativeFlowScaleIsAFloatingPointFault) {
  auto args = arguments();
  args[26] = "0";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output,
            "CTD String  3  2  1  4  5  0  0  0  0  0  0\r\n"
            "Floating point division by zero\r\n");
  args[26] = "-1";
  result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output,
            "CTD String  3  2  1  4  5  0  0  0  0  0  0\r\n"
            "Invalid floating point operation\r\n");
}

TEST_F(BadInputTest, TooManyMultiElementRecordsStopAfterAWait) {
  write_recording();
  std::string lines;
  lines.reserve(500001 * 14);
  for (int i = 0; i < 500001; ++i) lines += "M 5 1000 20 40\n";
  // The records go in after the cast's first scans, so they fall inside
  // the analysed profile.
  std::string recording = support::read_file(in_.path() + "W1.dat");
  size_t middle = recording.find("\nL1 ", recording.size() / 3) + 1;
  write_file(in_.path() + "W1.dat", recording.substr(0, middle) + lines + recording.substr(middle));
  auto result = run_program(VEKAPROC_PATH, arguments(), "\n");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.output.find("\r\n\r\nToo many MEP-elements ("), std::string::npos);
  EXPECT_NE(result.output.find(") to process - must reduce the (time)range of analyses.\r\n"
                               "Press \"enter\" to halt program\r\n"),
            std::string::npos);
  EXPECT_EQ(result.output.find("Done"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(out_.path()));
}

}  // namespace veka
