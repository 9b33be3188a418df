// A data file's profile as the spreadsheet and netCDF exports write it, kept
// beyond the store's reset so that the run's cruise files can hold every
// file of the run: the station, the profile in cells of --bin steps, and
// where its time axis lies in UTC.
//
// Reads   data_file_name, file_number, range_lo, range_hi, smode,
//         count_first, elapsed_time [s] (of the reader, at the end of the
//         analysed range), the step table (export/step_table.h)
// Writes  nothing.
#include "export/exported_profile.h"

#include "store/store.h"

namespace veka {

namespace {

constexpr double kSecondsPerTimeCount = 0.5;  // one SEP frame

}  // namespace

std::optional<double> ExportedProfile::utc_of(double elapsed) const {
  if (!recording_start) return std::nullopt;
  return *recording_start + range_start + elapsed;
}

std::optional<double> ExportedProfile::utc_start() const {
  if (!time_mode()) return station.utc_seconds();
  if (table.cells.empty()) return std::nullopt;
  return utc_of(table.cells.front().lower);
}

std::optional<double> ExportedProfile::utc_end() const {
  if (!time_mode()) {
    auto start = station.utc_seconds();
    if (!start) return std::nullopt;
    return *start + range_end;
  }
  if (table.cells.empty()) return std::nullopt;
  return utc_of(table.cells.back().upper);
}

ExportedProfile exported_profile(const Station& station, const TimeModeCtd& time_ctd, int width) {
  const Store& s = store;
  ExportedProfile p;
  p.station = station;
  p.table = profile_table(step_quantities(time_ctd), width);
  p.data_file_name = s.data_file_name;
  p.file_number = s.file_number;
  p.range_lo = s.range_lo;
  p.range_hi = s.range_hi;
  if (p.time_mode()) {
    if (time_ctd.first_time_count) {
      p.range_start = (s.count_first - *time_ctd.first_time_count) * kSecondsPerTimeCount;
    }
    p.recording_start = station.utc_seconds();
  } else {
    p.range_end = s.elapsed_time;
  }
  return p;
}

}  // namespace veka
