#include "vekasim/options.h"

#include <cstdio>
#include <cstdlib>

namespace vekasim {

const char* const kHelpText =
    R"(vekasim: writes simulated VEKA counter recordings (CTD scans, single-element
frames and multi-element records), the same bytes for the same seed and options.

usage: vekasim --scenario NAME --out PATH [options]
       vekasim --scenario NAME [--out PATH] --args    (print a processing command line)
       vekasim --scenario NAME --summary              (print what the recording holds)

scenarios:
  descent        vertical cast: soak at 4 m, descent at 0.8 m/s with ship heave,
                 turn at --depth (default 120 m), ascent at 1 m/s; analysed as a
                 descending cast with start and end found by profile detection
  descent-fixed  the same cast, analysed between explicit start and end depths
  ascent         cast with a 1 m/s descent and a 0.8 m/s ascent, analysed upwards
  tow            horizontal tow at 2 m/s near --depth (default 25 m) for
                 --duration seconds (default 600), analysed by time count
  damaged        short 25 Hz descent (default 40 m) with every kind of damaged
                 line a reader checks for, CR LF line ends
  large          time-count tow written until the file holds --size MB (default 100)
  series         --files casts (default 3) of one data set: PATH is a prefix and
                 file k is PATH<k>.dat for k = --first (default 1) onwards

options:
  --seed N          random seed (default 1)
  --depth METRES    turn depth of a cast, mean depth of a tow (5..480)
  --duration SEC    time at tow depth (tow only)
  --size MB         size of the large recording
  --scan-rate 24|25 CTD scans per second (default 24, damaged 25)
  --files N, --first K   series length and first file number
  --crlf            CR LF line ends for any scenario
  --args            print, instead of writing, one 61-argument processing command
                    line that suits the recording; arguments 1 and 2 (input folder
                    and data-set name) and the file numbers come from --out, or are
                    IN/ and NAME without it; argument 3 is --report-dir (default OUT/)
  --summary         print, instead of writing, what the recording holds, one
                    "name values" line each: frames, time_counts (first, last),
                    ctd_scans, depths (shallowest, deepest as written),
                    deepest_time_count (of the last frame before the deepest
                    scan), mep_records; of the first file of a series
  --help            this text

processing arguments printed by --args:
  1-3 input folder, data-set name, output folder   4 binning mode (2 depth with
  profile detection, 1 time count)   5-6 time-count range   7-8 start and end
  depth (1 1 = detect)   9 run label   10 unused   11 CTD scan rate
  12-22 CTD field letters D C T S A1 and placeholders   23 cast direction (1 down,
  0 up)   24 expected speed [m/s]   25 flow speed from transit counts (1)
  26 flow scale   27 tunnel selector   28-45 shape classes: length, diameter and
  length/diameter bounds   46-55 reporting diameter bins [um]   56 shape file
  57-58 first and last file number   59 unused   60-61 analysis option and value

exit codes: 0 done, 1 a file could not be written, 2 bad command line
)";

struct ScenarioName {
  const char* name;
  Scenario scenario;
};

constexpr ScenarioName kScenarioNames[] = {
    {"descent", Scenario::descent}, {"descent-fixed", Scenario::descent_fixed},
    {"ascent", Scenario::ascent},   {"tow", Scenario::tow},
    {"damaged", Scenario::damaged}, {"large", Scenario::large},
    {"series", Scenario::series},
};

const char* scenario_name(Scenario scenario) {
  for (const ScenarioName& s : kScenarioNames) {
    if (s.scenario == scenario) return s.name;
  }
  return "?";
}

static Scenario parse_scenario(const std::string& text) {
  for (const ScenarioName& s : kScenarioNames) {
    if (text == s.name) return s.scenario;
  }
  throw UsageError("unknown scenario '" + text + "' (see --help)");
}

static double parse_number(const std::string& option, const char* text, double low, double high) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value >= low && value <= high)) {
    char range[64];
    std::snprintf(range, sizeof range, " needs a number from %g to %g, not '", low, high);
    throw UsageError(option + range + text + "'");
  }
  return value;
}

static int parse_whole(const std::string& option, const char* text, int low, int high) {
  const double value = parse_number(option, text, low, high);
  if (value != static_cast<int>(value)) {
    throw UsageError(option + " needs a whole number, not '" + std::string(text) + "'");
  }
  return static_cast<int>(value);
}

static std::uint64_t parse_seed(const char* text) {
  char* end = nullptr;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0' || text[0] == '-') {
    throw UsageError("--seed needs a non-negative whole number, not '" + std::string(text) + "'");
  }
  return value;
}

Options parse_options(int argc, const char* const argv[]) {
  Options options;
  bool scenario_given = false;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help") {
      options.help = true;
      return options;
    }
    if (option == "--crlf") {
      options.crlf = true;
      continue;
    }
    if (option == "--args") {
      options.print_arguments = true;
      continue;
    }
    if (option == "--summary") {
      options.print_summary = true;
      continue;
    }
    if (i + 1 >= argc) throw UsageError(option + " needs a value (see --help)");
    const char* value = argv[++i];
    if (option == "--scenario") {
      options.scenario = parse_scenario(value);
      scenario_given = true;
    } else if (option == "--out") {
      options.out = value;
    } else if (option == "--report-dir") {
      options.report_dir = value;
    } else if (option == "--seed") {
      options.seed = parse_seed(value);
    } else if (option == "--depth") {
      options.depth = parse_number(option, value, 5.0, 480.0);
    } else if (option == "--duration") {
      options.duration = parse_number(option, value, 10.0, 1.0e6);
    } else if (option == "--size") {
      options.size_mb = parse_number(option, value, 0.1, 100000.0);
    } else if (option == "--scan-rate") {
      options.scan_rate = parse_whole(option, value, 24, 25);
    } else if (option == "--files") {
      options.files = parse_whole(option, value, 1, 999);
    } else if (option == "--first") {
      options.first = parse_whole(option, value, 0, 999);
    } else {
      throw UsageError("unknown option '" + option + "' (see --help)");
    }
  }
  if (!scenario_given) throw UsageError("--scenario is required (see --help)");
  if (options.out.empty() && !options.print_arguments && !options.print_summary) {
    throw UsageError("--out is required (see --help)");
  }
  if (options.scenario == Scenario::series && options.first + options.files - 1 > 999) {
    throw UsageError("series file numbers must stay below 1000");
  }
  return options;
}

}  // namespace vekasim
