// What the netCDF files say about themselves: global attributes and station variables.
#pragma once

#include <string>
#include <vector>

#include "export/exported_profile.h"
#include "export/netcdf_file.h"
#include "export/options.h"

namespace veka {

struct NetcdfDescription {
  std::string feature_type;  // "profile", "timeSeries", or empty for none
  std::string title;
  std::string summary;
  std::string id;
  std::string references;          // unless the settings give them
  std::vector<std::string> notes;  // sentences of the comment attribute
};

void write_global_attributes(NetcdfFile& file, const NetcdfDescription& description,
                             const std::vector<ExportedProfile>& profiles,
                             const std::vector<GlobalAttribute>& settings);

// The identity of each profile (`id_name`, a string, with cf_role `role`
// unless it is empty), its position, water depth when one is known and,
// with `with_time`, its station time in seconds since 1970-01-01 UTC. Over
// `dimensions` (none for a single data file's scalars). Returns the names
// for the data variables' coordinates attribute.
std::string add_station_variables(NetcdfWriter& writer, const std::vector<int>& dimensions,
                                  const std::vector<ExportedProfile>& profiles,
                                  const std::string& id_name, const std::string& role,
                                  bool with_time);

// "seconds since 1970-01-01 00:00:00", and the same from another moment.
std::string seconds_since(double utc_seconds);

// The references of the normalised biomass size spectrum.
extern const char* const kNbssReference;

}  // namespace veka
