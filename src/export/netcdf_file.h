// A netCDF file being written, over the netCDF C library: definitions first,
// then data. The file is built in memory and written out by close() as a
// report is (common/text_output.h), so a run that ends early never leaves a
// half-written file; without close() nothing is written. Every failing
// library call is fatal, with the library's message and the file name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace veka {

class NetcdfFile {
 public:
  explicit NetcdfFile(const std::string& name);
  ~NetcdfFile();
  NetcdfFile(const NetcdfFile&) = delete;
  NetcdfFile& operator=(const NetcdfFile&) = delete;

  static constexpr int kGlobal = -1;  // the variable id of global attributes

  int dimension(const std::string& name, size_t length);
  // A double (or, with `integer`, a 32-bit integer) variable over the
  // dimensions; none makes a scalar.
  int variable(const std::string& name, const std::vector<int>& dimensions, bool integer = false);
  void attribute(int variable, const std::string& name, const std::string& text);
  void attribute(int variable, const std::string& name, double value);
  void end_definitions();
  void put(int variable, const std::vector<double>& values);
  void put(int variable, const std::vector<int>& values);
  void close();

 private:
  void check(int status) const;

  int id_ = -1;
  std::string name_;
};

}  // namespace veka
