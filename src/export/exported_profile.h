// A data file's profile as the spreadsheet and netCDF exports write it, kept for the run.
#pragma once

#include <optional>
#include <string>

#include "export/station.h"
#include "export/step_table.h"
#include "export/time_ctd.h"

namespace veka {

struct ExportedProfile {
  Station station;
  ProfileTable table;
  std::string data_file_name;
  int file_number = 0;
  int range_lo = 0;
  int range_hi = 0;
  // Time mode: seconds from the recording's first frame to the start of the
  // analysed range, and the moment of that first frame (taken to be the
  // station time) in seconds since 1970-01-01 00:00:00 UTC when known.
  double range_start = 0.0;
  std::optional<double> recording_start;
  // Depth modes: seconds from the recording's start to the end of the
  // analysed range, from the CTD scans the reader counted.
  double range_end = 0.0;

  bool time_mode() const { return !table.axis.depth; }
  // The moment of a place on the time axis [s after the start of the
  // analysed range], in seconds since 1970-01-01 00:00:00 UTC.
  std::optional<double> utc_of(double elapsed) const;
  // The first and last moment the profile covers: the station time and the
  // end of the analysed range in the depth modes, the edges of the first
  // and last interval in the time mode.
  std::optional<double> utc_start() const;
  std::optional<double> utc_end() const;
};

ExportedProfile exported_profile(const Station& station, const TimeModeCtd& time_ctd, int width);

}  // namespace veka
