// The size spectrum of a data file as a CF-1.8 / ACDD-1.3 netCDF file of its own.
#pragma once

#include <string>
#include <vector>

#include "export/exported_profile.h"
#include "export/options.h"
#include "export/size_fits.h"

namespace veka {

std::string netcdf_spectrum_name();

void write_netcdf_spectrum(const ExportedProfile& profile, const SpectrumFit& fit,
                           const std::vector<GlobalAttribute>& attributes);

}  // namespace veka
