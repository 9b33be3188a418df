// Station metadata from the comment lines at the top of a recording ("#" and
// "*" lines before the first data line): date and time of the cast, the
// ship's position and the water depth, as the deck log wrote them. The
// exports take them from the header lines kept in the store when the data
// file was loaded (recording_header); the processing itself never looks at
// them.
//
// Recognised lines (label after the "*", then the value):
//   Cruise VK23-04 | Station 049 | Date 2023-08-23 | Time (UTC) 17:51:29
//   Lat 43 15.46 N | Lon 066 25.09 W  (degrees and decimal minutes, or
//   decimal degrees, with an optional hemisphere letter) | Bottom depth 174 m
// Anything missing or unreadable stays empty.
#pragma once

#include <istream>
#include <optional>
#include <string>

namespace veka {

struct StationHeader {
  std::string cruise;
  std::string station;
  std::string date;                    // "2023-08-23"
  std::string time;                    // "17:51:29"
  std::optional<double> latitude;      // [degrees north]
  std::optional<double> longitude;     // [degrees east]
  std::optional<double> bottom_depth;  // [m]

  // "2023-08-23T17:51:29"; the date alone without a time; empty without a
  // date.
  std::string date_time() const;
};

StationHeader parse_station_header(std::istream& recording);

// The header of the data file being processed.
StationHeader read_station_header();

// A position "43 15.46 N" / "066 25.09 W" / "-43.2577" in signed degrees
// (the `negative` hemisphere letter gives the minus sign), within +-limit;
// empty when it is not one.
std::optional<double> parse_position(const std::string& text, char positive, char negative,
                                     double limit);

}  // namespace veka
