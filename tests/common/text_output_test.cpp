#include "common/text_output.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/fatal.h"
#include "support/support.h"

namespace veka {

using support::file_exists;
using support::read_file;
using support::ScratchDir;
using support::write_file;

namespace fs = std::filesystem;

size_t files_in(const std::string& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(TextOutput, LinesEndWithCarriageReturnAndLineFeed) {
  ScratchDir scratch;
  std::string name = scratch.path() + "report.csv";
  TextOutput out(name, TextOutput::Mode::create);
  out.line("a,b");
  out.write("c");
  out.end_line();
  out.close();
  EXPECT_EQ(read_file(name), "a,b\r\nc\r\n");
}

TEST(TextOutput, ReplaceKeepsTheOldFileUntilTheNewOneIsComplete) {
  ScratchDir scratch;
  std::string name = scratch.path() + "report.csv";
  write_file(name, "good report\r\n");
  TextOutput out(name, TextOutput::Mode::replace);
  out.line("half");
  EXPECT_EQ(read_file(name), "good report\r\n");
  out.close();
  EXPECT_EQ(read_file(name), "half\r\n");
  EXPECT_EQ(files_in(scratch.path()), 1u);
}

TEST(TextOutput, AnUnfinishedReplacementNeverReachesTheTarget) {
  ScratchDir scratch;
  std::string name = scratch.path() + "report.csv";
  write_file(name, "good report\r\n");
  {
    TextOutput out(name, TextOutput::Mode::replace);
    out.line("half");
  }  // the run ended before close
  EXPECT_EQ(read_file(name), "good report\r\n");
  EXPECT_EQ(files_in(scratch.path()), 1u);
}

TEST(TextOutput, UnfinishedFilesAreRemovedWithoutUnwinding) {
  ScratchDir scratch;
  std::string name = scratch.path() + "report.csv";
  TextOutput out(name, TextOutput::Mode::replace);
  out.line("half");
  ASSERT_EQ(files_in(scratch.path()), 1u);
  remove_unfinished_files();  // what the floating-point trap does
  EXPECT_EQ(files_in(scratch.path()), 0u);
  EXPECT_FALSE(file_exists(name));
}

TEST(TextOutput, CreateEmptiesAndAppendAdds) {
  ScratchDir scratch;
  std::string name = scratch.path() + "batch.csv";
  write_file(name, "old\r\n");
  TextOutput(name, TextOutput::Mode::create).line("head");
  TextOutput(name, TextOutput::Mode::append).line("line 1");
  TextOutput(name, TextOutput::Mode::append).line("line 2");
  EXPECT_EQ(read_file(name), "head\r\nline 1\r\nline 2\r\n");
}

TEST(TextOutput, AMissingFolderIsAFatalPathError) {
  ScratchDir scratch;
  try {
    TextOutput out(scratch.path() + "no/such/folder/report.csv", TextOutput::Mode::replace);
    FAIL() << "opened a file in a missing folder";
  } catch (const FatalError& error) {
    EXPECT_STREQ(error.what(), "Path not found");
  }
}

}  // namespace veka
