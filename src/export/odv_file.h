// The per-step profile as an Ocean Data View generic spreadsheet
// (output_base_name + "_ODV.txt"): "//" comment lines, then a tab-separated
// header and one row per step. The metadata columns come first: Cruise (the
// data-set name), Station (the file number), Type, date and time, Longitude,
// Latitude and Bot. Depth, the last four from the recording's header when
// it gives them and empty otherwise; then the depth (elapsed time in the
// time mode) and every per-step quantity with its unit in brackets. A value
// a step does not have is an empty cell.
//
// Reads   the step table (export/step_table.h), file_number, depth_mode,
//         data_file_name, version_label, argument 2
// Writes  the spreadsheet only.
#pragma once

#include <string>

#include "export/station.h"

namespace veka {

std::string odv_file_name();

void write_odv_file(const StationHeader& station);

}  // namespace veka
