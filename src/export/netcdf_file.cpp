#include "export/netcdf_file.h"

#include <netcdf.h>
#include <netcdf_mem.h>

#include <cstdlib>
#include <memory>
#include <string_view>

#include "common/fatal.h"
#include "common/text_output.h"

namespace veka {

NetcdfFile::NetcdfFile(const std::string& name) : name_(name) {
  // Without an initial size the image grows to the file's own size, so its
  // bytes are those the library would write to the disk (no padding).
  check(nc_create_mem(name.c_str(), NC_CLOBBER, 0, &id_));
}

NetcdfFile::~NetcdfFile() {
  if (id_ >= 0) nc_abort(id_);
}

void NetcdfFile::check(int status) const {
  if (status != NC_NOERR)
    fatal("netCDF error: " + std::string(nc_strerror(status)) + " (" + name_ + ")");
}

int NetcdfFile::dimension(const std::string& name, size_t length) {
  int dimension_id;
  check(nc_def_dim(id_, name.c_str(), length, &dimension_id));
  return dimension_id;
}

int NetcdfFile::variable(const std::string& name, const std::vector<int>& dimensions,
                         bool integer) {
  int variable_id;
  check(nc_def_var(id_, name.c_str(), integer ? NC_INT : NC_DOUBLE,
                   static_cast<int>(dimensions.size()), dimensions.data(), &variable_id));
  return variable_id;
}

void NetcdfFile::attribute(int variable, const std::string& name, const std::string& text) {
  check(nc_put_att_text(id_, variable, name.c_str(), text.size(), text.c_str()));
}

void NetcdfFile::attribute(int variable, const std::string& name, double value) {
  check(nc_put_att_double(id_, variable, name.c_str(), NC_DOUBLE, 1, &value));
}

void NetcdfFile::end_definitions() {
  check(nc_enddef(id_));
}

void NetcdfFile::put(int variable, const std::vector<double>& values) {
  check(nc_put_var_double(id_, variable, values.data()));
}

void NetcdfFile::put(int variable, const std::vector<int>& values) {
  check(nc_put_var_int(id_, variable, values.data()));
}

void NetcdfFile::close() {
  int id = id_;
  id_ = -1;
  NC_memio image{};
  check(nc_close_memio(id, &image));
  std::unique_ptr<void, decltype(&std::free)> owned(image.memory, &std::free);
  TextOutput file(name_, TextOutput::Mode::replace);
  file.write(std::string_view(static_cast<const char*>(image.memory), image.size));
  file.close();
}

}  // namespace veka
