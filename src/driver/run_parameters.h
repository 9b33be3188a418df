// Run parameters: converts the positional command-line arguments into the
// store for every data file, derives the time-bin factor, the tunnel area
// and the file names, and prints the console header that echoes them.
//
// Reads   the command line (arguments 1..9, 11..56), file_number_text
// Writes  every run parameter of the store, data_file_name,
//         output_base_name, and header lines 1 to 10 on the console.
#pragma once

#include <cstdint>

namespace veka {

// The CTD field letters of arguments 12..22, in the order of
// ctd_field_position: temperature, conductivity, depth, salinity and the
// analog channels 1..7. Any other text marks a value that is not used.
constexpr int kCtdFieldCodeCount = 11;
extern const char* const kCtdFieldCodes[kCtdFieldCodeCount];

struct TimeBinFactor {
  double dfct;   // bins per time count, 1 / (2 m)
  double dfctx;  // m, time counts per half bin
};

// Bins of 2 m time counts so that count_first..count_last fits into about
// 500 bins.
TimeBinFactor time_bin_factor(int32_t count_first, int32_t count_last);

void read_run_parameters();

}  // namespace veka
