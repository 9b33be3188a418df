// The profile as an Ocean Data View generic spreadsheet: "//" comment lines,
// then a tab-separated header and one row per cell (a step, or 5, 10 or 25
// steps with --bin). The metadata columns come first: Cruise, Station,
// Type, the station's date and time, Longitude, Latitude and Bot. Depth
// (export/station.h says where each comes from; an unknown one is an empty
// cell); in the time mode each row's own time (time_ISO8601) when the
// station time is known; then the depth (elapsed time in the time mode) and
// every quantity with its unit in brackets. A value a cell does not have is
// an empty cell.
//
//   output_base_name + "_ODV.txt"                      one data file
//   argument 3 + "a_ODV_" + argument 2 + "_" + argument 9 + ".txt"
//                                                      every station of the run
//
// Reads   the exported profiles (export/exported_profile.h), version_label,
//         run_label, output_base_name, arguments 2, 3 and 9
// Writes  the spreadsheets only.
#pragma once

#include <string>
#include <vector>

#include "export/exported_profile.h"

namespace veka {

std::string odv_file_name();
std::string cruise_odv_file_name();

void write_odv_file(const ExportedProfile& profile);
void write_cruise_odv_file(const std::vector<ExportedProfile>& profiles);

}  // namespace veka
