// The simulator's command line.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vekasim {

enum class Scenario { descent, descent_fixed, ascent, tow, damaged, large, series };

struct Options {
  Scenario scenario = Scenario::descent;
  std::string out;  // file, or file-name prefix for a series
  std::uint64_t seed = 1;
  double depth = 0.0;       // [m]; 0 takes the scenario's default
  double duration = 600.0;  // [s] at tow depth
  double size_mb = 100.0;
  int scan_rate = 0;  // 0 takes the scenario's default
  int files = 3;
  int first = 1;
  bool crlf = false;
  bool print_arguments = false;
  bool print_summary = false;
  std::string report_dir = "OUT/";
  bool help = false;
};

// A command line the simulator cannot follow; main reports it with exit code 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Options parse_options(int argc, const char* const argv[]);
const char* scenario_name(Scenario scenario);
extern const char* const kHelpText;

}  // namespace vekasim
