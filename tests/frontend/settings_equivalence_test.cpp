// Every golden scenario once more through a settings file: the settings
// that `vekaproc settings` makes of the scenario's command line convert
// back to the same line, and `vekaproc run` writes the reviewed outputs byte
// for byte, with the reviewed console text in its console log.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "golden/scenarios.h"
#include "support/support.h"

namespace veka {

namespace {

using support::ProcessResult;
using support::run_program;
using support::ScratchDir;
using support::write_file;

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

class SettingsEquivalenceTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(SettingsEquivalenceTest, RunWritesTheReviewedOutputs) {
  const Scenario& scenario = GetParam();
  ScratchDir scratch;
  std::vector<std::string> line = prepare(scenario, scratch.path());
  std::vector<std::string> convert = line;
  convert.insert(convert.begin() + 1, "settings");
  ProcessResult settings = run_program(VEKAPROC_PATH, convert, "", scratch.path());
  ASSERT_EQ(settings.exit_code, 0) << settings.error;
  write_file(scratch.path() + "run.toml", settings.output);

  ProcessResult back =
      run_program(VEKAPROC_PATH, {"vekaproc", "args", "run.toml"}, "", scratch.path());
  EXPECT_EQ(back.output, joined({line.begin() + 1, line.end()}) + "\n");

  ProcessResult run = run_program(VEKAPROC_PATH, {"vekaproc", "run", "run.toml"},
                                  scenario.operator_input, scratch.path());
  std::map<std::string, std::string> produced = output_files(scratch.path() + "out");
  const std::string log = "a_Console_" + scenario.data_set + "_r1.txt";
  ASSERT_EQ(produced.count(log), 1u) << run.error;
  produced["console.txt"] = produced[log] + "\nexit code " + std::to_string(run.exit_code) + "\n";
  produced.erase(log);
  produced["inputs.sha256"] = input_hashes(scratch.path());
  const std::map<std::string, std::string> expected = output_files(golden_folder(scenario));
  for (const auto& [name, content] : expected) {
    EXPECT_TRUE(produced[name] == content) << name << " differs from the reviewed file";
  }
  EXPECT_EQ(produced.size(), expected.size());
}

INSTANTIATE_TEST_SUITE_P(Recordings, SettingsEquivalenceTest, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& info) {
                           return info.param.name;
                         });

}  // namespace

}  // namespace veka
