// The header block that opens every recording: 46 comment lines with the
// instrument set-up and the station. Readers skip 45 lines after the
// first and look for the latitude line by its characters 5 and 6, so the
// block's length and that line's layout are part of the format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vekasim {

constexpr std::size_t kHeaderLines = 46;

struct Station {
  std::string cruise;
  int number;
  int year, month, day, hour, minute, second;
  double latitude;       // [degrees north]
  double longitude;      // [degrees east]
  double bottom_depth;   // [m]
  double planned_depth;  // [m]
  int scan_rate;         // CTD scans per second
  std::string origin;    // how the recording was made
};

std::vector<std::string> header_lines(const Station& station);

}  // namespace vekasim
