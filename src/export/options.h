// Optional outputs, asked for by options placed after the 61 positional
// arguments: --plots (HTML pages of plots), --odv (an Ocean Data View
// spreadsheet), --netcdf (a CF netCDF profile) and --spectrum (the size
// spectrum as tidy tables), in any combination and order. A command line of
// exactly 61 arguments asks for none of them.
//
// Reads   the command line (store.arguments)
// Writes  nothing; an unknown option, or --netcdf in a build without the
//         netCDF library, is fatal before any data file is processed.
#pragma once

#include <string>
#include <vector>

namespace veka {

constexpr int kPositionalArguments = 61;

struct ExportOptions {
  bool plots = false;
  bool odv = false;
  bool netcdf = false;
  bool spectrum = false;

  bool any() const { return plots || odv || netcdf || spectrum; }
  // The outputs that show the spectrum's fits.
  bool shows_spectrum() const { return plots || netcdf || spectrum; }
};

// The outputs that a flag after the 61 arguments asks for, each with the key
// that names it in a settings file.
struct ExportFlag {
  std::string key;     // "plots"
  std::string option;  // "--plots"
  std::string meaning;
  bool ExportOptions::*asked;
};
const std::vector<ExportFlag>& export_flags();

ExportOptions read_export_options();

}  // namespace veka
