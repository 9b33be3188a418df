#include "vekasim/header.h"

#include <cassert>
#include <cmath>
#include <cstdio>

namespace vekasim {

// Degrees and decimal minutes with a hemisphere letter, as a ship's log has
// them: "43 51.27 N".
static std::string position(double degrees, int degree_digits, char positive, char negative) {
  const double magnitude = std::fabs(degrees);
  int whole = static_cast<int>(magnitude);
  double minutes = std::round((magnitude - whole) * 6000.0) / 100.0;
  if (minutes >= 60.0) {
    ++whole;
    minutes -= 60.0;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%0*d %05.2f %c", degree_digits, whole, minutes,
                degrees < 0.0 ? negative : positive);
  return text;
}

static std::string labelled(const char* label, const std::string& value) {
  char text[128];
  std::snprintf(text, sizeof text, "* %-18s%s", label, value.c_str());
  return text;
}

static std::string number(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Gains or levels of the 60 elements, ten to a line. They scatter around
// a nominal value, differently from element to element and from one
// station's set-up to the next.
static void add_element_table(std::vector<std::string>& lines, const char* title, int nominal,
                              int spread, int station) {
  lines.push_back(labelled(title, "elements 1..60"));
  for (int row = 0; row < 6; ++row) {
    std::string line = "*   ";
    for (int column = 0; column < 10; ++column) {
      const int element = row * 10 + column;
      const int scatter = (element * 37 + station * 11) % (2 * spread + 1) - spread;
      line += ' ' + std::to_string(nominal + scatter);
    }
    lines.push_back(line);
  }
}

std::vector<std::string> header_lines(const Station& s) {
  char date[32], time[32], station[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", s.year, s.month, s.day);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", s.hour, s.minute, s.second);
  std::snprintf(station, sizeof station, "%03d", s.number);

  std::vector<std::string> lines = {
      "# VEKA counter recording, cruise " + s.cruise + ", station " + station,
      labelled("Instrument", "VEKA counter s/n 0417 on CTD frame"),
      labelled("Elements", "60 elements of 1 mm across the beam"),
      labelled("Tunnel", "70 x 70 mm, flow meter 20 pulses per metre"),
      labelled("Firmware", "3.07"),
      labelled("Made by", s.origin),
      labelled("Line C", "CTD scan"),
      labelled("Lines L1..L4", "single-element counts, 128 channels of 15 um"),
      labelled("Line L5", "counts, MEPs, time count, flow count, flow time, lamp, supply [V]"),
      labelled("Line M", "element, time stamp, duration, size (+32768 on first record)"),
      labelled("CTD fields", "depth [m], cond. [mS/cm], temp. [degC], salinity, fluor. [V]"),
      labelled("Depth sensor", "strain gauge, 0.001 m resolution"),
      labelled("Temperature", "platinum thermometer, 0.001 degC"),
      labelled("Conductivity", "inductive cell"),
      labelled("Fluorometer", "chlorophyll a on analog channel 1"),
      labelled("CTD scan rate", std::to_string(s.scan_rate) + " per second"),
      labelled("SEP frame", "every 0.5 s"),
      labelled("Cruise", s.cruise),
      labelled("Station", station),
      labelled("Date", date),
      labelled("Time (UTC)", time),
      // Readers find this line by "La" in characters 5 and 6 and skip it
      // together with the next two.
      "*   Lat    " + position(s.latitude, 2, 'N', 'S'),
      "*   Lon    " + position(s.longitude, 3, 'E', 'W'),
      labelled("Position source", "ship GPS at start of cast"),
      labelled("Bottom depth", number("%.0f m", s.bottom_depth)),
      labelled("Planned depth", number("%.0f m", s.planned_depth)),
      labelled("Weather", "wind 12 kn, swell 1.5 m"),
  };
  add_element_table(lines, "Element gains", 1000, 40, s.number);
  add_element_table(lines, "Element levels", 120, 6, s.number + 1);
  lines.push_back(labelled("Lamp", "LED 880 nm, level 3000"));
  lines.push_back(labelled("Supply", "14.6 V battery pack"));
  lines.push_back(labelled("Operator", "deck log sheet 2"));
  lines.push_back(labelled("Remarks", "none"));
  lines.push_back(labelled("End of header", "data follow"));
  assert(lines.size() == kHeaderLines);
  return lines;
}

}  // namespace vekasim
