// Run parameters: the command line into the store for every data file; the console header.
#pragma once

#include <cstdint>
#include <string>

namespace veka {

struct TimeBinFactor {
  double dfct;   // bins per time count, 1 / (2 m)
  double dfctx;  // m, time counts per half bin
};

// Bins of 2 m time counts so that count_first..count_last fits into about
// 500 bins.
TimeBinFactor time_bin_factor(int32_t count_first, int32_t count_last);

// The names of a data file and of its reports, from the file-number text:
// argument 1 + argument 2 + text + ".dat", and argument 3 + argument 2 +
// text + "_" + argument 9. The run checks their length before it starts
// (driver/run_checks.h), so they are never cut.
std::string data_file_name_for(const std::string& file_number_text);
std::string output_base_name_for(const std::string& file_number_text);

void read_run_parameters();

}  // namespace veka
