// The front end as a user meets it: each subcommand and each refusal of the
// built program, runs from a settings file, and inspect on simulated
// recordings whose ranges the simulator knows.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/settings_file.h"
#include "support/support.h"

namespace veka {

namespace {

namespace fs = std::filesystem;
using support::file_exists;
using support::ProcessResult;
using support::read_file;
using support::run_program;
using support::ScratchDir;
using support::write_file;

ProcessResult vekaproc(const std::vector<std::string>& arguments, const std::string& folder) {
  std::vector<std::string> command = {"vekaproc"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return run_program(VEKAPROC_PATH, command, "", folder);
}

ProcessResult vekasim(const std::vector<std::string>& arguments, const std::string& folder) {
  std::vector<std::string> command = {"vekasim"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return run_program(VEKASIM_PATH, command, "", folder);
}

// "name values" lines of vekasim --summary.
std::map<std::string, std::vector<std::string>> summary_of(const std::string& text) {
  std::map<std::string, std::vector<std::string>> summary;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string name;
    words >> name;
    for (std::string word; words >> word;) summary[name].push_back(word);
  }
  return summary;
}

// The settings of a data set W in in/, reports to out/, and more lines.
std::string settings(const std::string& more = "") {
  return "[names]\ninput_folder = \"in/\"\ndata_set = \"W\"\noutput_folder = \"out/\"\n"
         "run_label = \"r1\"\n[files]\nfirst = 1\nlast = 1\n" +
         more;
}

class FrontEndTest : public ::testing::Test {
 protected:
  void simulate(const std::vector<std::string>& options) {
    std::vector<std::string> arguments = options;
    arguments.insert(arguments.end(), {"--out", "in/W1.dat"});
    fs::create_directories(scratch_.path() + "in");
    ASSERT_EQ(vekasim(arguments, scratch_.path()).exit_code, 0);
  }
  ProcessResult run(const std::string& settings_text, std::vector<std::string> options = {}) {
    write_file(scratch_.path() + "s.toml", settings_text);
    options.insert(options.begin(), {"run", "s.toml"});
    return vekaproc(options, scratch_.path());
  }
  std::string path(const std::string& name) const { return scratch_.path() + name; }
  ScratchDir scratch_;
};

TEST_F(FrontEndTest, HelpAndVersionExitZero) {
  ProcessResult help = vekaproc({"--help"}, path(""));
  EXPECT_EQ(help.exit_code, 0);
  for (const char* part : {"run", "settings", "args", "inspect", "binning.mode = \"profile\"",
                           "names.data_set = (required)", "Exit codes:", "3  done with warnings"}) {
    EXPECT_NE(help.output.find(part), std::string::npos) << part;
  }
  ProcessResult run_help = vekaproc({"help", "run"}, path(""));
  EXPECT_EQ(run_help.exit_code, 0);
  EXPECT_NE(run_help.output.find("Usage: vekaproc run [OPTIONS] SETTINGS"), std::string::npos);
  EXPECT_NE(run_help.output.find("--strict"), std::string::npos);
  EXPECT_EQ(vekaproc({"--version"}, path("")).output, "vekaproc " VEKAPROC_VERSION "\n");
  ProcessResult unknown = vekaproc({"help", "plot"}, path(""));
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_NE(unknown.error.find("no command plot"), std::string::npos);
}

TEST_F(FrontEndTest, BadCommandLinesAreRefusedWithExitCode2) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const Case cases[] = {
      {{"run"}, "vekaproc: SETTINGS is required (see vekaproc --help)\n"},
      {{"run", "s.toml", "--pdf"},
       "vekaproc: The following argument was not expected: --pdf (see vekaproc --help)\n"},
      {{"settings", "a", "b"},
       "vekaproc: 2 positional arguments given; a command line of positional arguments needs "
       "exactly 61 (see vekaproc --help)\n"},
      {{"inspect", "in/W1.dat", "--depth-field", "12"},
       "vekaproc: --depth-field: Value 12 not in range 1 to 11 (see vekaproc --help)\n"},
  };
  for (const Case& c : cases) {
    ProcessResult result = vekaproc(c.arguments, path(""));
    EXPECT_EQ(result.exit_code, 2) << c.arguments[0];
    EXPECT_EQ(result.error, c.error);
  }
  // A data folder named like a subcommand is given as ./run/.
  std::vector<std::string> line = support::standard_arguments("./run/", "W", "./run/");
  line.erase(line.begin());
  ProcessResult folder = vekaproc(line, path(""));
  EXPECT_EQ(folder.exit_code, 1);
  EXPECT_NE(folder.output.find("./run/W1.dat\r\nFile not found\r\n"), std::string::npos);
}

TEST_F(FrontEndTest, UnusableSettingsAreRefusedBeforeAnyFileIsRead) {
  struct Case {
    std::string settings;
    std::string error;
  };
  const Case cases[] = {
      {settings("[ctd]\nscan_rate = 24\n"),
       "s.toml:10: ctd.scan_rate: unknown key (allowed: scan_rate_hz, fields)\n"},
      {settings("[ctd]\nscan_rate_hz = \"24\"\n"),
       "s.toml:10: ctd.scan_rate_hz: \"24\" is a string (allowed: a number above 0)\n"},
      {settings("[binning]\nstart_depth_m = 600\n"),
       "s.toml:10: binning.start_depth_m: 600 is not allowed (allowed: an integer from 0 to "
       "500)\n"},
      {"[names]\ninput_folder = \"in/\"\n",
       "s.toml:1: names.data_set: required key missing (allowed: a text)\n"},
  };
  for (const Case& c : cases) {
    ProcessResult result = run(c.settings);
    EXPECT_EQ(result.exit_code, 2) << c.settings;
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.error, c.error);
    EXPECT_FALSE(file_exists(path("out")));
  }
}

TEST_F(FrontEndTest, RunOfARangeWithoutSampleRecordsWarns) {
  simulate({"--scenario", "tow", "--seed", "4", "--duration", "60"});
  auto known = summary_of(
      vekasim({"--scenario", "tow", "--seed", "4", "--duration", "60", "--summary"}, path(""))
          .output);
  const std::string tow = settings("[binning]\nmode = \"time\"\nlast_time_count = 10\n");
  ProcessResult result = run(tow);
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.output.substr(0, result.output.find(',')),
            "   1 in/W1.dat: time counts 0 to 10");
  EXPECT_NE(result.output.find("\nvekaproc: 1 file processed: 0 particles, "), std::string::npos);
  EXPECT_NE(result.output.find("; console log out/a_Console_W_r1.txt\n"), std::string::npos);
  EXPECT_EQ(result.error,
            "vekaproc: warning: in/W1.dat: the analysed range (time counts 0 to 10) holds no "
            "sample record; the recording has time counts " +
                known["time_counts"][0] + " to " + known["time_counts"][1] + " and depths " +
                known["depths"][0] + " to " + known["depths"][1] + " m\n");
  EXPECT_EQ(run(tow, {"--strict"}).exit_code, 3);
}

