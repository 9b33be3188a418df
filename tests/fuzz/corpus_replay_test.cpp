// The committed fuzzing inputs, replayed through the fuzz target's harness
// in the ordinary test binary: each must end as the program would end on it
// (reports written, a fatal error or the program stop) and leave its folder
// empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "fuzz/harness.h"
#include "support/support.h"

namespace veka {

using fuzz::Outcome;
using fuzz::RunResult;
using support::read_file;
using support::ScratchDir;

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputs_in(const std::string& folder) {
  std::vector<fs::path> paths;
  std::error_code missing;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, missing)) {
    paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

bool wrote(const RunResult& result, const std::string& name) {
  const std::vector<std::string>& files = result.files_written;
  return std::find(files.begin(), files.end(), name) != files.end();
}

RunResult replay(const fs::path& input, const ScratchDir& folder) {
  return fuzz::run_recording(read_file(input.string()), folder.path());
}

const std::string kCorpus = std::string(VEKA_SOURCE_DIR) + "/fuzz/corpus";
const std::string kRegressions = std::string(VEKA_SOURCE_DIR) + "/fuzz/regressions";

}  // namespace

TEST(FuzzCorpusReplay, EveryInputEndsAsTheProgramWouldAndCleansUp) {
  std::vector<fs::path> inputs = inputs_in(kCorpus);
  ASSERT_GE(inputs.size(), 20u);
  for (const fs::path& regression : inputs_in(kRegressions)) inputs.push_back(regression);
  ScratchDir folder;
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    RunResult result;
    ASSERT_NO_THROW(result = replay(input, folder));
    EXPECT_TRUE(wrote(result, "F1.dat"));
    if (result.outcome == Outcome::completed) {
      EXPECT_TRUE(wrote(result, "F1_r1_Data.csv"));
      EXPECT_TRUE(wrote(result, "a_Batch_F_r1.csv"));
      EXPECT_TRUE(wrote(result, "a_Surfer_F_r1.csv"));
    }
    EXPECT_TRUE(fs::is_empty(folder.path()));
  }
}

// The seeds only help the fuzzer if plain recordings get through to the
// reports, in each binning mode.
TEST(FuzzCorpusReplay, SimulatedRecordingsReachTheReports) {
  ScratchDir folder;
  for (const char* name :
       {"descent_sparse", "ascent_sparse", "fixed_sparse", "tow_sparse", "damaged_sparse"}) {
    SCOPED_TRACE(name);
    RunResult result = replay(fs::path(kCorpus) / name, folder);
    EXPECT_EQ(result.outcome, Outcome::completed);
    EXPECT_NE(result.console.find("Finished"), std::string::npos);
  }
}

// A bad argument ends the file where it is first read, before any report,
// and the next input starts afresh.
TEST(FuzzCorpusReplay, FatalErrorEndsTheFileBeforeItsReports) {
  ScratchDir folder;
  RunResult bad = replay(fs::path(kCorpus) / "args_not_a_number", folder);
  EXPECT_EQ(bad.outcome, Outcome::fatal);
  EXPECT_EQ(bad.files_written, std::vector<std::string>{"F1.dat"});
  RunResult good = replay(fs::path(kCorpus) / "descent_sparse", folder);
  EXPECT_EQ(good.outcome, Outcome::completed);
}

TEST(FuzzHarnessArguments, OverridesLeaveFilesAndFileNumbersAlone) {
  const std::string folder = "/tmp/x/";
  std::vector<std::string> plain = fuzz::run_arguments("# header\n", folder);
  ASSERT_EQ(plain.size(), 62u);
  EXPECT_EQ(plain[1], folder);
  EXPECT_EQ(plain[3], folder);

  std::vector<std::string> tow =
      fuzz::run_arguments("!4=1 5=2220 6=2240 60=-3 11=25\r\nC 1\n", folder);
  EXPECT_EQ(tow[4], "1");
  EXPECT_EQ(tow[5], "2220");
  EXPECT_EQ(tow[6], "2240");
  EXPECT_EQ(tow[60], "-3");
  EXPECT_EQ(tow[11], "25");

  std::vector<std::string> refused = fuzz::run_arguments(
      "!1=/etc/ 2=G 3=/ 9=../r 57=2 58=9 11=0 26=-1 62=1 4= x=1 7=12345678901234567\n", folder);
  EXPECT_EQ(refused, plain);
}

}  // namespace veka
