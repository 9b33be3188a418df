// Settings files into the 61 arguments and back, and the one line that each
// kind of unusable setting gets.
#include "frontend/settings_file.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace veka {

namespace {

const std::string kRequired = R"([names]
input_folder = "in/"
data_set = "W"
output_folder = "out/"
run_label = "r1"

[files]
first = 1
last = 1
)";

// The sample run's line with the names above.
const std::string kSampleLine =
    "in/ W out/ 2 0 0 1 1 r1 0 24 D C T S A1 x x x x x x 1 0.8 1 1 0 0.5 2.0 2.0 5.0 5.0 30.0 "
    "0.2 1.0 0.5 2.0 0.3 3.0 0.5 2.0 1.0 3.0 3.0 20.0 100 250 250 500 500 1000 1000 2000 2000 "
    "4000 0 1 1 0 0 0";

std::string line_of(const std::string& text, const std::vector<std::string>& sets = {}) {
  return command_line_text(read_settings_text(text, "s.toml", sets));
}

std::string refusal(const std::string& text, const std::vector<std::string>& sets = {}) {
  try {
    line_of(text, sets);
  } catch (const SettingsRefused& refused) {
    return refused.what();
  }
  return "accepted";
}

ArgumentLine split(const std::string& line) {
  ArgumentLine result;
  size_t start = 0;
  for (size_t end; (end = line.find(' ', start)) != std::string::npos; start = end + 1) {
    result.arguments.push_back(line.substr(start, end - start));
  }
  result.arguments.push_back(line.substr(start));
  while (result.arguments.back().rfind("--", 0) == 0) {
    result.options.insert(result.options.begin(), result.arguments.back());
    result.arguments.pop_back();
  }
  return result;
}

// The sample line with some arguments changed.
std::string with_arguments(const std::map<int, std::string>& changes) {
  ArgumentLine line = split(kSampleLine);
  for (const auto& [number, text] : changes) line.arguments[number - 1] = text;
  return command_line_text(line);
}

std::string with_argument(int number, const std::string& text) {
  return with_arguments({{number, text}});
}

TEST(SettingsFile, TheRequiredKeysAloneGiveTheSampleRun) {
  EXPECT_EQ(line_of(kRequired), kSampleLine);
}

