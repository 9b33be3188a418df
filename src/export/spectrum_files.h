// The size spectrum as tidy comma-separated tables (--spectrum), for the
// size-spectrum tools of the community: one header row, the same number of
// fields on every row, plain numbers with the units in the column names,
// and an empty cell for a value that does not exist.
//
//   output_base_name + "_Spectrum.csv"       one row per 15 um class
//   output_base_name + "_Spectrum_bins.csv"  one row per step and class with a count
//   output_base_name + "_Spectrum_fit.csv"   the fits, one row
//
// Every row starts with the data set (argument 2), the file number, and the
// cruise and station of the recording's header or the run's settings (empty
// where neither names them).
//
// Reads   the spectrum table and fits (export/spectrum_table.h,
//         export/spectrum_fit.h), the step axis, linear_slope,
//         linear_intercept, nbss_first, nbss_last, file_number,
//         output_base_name, argument 2
// Writes  the three files only.
#pragma once

#include <string>

#include "export/spectrum_fit.h"
#include "export/spectrum_table.h"
#include "export/station.h"

namespace veka {

std::string spectrum_file_name();
std::string spectrum_bins_file_name();
std::string spectrum_fit_file_name();

void write_spectrum_files(const Station& station, const SpectrumTable& table,
                          const SpectrumFit& fit);

}  // namespace veka
