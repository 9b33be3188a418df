#include "driver/batch.h"

#include <gtest/gtest.h>

#include "support/support.h"

namespace veka {

using support::run_program;
using support::ScratchDir;
using support::standard_arguments;
using support::write_file;

TEST(FileNumberText, LeadingZerosOnlyForTwoDataSets) {
  EXPECT_EQ(file_number_text_for("HFXLine", 5), "005");
  EXPECT_EQ(file_number_text_for("HFXLine", 120), "120");
  EXPECT_EQ(file_number_text_for("HF3", 99), "099");
  EXPECT_EQ(file_number_text_for("HF3", 7), "007");
  EXPECT_EQ(file_number_text_for("CC", 9), "9");
  EXPECT_EQ(file_number_text_for("W", 1234), "123");
  EXPECT_EQ(file_number_text_for("hf3", 7), "7");
  EXPECT_EQ(file_number_text_for("HF3_", 7), "7");
}

TEST(SkipList, ExactCaseSensitiveDataSetNames) {
  EXPECT_TRUE(is_skipped_file("HL4S_", 69));
  EXPECT_TRUE(is_skipped_file("HL4S_", 70));
  EXPECT_FALSE(is_skipped_file("HL4S_", 68));
  EXPECT_FALSE(is_skipped_file("HL4S_", 71));
  EXPECT_TRUE(is_skipped_file("HFXLine", 42));
  EXPECT_TRUE(is_skipped_file("HFL2F_", 139));
  EXPECT_FALSE(is_skipped_file("hfxline", 42));
  EXPECT_FALSE(is_skipped_file("HF3", 58));
}

// The program run as a user runs it, with its input from a file.
class ProgramTest : public ::testing::Test {
 protected:
  std::vector<std::string> arguments() { return standard_arguments(in_.path(), "W", out_.path()); }
  ScratchDir in_;
  ScratchDir out_;
};

const char* const kPrompt = "      Done  - press \"enter\"";

TEST_F(ProgramTest, LastBeforeFirstShowsOnlyThePrompt) {
  auto args = arguments();
  args[57] = "5", args[58] = "4";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.output, kPrompt);
}

TEST_F(ProgramTest, TwoFileNumbersGiveTwoHeaders) {
  write_file(in_.path() + "W1.dat", "");
  write_file(in_.path() + "W2.dat", "");
  auto args = arguments();
  args[58] = "2";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 0);
  size_t first = result.output.find("CTD String");
  size_t second = result.output.find("CTD String", first + 1);
  EXPECT_NE(second, std::string::npos);
  EXPECT_NE(result.output.find(in_.path() + "W2.dat\r\n"), std::string::npos);
  EXPECT_EQ(result.output.substr(result.output.size() - std::string(kPrompt).size()), kPrompt);
}

TEST_F(ProgramTest, SkippedFileNumbersAreSilent) {
  auto args = standard_arguments(in_.path(), "HL4S_", out_.path());
  args[57] = "69", args[58] = "70";
  auto result = run_program(VEKAPROC_PATH, args);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.output, kPrompt);
}

}  // namespace veka
