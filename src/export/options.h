// Optional outputs after the 61 positional arguments, and the settings of those outputs.
#pragma once

#include <string>
#include <vector>

#include "export/station.h"
#include "export/step_table.h"

namespace veka {

constexpr int kPositionalArguments = 61;

struct GlobalAttribute {
  std::string name;
  std::string value;
};

struct ExportOptions {
  bool plots = false;
  bool odv = false;
  bool netcdf = false;
  bool spectrum = false;
  int bin = 1;
  int section_range = kAllRanges;
  StationSettings station;
  std::vector<GlobalAttribute> attributes;

  bool any() const { return plots || odv || netcdf || spectrum; }
  // The outputs that show the spectrum's fits.
  bool shows_spectrum() const { return plots || netcdf || spectrum; }
  // The outputs that show the step table.
  bool shows_steps() const { return plots || odv || netcdf; }
};

// What may follow the 61 arguments, each with the key that names it in a
// settings file: a flag that asks for an output, or a setting whose value
// follows it (an integer, a text, or a text that may be given again).
struct ExportFlag {
  enum class Kind { flag, integer, text, texts };

  std::string key;     // "plots", "bin"
  std::string option;  // "--plots", "--bin"
  std::string meaning;
  Kind kind = Kind::flag;
  bool ExportOptions::*asked = nullptr;  // a flag: the output it asks for
  std::string allowed;                   // a setting: what its value may be
  // A setting: takes the value into the options; false when it is not one
  // that `allowed` describes.
  bool (*apply)(const std::string& value, ExportOptions& options) = nullptr;

  bool takes_value() const { return kind != Kind::flag; }
};
const std::vector<ExportFlag>& export_flags();

ExportOptions read_export_options();

// The names --attribute takes.
const std::vector<std::string>& settable_attributes();

}  // namespace veka