TEST_F(FrontEndTest, RunKeepsTheConsoleTextOfTheCommandLine) {
  simulate({"--scenario", "descent", "--seed", "5", "--depth", "20"});
  std::vector<std::string> line = support::standard_arguments("in/", "W", "out/");
  fs::create_directories(path("out"));
  ProcessResult legacy = run_program(VEKAPROC_PATH, line, "", path(""));
  ASSERT_EQ(legacy.exit_code, 0);
  fs::remove_all(path("out"));
  ArgumentLine arguments;
  arguments.arguments.assign(line.begin() + 1, line.end());
  const std::string text = settings_file_text(arguments);
  ProcessResult on_terminal = run(text, {"--console"});
  EXPECT_EQ(on_terminal.exit_code, 0);
  EXPECT_EQ(on_terminal.output, legacy.output);
  EXPECT_FALSE(file_exists(path("out/a_Console_W_r1.txt")));
  EXPECT_NE(on_terminal.error.find("   1 in/W1.dat: depths "), std::string::npos);
  ProcessResult logged = run(text);
  EXPECT_EQ(read_file(path("out/a_Console_W_r1.txt")), legacy.output);
  EXPECT_EQ(logged.error, "");
}

TEST_F(FrontEndTest, FatalErrorsUnderRunReachTheTerminal) {
  ProcessResult result = run(settings());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error,
            "vekaproc: in/W1.dat: File not found; console log out/a_Console_W_r1.txt\n");
  const std::string log = read_file(path("out/a_Console_W_r1.txt"));
  EXPECT_EQ(log.substr(log.size() - 27), "in/W1.dat\r\nFile not found\r\n");
}

