#include "common/text_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "common/fatal.h"
#include "common/run_file.h"
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

std::string fatal_message(const std::function<void()>& action) {
  try {
    action();
  } catch (const FatalError& error) {
    return error.what();
  }
  return "";
}

TEST(TextOutput, LinesEndWithCarriageReturnAndLineFeed) {
  ScratchDir scratch;
  std::string name = scratch.path() + "report.csv";
  TextOutput out(name, TextOutput::Mode::replace);
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
  EXPECT_EQ(files_in(scratch.path()), 1u);  // the file being written has no name
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

TEST(TextOutput, AFailedFileOperationNamesItsCause) {
  ScratchDir scratch;
  EXPECT_EQ(fatal_message([&] {
              TextOutput(scratch.path() + "no/such/folder/report.csv", TextOutput::Mode::replace);
            }),
            "Path not found");
  EXPECT_EQ(fatal_message([&] {
              TextOutput out(scratch.path() + std::string(300, 'x'), TextOutput::Mode::replace);
              out.close();
            }),
            "File name too long");
  EXPECT_EQ(files_in(scratch.path()), 0u);
}

// Where unnamed files are not available, the random name is the only trace
// of an unfinished file, and what a signal or trap removes.
TEST(TemporaryFile, ARandomNameIsNewAndRemovedWhenTheRunEndsEarly) {
  ScratchDir scratch;
  std::string name = scratch.path() + "report.csv";
  TemporaryFile first;
  TemporaryFile second;
  first.create(name, TemporaryFile::Naming::random_name);
  second.create(name, TemporaryFile::Naming::random_name);
  EXPECT_EQ(files_in(scratch.path()), 2u);
  discard_unfinished_outputs();  // what the handlers of signals and traps do
  EXPECT_EQ(files_in(scratch.path()), 0u);
  second.create(name, TemporaryFile::Naming::random_name);
  ASSERT_TRUE(write_all(second.descriptor(), "complete\r\n"));
  second.publish();
  EXPECT_EQ(read_file(name), "complete\r\n");
  EXPECT_EQ(files_in(scratch.path()), 1u);
}

class RunFileTest : public ::testing::Test {
 protected:
  ScratchDir scratch_;
  std::string batch_ = scratch_.path() + "a_Batch_W_r1.csv";
  std::string grid_ = scratch_.path() + "a_Surfer_W_r1.csv";
};

TEST_F(RunFileTest, AfreshReplacesTheContentAndLaterLinesAppend) {
  write_file(batch_, "an older run\r\n");
  RunFile batch;
  batch.claim(batch_);
  EXPECT_EQ(read_file(batch_), "an older run\r\n");  // claiming writes nothing
  batch.add(batch_, "head\r\nline 1\r\n", true);
  batch.add(batch_, "line 2\r\n", false);
  EXPECT_EQ(read_file(batch_), "head\r\nline 1\r\nline 2\r\n");
  fs::remove(batch_);  // removed during the run: later lines start a new file
  batch.add(batch_, "line 3\r\n", false);
  EXPECT_EQ(read_file(batch_), "line 3\r\n");
}

TEST_F(RunFileTest, BothFilesEndAtTheSameDataFileWhateverStopsOne) {
  RunFile batch;
  RunFile grid;
  for (int file = 1; file <= 2; ++file) {
    try {
      RunFileUpdate update;
      batch.add(batch_, "file " + std::to_string(file) + "\r\n", file == 1);
      if (file == 2) fatal("Disk full");  // as if the gridding lines failed
      grid.add(grid_, "file " + std::to_string(file) + "\r\n", file == 1);
      update.keep();
    } catch (const FatalError&) {
    }
  }
  EXPECT_EQ(read_file(batch_), "file 1\r\n");
  EXPECT_EQ(read_file(grid_), "file 1\r\n");
}

TEST_F(RunFileTest, AFileAnotherRunHoldsIsRefused) {
  RunFile first_run;
  first_run.add(batch_, "head\r\n", true);
  RunFile second_run;  // a lock held through another open file acts as another run's
  EXPECT_EQ(fatal_message([&] { second_run.claim(batch_); }),
            "Run file in use by another run: " + batch_);
  EXPECT_EQ(fatal_message([&] { second_run.add(batch_, "mine\r\n", true); }),
            "Run file in use by another run: " + batch_);
  EXPECT_EQ(read_file(batch_), "head\r\n");
  RunFile missing;
  missing.claim(grid_);  // not there yet: left to the first addition
  EXPECT_FALSE(file_exists(grid_));
}

// A signal ends the run at once: the handler undoes what is unfinished and
// exits; a kill leaves nothing of a file that has no name yet.
TEST_F(RunFileTest, SignalsAndKillsLeaveNothingUnfinished) {
  struct Row {
    int signal;
    ::testing::ExitedWithCode exit_code;
  };
  for (const Row& row : {Row{SIGINT, ::testing::ExitedWithCode(130)},
                         Row{SIGTERM, ::testing::ExitedWithCode(143)}}) {
    write_file(batch_, "head\r\nfile 1\r\n");
    auto ended_by_signal = [&] {
      install_stop_signal_handlers();
      int quiet = ::open("/dev/null", O_WRONLY);
      dup2(quiet, STDOUT_FILENO);
      TemporaryFile named;
      named.create(scratch_.path() + "W2_r1_Data.csv", TemporaryFile::Naming::random_name);
      TextOutput unnamed(scratch_.path() + "W2_r1_Shape.csv", TextOutput::Mode::replace);
      unnamed.line("half a shape file");
      RunFile batch;
      RunFileUpdate update;
      batch.add(batch_, "file 2\r\n", false);
      raise(row.signal);
    };
    EXPECT_EXIT(ended_by_signal(), row.exit_code, "") << row.signal;
    EXPECT_EQ(read_file(batch_), "head\r\nfile 1\r\n") << row.signal;
    EXPECT_EQ(files_in(scratch_.path()), 1u) << row.signal;
  }
  auto killed = [&] {
    TextOutput unnamed(scratch_.path() + "W2_r1_Shape.csv", TextOutput::Mode::replace);
    unnamed.line("half a shape file");
    raise(SIGKILL);
  };
  EXPECT_EXIT(killed(), ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(files_in(scratch_.path()), 1u);
}

}  // namespace veka