TEST(SettingsFile, KeysFillTheirArguments) {
  struct Case {
    std::string set;
    int argument;
    std::string text;
  };
  const Case cases[] = {
      {"binning.mode=time", 4, "1"},
      {"binning.mode=depth", 4, "0"},
      {"binning.cast_direction=ascending", 23, "0"},
      {"speed.speed_source=expected", 25, "0.0"},
      {"speed.tunnel=large", 27, "1"},
      {"speed.expected_speed_m_s=2", 24, "2"},
      {"speed.expected_speed_m_s=2.0", 24, "2.0"},
      {"ctd.scan_rate_hz=25", 11, "25"},
      {"names.run_label=1234", 9, "1234"},
      {"options.analysis_option=-3", 60, "-3"},
      {"options.shape_file=shapes", 56, "1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(line_of(kRequired, {c.set}), with_argument(c.argument, c.text)) << c.set;
  }
  EXPECT_EQ(line_of(kRequired, {"reporting.range_5_um=[2000, 4500.5]"}),
            with_argument(55, "4500.5"));
  EXPECT_EQ(line_of(kRequired, {"ctd.fields=[\"T\", \"x\", \"D\"]"}),
            with_arguments({{12, "T"}, {13, "x"}, {14, "D"}, {15, "x"}, {16, "x"}}));
  EXPECT_EQ(line_of(kRequired + "[export]\nnetcdf = true\nplots = true\nodv = false\n"),
            kSampleLine + " --plots --netcdf");
  EXPECT_EQ(
      line_of(kRequired + "[export]\nattribute = [\"license=CC-BY-4.0\", \"project=P\"]\nbin = 5\n"
                          "lat = \"43 15.46 N\"\n"),
      kSampleLine +
          " --bin 5 --lat '43 15.46 N' --attribute license=CC-BY-4.0 --attribute "
          "project=P");
}

TEST(SettingsFile, RefusalsNameTheLineTheKeyAndWhatIsAllowed) {
  struct Case {
    std::string text;  // after the required keys, which end at line 9
    std::string line;
  };
  const Case cases[] = {
      {"[binning]\nfrist_time_count = 3\n",
       "s.toml:11: binning.frist_time_count: unknown key (allowed: mode, first_time_count, "
       "last_time_count, start_depth_m, end_depth_m, cast_direction)"},
      {"[binnig]\n",
       "s.toml:10: binnig: unknown table (allowed: names, files, binning, ctd, speed, "
       "shape_classes, reporting, options, export)"},
      {"[binning]\nfirst_time_count = \"3\"\n",
       "s.toml:11: binning.first_time_count: \"3\" is a string (allowed: an integer, at least 0)"},
      {"[binning]\nstart_depth_m = 2.5\n",
       "s.toml:11: binning.start_depth_m: 2.5 is a number with a fraction (allowed: an integer "
       "from 0 to 500)"},
      {"[binning]\nend_depth_m = 501\n",
       "s.toml:11: binning.end_depth_m: 501 is not allowed (allowed: an integer from 0 to 500)"},
      {"[binning]\nmode = \"tow\"\n",
       "s.toml:11: binning.mode: \"tow\" is not allowed (allowed: \"profile\", \"depth\", "
       "\"time\")"},
      {"[speed]\nflow_scale = 0\n",
       "s.toml:11: speed.flow_scale: 0 is not allowed (allowed: a number above 0)"},
      {"[reporting]\nrange_2_um = [500, 250]\n",
       "s.toml:11: reporting.range_2_um: [500, 250] is not allowed (allowed: [low, high], two "
       "numbers of at least 0, low not above high)"},
      {"[ctd]\nfields = [\"D\", \"T\", \"D\"]\n",
       "s.toml:11: ctd.fields: [\"D\", \"T\", \"D\"] is not allowed (allowed: a list of 1 to 11 "
       "of \"T\", \"C\", \"D\", \"S\", \"A1\", \"A2\", \"A3\", \"A4\", \"A5\", \"A6\", \"A7\", or "
       "\"x\", each letter at most once)"},
      {"[options]\nanalysis_option = 4\n",
       "s.toml:11: options.analysis_option: 4 is not allowed (allowed: one of 0, 1, 2, 3, -3, 5, "
       "6)"},
      {"[binning]\nmode = \"time\"\nfirst_time_count = 900\nlast_time_count = 800\n",
       "s.toml:13: binning.last_time_count: 800 comes before binning.first_time_count = 900 "
       "(allowed: an integer, at least binning.first_time_count)"},
      {"[export]\nplots = 1\n",
       "s.toml:11: export.plots: 1 is an integer (allowed: true or false)"},
      {"[export]\nbin = 7\n", "s.toml:11: export.bin: 7 is not allowed (allowed: 1, 5, 10 or 25)"},
      {"[export]\ntime = 2023\n",
       "s.toml:11: export.time: 2023 is an integer (allowed: a text, a date and time in UTC "
       "(2023-08-23T17:51:29))"},
      {"[ctd]\nscan_rate_hz = 24\nscan_rate_hz = 25\n",
       "s.toml:12: not valid TOML: Error while parsing key-value pair: cannot redefine existing "
       "integer 'scan_rate_hz'"},
  };
  for (const Case& c : cases) EXPECT_EQ(refusal(kRequired + c.text), c.line) << c.text;
  // A last time count before the first one is harmless where none is used.
  EXPECT_EQ(refusal(kRequired + "[binning]\nfirst_time_count = 900\nlast_time_count = 800\n"),
            "accepted");
}

TEST(SettingsFile, RequiredKeysAndTheOrderOfProblems) {
  std::string without_label = kRequired;
  without_label.erase(without_label.find("run_label"), std::string("run_label = \"r1\"\n").size());
  EXPECT_EQ(refusal(without_label),
            "s.toml:1: names.run_label: required key missing (allowed: a text of 1 to 4 "
            "characters)");
  EXPECT_EQ(refusal("speed = 1\n[names]\noutput_folder = \"out\"\n"),
            "s.toml:1: speed: a key outside the tables (allowed: the tables names, files, "
            "binning, ctd, speed, shape_classes, reporting, options, export)");
  EXPECT_EQ(refusal(kRequired + "[binning]\nmode = \"tow\"\n", {"files.last=0"}),
            "s.toml:11: binning.mode: \"tow\" is not allowed (allowed: \"profile\", \"depth\", "
            "\"time\")");
}

TEST(SettingsFile, OverridesComeOnTopAndAreNamedInRefusals) {
  EXPECT_EQ(line_of(kRequired, {"names.run_label=r2", "files.last=3"}),
            with_arguments({{9, "r2"}, {58, "3"}}));
  EXPECT_EQ(refusal(kRequired, {"files.last=\"3\""}),
            "--set files.last=\"3\": files.last: \"3\" is a string (allowed: an integer, at least "
            "0)");
  EXPECT_EQ(refusal(kRequired, {"nmaes.data_set=W"}),
            "--set nmaes.data_set=W: nmaes: unknown table (allowed: names, files, binning, ctd, "
            "speed, shape_classes, reporting, options, export)");
  EXPECT_EQ(refusal(kRequired, {"run_label"}),
            "--set run_label: not TABLE.KEY=VALUE (such as --set binning.mode=time)");
}

TEST(SettingsFile, CommandLinesConvertBothWays) {
  for (const std::string& line : {kSampleLine, with_argument(24, "2.0"), with_argument(25, "0.0"),
                                  with_argument(4, "1") + " --odv", with_argument(61, "1.5")}) {
    EXPECT_EQ(line_of(settings_file_text(split(line))), line);
  }
  auto converting = [](const std::string& line) {
    try {
      settings_file_text(split(line));
    } catch (const SettingsRefused& refused) {
      return std::string(refused.what());
    }
    return std::string("converted");
  };
  EXPECT_EQ(converting(with_argument(23, "2")),
            "argument 23 (binning.cast_direction): \"2\" is not allowed (allowed: 1 (descending), "
            "0 (ascending))");
  EXPECT_EQ(converting(with_argument(26, "abc")),
            "argument 26 (speed.flow_scale): \"abc\" is not a number (allowed: a number above 0)");
  EXPECT_EQ(converting(with_argument(3, "out")),
            "argument 3 (names.output_folder): \"out\" is not allowed (allowed: a folder name "
            "ending in /)");
  EXPECT_EQ(converting(kSampleLine + " --pdf"),
            "option --pdf: unknown (allowed: --plots, --odv, --netcdf, --spectrum, --bin, "
            "--section, --cruise, --station, --time, --lat, --lon, --attribute)");
  // Settings with their values, in the order of the [export] table.
  ArgumentLine with_settings = split(kSampleLine);
  with_settings.options = {"--lat", "43 15.46 N", "--odv", "--bin", "5"};
  EXPECT_EQ(line_of(settings_file_text(with_settings)),
            kSampleLine + " --odv --bin 5 --lat '43 15.46 N'");
  EXPECT_EQ(converting(kSampleLine + " --bin"),
            "option --bin: no value after it (allowed: 1, 5, 10 or 25)");
}

TEST(SettingsFile, RealsReadBackAsTheSameNumber) {
  const std::pair<double, const char*> cases[] = {{2.0, "2.0"},
                                                  {0.8, "0.8"},
                                                  {30.0, "30.0"},
                                                  {1e21, "1e+21"},
                                                  {0.1 + 0.2, "0.30000000000000004"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(real_argument_text(value), text);
}

}  // namespace

}  // namespace veka
