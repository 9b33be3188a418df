// Station identity of a data file as the exports write it: cruise, station,
// date and time (UTC), position and water depth. They come from the station
// lines of the recording's header ("#" and "*" lines before the first data
// line), as logging programs and operators spell them; the run's settings
// (--cruise, --station, --time, --lat, --lon) take precedence; and where
// neither names cruise or station, the data set name and the file number
// stand in. The processing itself never looks at them.
//
// Recognised header lines: a label, then the value after blanks, ":" or
// "=" (labels in any case):
//   cruise       Cruise, Cruise ID, Cruise name, Expedition
//   station      Station, Station ID, Station number, Stn
//   date         Date, Date (UTC)                  2023-08-23, 2023/08/23,
//                23.08.2023, Aug 23 2023, 23 Aug 2023; a time may follow
//   time         Time, Time (UTC), Start (UTC), Start time, Start time (UTC),
//                NMEA UTC (Time)                   17:51:29, 17:51, with an
//                optional Z or UTC; a date may come first
//   latitude     Lat, Latitude, NMEA Latitude      43 15.46 N, 43°15.46'N,
//                N 43 15.46, 43.2577 S, -43.2577
//   longitude    Lon, Long, Longitude, NMEA Longitude
//   water depth  Bottom depth, Water depth, Depth of water, each also with
//                " (m)"                            174 m, 174
// The first line that gives a value wins; a value that cannot be read is
// left out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/utc_time.h"

namespace veka {

// Where a detail of the station comes from.
enum class Origin { none, header, settings, stand_in };

enum StationField { kCruise, kStation, kDate, kTime, kLatitude, kLongitude, kBottomDepth };
constexpr int kStationFields = kBottomDepth + 1;

struct Station {
  std::string cruise;
  std::string station;
  std::optional<CivilDate> date;
  std::optional<double> time_of_day;   // [s after midnight UTC]
  std::optional<double> latitude;      // [degrees north]
  std::optional<double> longitude;     // [degrees east]
  std::optional<double> bottom_depth;  // [m]
  Origin origin[kStationFields] = {};

  // Seconds since 1970-01-01 00:00:00 UTC; empty without date and time.
  std::optional<double> utc_seconds() const;
  // "2023-08-23T17:51:29"; the date alone without a time; empty without a
  // date.
  std::string date_time() const;
  // "<cruise>_<station>", unique across cruises.
  std::string profile_id() const;
  bool all_from_header() const;
};

// The details the run's settings give; empty ones give none.
struct StationSettings {
  std::string cruise;
  std::string station;
  std::optional<CivilDate> date;
  std::optional<double> time_of_day;
  std::optional<double> latitude;
  std::optional<double> longitude;
};

// Station parsing: the header lines kept in the store when the data file was
// opened (recording_header).
Station parse_station_header(const std::vector<std::string>& header_lines);

// The header's station with the settings over it and the stand-ins for a
// missing cruise (the data set name) and station (the file number).
Station resolve_station(Station from_header, const StationSettings& settings,
                        const std::string& data_set, int file_number);

// Where each detail came from, as sentences for the files' comments, for
// instance "Stand-ins: cruise = data set name VK, station = file number 1,
// as neither the recording's header nor the settings name them."
std::vector<std::string> station_notes(const Station& station);

// A position "43 15.46 N" / "066 25.09 W" / "-43.2577" in signed degrees
// (the `negative` hemisphere letter gives the minus sign), within +-limit;
// empty when it is not one.
std::optional<double> parse_position(const std::string& text, char positive, char negative,
                                     double limit);

// A date, a time of day [s] or both, as the header lines and --time write
// them; each empty when the text does not give it.
struct DateAndTime {
  std::optional<CivilDate> date;
  std::optional<double> time_of_day;
};
DateAndTime parse_date_and_time(const std::string& text);

}  // namespace veka
