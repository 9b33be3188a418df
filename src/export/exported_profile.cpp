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