TEST_F(FrontEndTest, InspectSaysWhatTheSimulatorWrote) {
  const std::vector<std::vector<std::string>> recordings = {
      {"--scenario", "tow", "--seed", "6", "--duration", "40", "--depth", "12"},
      {"--scenario", "descent", "--seed", "7", "--depth", "30"},
      {"--scenario", "ascent", "--seed", "8", "--depth", "25", "--scan-rate", "25"},
  };
  for (const auto& options : recordings) {
    simulate(options);
    std::vector<std::string> ask = options;
    ask.push_back("--summary");
    auto known = summary_of(vekasim(ask, path("")).output);
    ProcessResult text = vekaproc({"inspect", "in/W1.dat"}, path(""));
    ProcessResult json = vekaproc({"inspect", "in/W1.dat", "--json"}, path(""));
    ASSERT_EQ(text.exit_code, 0);
    ASSERT_EQ(json.exit_code, 0);
    const auto& counts = known["time_counts"];
    const auto& depths = known["depths"];
    const std::string deepest_count = known["deepest_time_count"][0];
    for (const std::string& line : std::vector<std::string>{
             "CTD lines       " + known["ctd_scans"][0] +
                 " (values per line: " + known["ctd_scans"][0] + " with 5)",
             "SEP blocks      " + known["frames"][0], "MEP records     " + known["mep_records"][0],
             "damaged lines   0", "time counts     " + counts[0] + " to " + counts[1],
             "depths          " + depths[0] + " to " + depths[1] + " m, deepest " + depths[1] +
                 " m at time count " + deepest_count,
             std::string("CTD scan rate   ") + (options.back() == "25" ? "25" : "24")}) {
      EXPECT_NE(text.output.find("\n" + line), std::string::npos) << line << "\n" << text.output;
    }
    // Each mode's settings lines complete a settings file.
    for (size_t at = text.output.find("\n# binning"); at != std::string::npos;
         at = text.output.find("\n# binning", at + 1)) {
      const std::string lines = text.output.substr(at, text.output.find("\n\n", at + 1) - at);
      EXPECT_NO_THROW(read_settings_text(settings(lines), "inspect")) << lines;
    }
    auto number = [](const std::string& text) { return real_argument_text(std::stod(text)); };
    for (const std::string& field : std::vector<std::string>{
             "\"first\" : " + counts[0], "\"last\" : " + counts[1],
             "\"shallowest\" : " + number(depths[0]), "\"deepest\" : " + number(depths[1]),
             "\"deepest_time_count\" : " + deepest_count, "\"sep_blocks\" : " + known["frames"][0],
             "\"mode\" : \"profile\"", "\"first_time_count\" : " + counts[0]}) {
      EXPECT_NE(json.output.find(field), std::string::npos) << field << "\n" << json.output;
    }
  }
}

TEST_F(FrontEndTest, InspectCountsLinesByKind) {
  std::string counts;
  for (int i = 0; i < 32; ++i) counts += " 1";
  const std::string sep = "L1" + counts + "\nL2" + counts + "\nL3" + counts + "\nL4" + counts;
  fs::create_directories(path("in"));
  write_file(path("in/W1.dat"),
             "# header\n* Station   042\n"
             "C 5.0 33.1 12.5 31.0 0.2\n" +
                 sep + "\nL5 0 0 900 20 320 0 0\n" +
                 "M 3 100 40 5\n"
                 "C 7.5-33.1 12.5 31.0 0.2\n"            // a sign separates
                 "C 6.0 33.1 12.5\n"                     // short of two values
                 "C 6.0 33.1 12.5 31.0 1234567890123\n"  // a value of 13 characters
                 "L1 1 2\n"                              // short of counts
                 "M 3 100\n"                             // short of fields
                 "X what\n\n" +
                 sep + "\nL5 0 0 950 20 320 0 0\n");
  ProcessResult result = vekaproc({"inspect", "in/W1.dat"}, path(""));
  ASSERT_EQ(result.exit_code, 0);
  for (const char* line :
       {"header lines    2", "CTD lines       2 (values per line: 1 with 3, 2 with 5)",
        "SEP blocks      2", "L5 lines        2", "MEP records     1", "other lines     1",
        "empty lines     1 (the data end at the first)", "damaged lines   4",
        "time counts     900 to 950",
        "depths          5.000 to 7.500 m, deepest 7.500 m at "
        "time count 900",
        "station         042"}) {
    EXPECT_NE(result.output.find(line), std::string::npos) << line << "\n" << result.output;
  }
  ProcessResult missing = vekaproc({"inspect", "in/W2.dat"}, path(""));
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.error, "vekaproc: in/W2.dat: File not found\n");
}

}  // namespace

}  // namespace veka
