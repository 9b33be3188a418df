// Built instead of the netCDF writers when the netCDF library is not found:
// the option --netcdf is then refused before any file is processed.
#include "common/fatal.h"
#include "export/netcdf_profile.h"
#include "export/netcdf_size_classes.h"

namespace veka {

namespace {

[[noreturn]] void refuse() {
  fatal("Option --netcdf: " + netcdf_missing());
}

}  // namespace

std::string netcdf_missing() {
  return "this vekaproc was built without the netCDF library";
}

void write_netcdf_profile(const ExportedProfile&, const std::vector<GlobalAttribute>&) {
  refuse();
}

void write_cruise_netcdf(const std::vector<ExportedProfile>&, const std::vector<GlobalAttribute>&) {
  refuse();
}

void write_netcdf_spectrum(const ExportedProfile&, const SpectrumFit&,
                           const std::vector<GlobalAttribute>&) {
  refuse();
}

}  // namespace veka
