// The profile as CF-1.8 / ACDD-1.3 netCDF files, holding only data of the
// profile feature (the size spectrum has a file of its own,
// export/netcdf_spectrum.h):
//
//   output_base_name + ".nc"   one data file: featureType profile over the
//       depth coordinate with its cell bounds (depth_bounds); in the time
//       mode timeSeries over a time coordinate in seconds since the station
//       time, which is taken to be the recording's start (without a station
//       time the axis is recording_time, seconds since the recording's first
//       frame, and the file claims no featureType). Station identity
//       (profile_id "<cruise>_<station>"), time, position and water depth
//       are scalars.
//   argument 3 + "a_Profiles_" + argument 2 + "_" + argument 9 + ".nc"
//       every data file of the run as one collection in the incomplete
//       multidimensional array representation: a profile (time mode:
//       timeseries) instance dimension, depth(profile, z) (time(timeseries,
//       obs) in seconds since 1970-01-01) with bounds, and every quantity
//       over (profile, z); rewritten after each file.
//
// Every quantity of the step table has its units, long name, standard name
// where CF has one, cell_methods ("depth: mean", "time: sum", ...) and the
// coordinates of the feature; a cell without a value is the fill value.
//
// Reads   the exported profiles (export/exported_profile.h), what the global
//         attributes read (export/netcdf_metadata.h), output_base_name,
//         arguments 2, 3 and 9
// Writes  the netCDF files only.
#pragma once

#include <string>
#include <vector>

#include "export/exported_profile.h"
#include "export/options.h"

namespace veka {

// False in a build without the netCDF library.
bool netcdf_available();

std::string netcdf_profile_name();
std::string cruise_netcdf_name();

void write_netcdf_profile(const ExportedProfile& profile,
                          const std::vector<GlobalAttribute>& attributes);
void write_cruise_netcdf(const std::vector<ExportedProfile>& profiles,
                         const std::vector<GlobalAttribute>& attributes);

}  // namespace veka
