// A netCDF-4 file being written, over the netCDF C library: definitions
// first, then data. The file is a report's temporary file
// (common/text_output.h) that close() publishes, so a run that ends early
// never leaves a half-written file; without close() nothing is left. Every
// failing library call is fatal, with the library's message and the file
// name. The netCDF-4 format is used for its string variables (the profile
// identities).
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "common/text_output.h"

namespace veka {

// The fill value of the double variables, the library's default.
constexpr double kNetcdfFill = 9.9692099683868690e+36;

class NetcdfFile {
 public:
  explicit NetcdfFile(const std::string& name);
  ~NetcdfFile();
  NetcdfFile(const NetcdfFile&) = delete;
  NetcdfFile& operator=(const NetcdfFile&) = delete;

  static constexpr int kGlobal = -1;  // the variable id of global attributes

  enum class Type { real, integer, text };

  int dimension(const std::string& name, size_t length);
  // A variable of doubles, 32-bit integers or strings over the dimensions;
  // none makes a scalar.
  int variable(const std::string& name, const std::vector<int>& dimensions, Type type);
  void attribute(int variable, const std::string& name, const std::string& text);
  void attribute(int variable, const std::string& name, double value);
  void end_definitions();
  void put(int variable, const std::vector<double>& values);
  void put(int variable, const std::vector<int>& values);
  void put(int variable, const std::vector<std::string>& values);
  void close();

 private:
  void check(int status) const;

  int id_ = -1;
  std::string name_;
  TemporaryFile file_;
};

// The attributes that say what a variable holds; `content` is its ACDD
// coverage_content_type.
struct Meaning {
  std::string units;
  std::string long_name;
  std::string standard_name;
  std::string content = "physicalMeasurement";
};

// Definitions come before data in a netCDF file; the values of the
// variables wait here until every variable is defined.
class NetcdfWriter {
 public:
  explicit NetcdfWriter(const std::string& name) : file_(name) {}

  NetcdfFile& file() { return file_; }

  // `gaps`: some values may be kNetcdfFill, which the _FillValue attribute
  // then marks.
  int add(const std::string& name, const std::vector<int>& dimensions, std::vector<double> values,
          const Meaning& meaning, bool gaps = false);
  int add_integers(const std::string& name, const std::vector<int>& dimensions,
                   std::vector<int> values, const Meaning& meaning);
  int add_texts(const std::string& name, const std::vector<int>& dimensions,
                std::vector<std::string> values, const Meaning& meaning);
  // The values of a variable defined directly on the file.
  void add_values(int id, std::vector<double> values);

  void finish();

 private:
  void describe(int id, const Meaning& meaning);

  NetcdfFile file_;
  std::vector<std::pair<int, std::vector<double>>> doubles_;
  std::vector<std::pair<int, std::vector<int>>> integers_;
  std::vector<std::pair<int, std::vector<std::string>>> texts_;
};

}  // namespace veka
