// The whole program on simulated recordings, compared byte for byte with
// reviewed outputs: the console text and every file of the output folder,
// and the hashes of the recordings themselves (inputs.sha256).
//
// The reviewed outputs live in tests/golden/<scenario>/. To make them again
// after a deliberate change, run (from the repository root)
//   VEKA_REGENERATE_GOLDEN=1 build/tests/vekatests --gtest_filter='Recordings/GoldenTest.*'
// and review the difference with git diff before committing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "golden/scenarios.h"
#include "support/support.h"

namespace veka {

namespace fs = std::filesystem;
using support::ProcessResult;
using support::read_file;
using support::run_program;
using support::ScratchDir;
using support::write_file;

const std::vector<Scenario>& scenarios() {
  static const std::vector<Scenario> all = {
      {"bundled_sample",
       {"--scenario", "descent", "--seed", "1", "--depth", "150"},
       "VK",
       {},
       "",
       "samples/VK1.dat"},
      {"descent_detected",
       {"--scenario", "descent", "--seed", "11", "--depth", "60"},
       "DD",
       {{56, "1"}},
       "",
       ""},
      {"descent_fixed_depths",
       {"--scenario", "descent-fixed", "--seed", "12", "--depth", "70"},
       "DF",
       {{60, "3"}, {61, "1"}},
       "",
       ""},
      {"ascent", {"--scenario", "ascent", "--seed", "13", "--depth", "50"}, "AS", {}, "", ""},
      {"tow_time_bins",
       {"--scenario", "tow", "--seed", "14", "--duration", "120"},
       "TW",
       {},
       "",
       ""},
      {"tow_depth_bins",
       {"--scenario", "tow", "--seed", "14", "--duration", "120"},
       "TW",
       {{4, "0"}, {60, "2"}},
       "",
       ""},
      {"damaged", {"--scenario", "damaged", "--seed", "15"}, "DM", {}, "", ""},
      {"batch_of_three",
       {"--scenario", "series", "--seed", "16", "--files", "3", "--depth", "40"},
       "BS",
       {},
       "",
       ""},
  };
  return all;
}

void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> result;
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

std::vector<std::string> prepare(const Scenario& scenario, const std::string& scratch) {
  fs::create_directories(scratch + "in");
  fs::create_directories(scratch + "out");
  std::vector<std::string> simulate = {"vekasim"};
  simulate.insert(simulate.end(), scenario.simulator_options.begin(),
                  scenario.simulator_options.end());
  bool series = scenario.simulator_options[1] == "series";
  simulate.push_back("--out");
  simulate.push_back("in/" + scenario.data_set + (series ? "" : "1.dat"));
  if (scenario.bundled_recording.empty()) {
    EXPECT_EQ(run_program(VEKASIM_PATH, simulate, "", scratch).exit_code, 0);
  } else {
    fs::copy_file(std::string(VEKA_SOURCE_DIR) + "/" + scenario.bundled_recording,
                  scratch + "in/" + scenario.data_set + "1.dat");
  }
  simulate.push_back("--report-dir");
  simulate.push_back("out/");
  simulate.push_back("--args");
  ProcessResult line = run_program(VEKASIM_PATH, simulate, "", scratch);
  std::vector<std::string> arguments = {"vekaproc"};
  for (const std::string& word : words(line.output)) arguments.push_back(word);
  EXPECT_EQ(arguments.size(), 62u) << line.output;
  arguments.resize(62);
  for (const auto& [number, value] : scenario.argument_changes) arguments[number] = value;
  return arguments;
}

std::string input_hashes(const std::string& scratch) {
  std::vector<std::string> command = {"sha256sum"};
  for (const auto& entry : fs::directory_iterator(scratch + "in")) {
    command.push_back("in/" + entry.path().filename().string());
  }
  std::sort(command.begin() + 1, command.end());
  ProcessResult hashes = run_program("sha256sum", command, "", scratch);
  EXPECT_EQ(hashes.exit_code, 0) << hashes.output;
  return hashes.output;
}

std::string golden_folder(const Scenario& scenario) {
  return std::string(VEKA_SOURCE_DIR) + "/tests/golden/" + scenario.name + "/";
}

std::map<std::string, std::string> output_files(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = read_file(entry.path().string());
  }
  return files;
}

class GoldenTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(GoldenTest, OutputsMatchTheReviewedFiles) {
  const Scenario& scenario = GetParam();
  ScratchDir scratch;
  std::vector<std::string> arguments = prepare(scenario, scratch.path());
  ProcessResult run =
      run_program(VEKAPROC_PATH, arguments, scenario.operator_input, scratch.path());
  std::map<std::string, std::string> produced = output_files(scratch.path() + "out");
  produced["console.txt"] = run.output + "\nexit code " + std::to_string(run.exit_code) + "\n";
  produced["inputs.sha256"] = input_hashes(scratch.path());

  const std::string golden = golden_folder(scenario);
  if (std::getenv("VEKA_REGENERATE_GOLDEN") != nullptr) {
    fs::remove_all(golden);
    fs::create_directories(golden);
    for (const auto& [name, content] : produced) write_file(golden + name, content);
    GTEST_SKIP() << "regenerated " << golden;
  }
  ASSERT_TRUE(fs::exists(golden)) << "no reviewed outputs in " << golden;
  std::map<std::string, std::string> expected = output_files(golden);
  for (const auto& [name, content] : expected) {
    auto found = produced.find(name);
    ASSERT_NE(found, produced.end()) << name << " was not written";
    EXPECT_TRUE(found->second == content) << name << " differs from " << golden << name;
  }
  for (const auto& [name, content] : produced) {
    EXPECT_TRUE(expected.count(name) == 1) << name << " is not among the reviewed outputs";
  }
}

INSTANTIATE_TEST_SUITE_P(Recordings, GoldenTest, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                           return info.param.name;
                         });

}  // namespace veka
