// Built instead of the netCDF writer when the netCDF library is not found:
// the option --netcdf is then refused before any file is processed.
#include "common/fatal.h"
#include "export/netcdf_profile.h"

namespace veka {

bool netcdf_available() {
  return false;
}

void write_netcdf_profile(const StationHeader&, const SpectrumFit&) {
  fatal("Option --netcdf: this vekaproc was built without the netCDF library");
}

}  // namespace veka
