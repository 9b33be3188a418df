// The profile as CF-1.8 / ACDD-1.3 netCDF files, of a data file and of the run.
#pragma once

#include <string>
#include <vector>

#include "export/exported_profile.h"
#include "export/options.h"

namespace veka {

// Why netCDF files cannot be written (a build without the netCDF library,
// or one that cannot load it); empty when they can.
std::string netcdf_missing();

std::string netcdf_profile_name();
std::string cruise_netcdf_name();

void write_netcdf_profile(const ExportedProfile& profile,
                          const std::vector<GlobalAttribute>& attributes);
void write_cruise_netcdf(const std::vector<ExportedProfile>& profiles,
                         const std::vector<GlobalAttribute>& attributes);

}  // namespace veka
