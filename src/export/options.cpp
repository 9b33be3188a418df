#include "export/options.h"

#include <algorithm>
#include <functional>
#include <map>

#include "common/fatal.h"
#include "common/numbers.h"
#include "export/netcdf_profile.h"
#include "store/store.h"

namespace veka {

namespace {

const char* const kKnown =
    "--plots, --odv, --netcdf, --spectrum, --bin, --section, --cruise, --station, --time, --lat, "
    "--lon, --attribute";

[[noreturn]] void refuse(const std::string& option, const std::string& value,
                         const std::string& expected) {
  fatal("Option " + option + ": \"" + value + "\" is not " + expected);
}

std::optional<double> position_setting(const std::string& option, const std::string& value,
                                       char positive, char negative, double limit) {
  auto degrees = parse_position(value, positive, negative, limit);
  if (!degrees) {
    refuse(option, value,
           std::string("a position in degrees (-43.2577, \"43 15.46 ") + negative + "\")");
  }
  return degrees;
}

void time_setting(const std::string& value, StationSettings& station) {
  DateAndTime moment = parse_date_and_time(value);
  if (!moment.date || !moment.time_of_day) {
    refuse("--time", value, "a date and time in UTC (2023-08-23T17:51:29)");
  }
  station.date = moment.date;
  station.time_of_day = moment.time_of_day;
}

int bin_setting(const std::string& value) {
  auto width = parse_integer(value);
  if (!width || (*width != 1 && *width != 5 && *width != 10 && *width != 25)) {
    refuse("--bin", value, "1, 5, 10 or 25");
  }
  return *width;
}

int section_setting(const std::string& value) {
  auto range = parse_integer(value);
  if (!range || *range < 0 || *range > 5) {
    refuse("--section", value, "a reporting range 1 to 5, or 0 for the classes 100..2500 um");
  }
  return *range == 0 ? kAllRanges : *range;
}

GlobalAttribute attribute_setting(const std::string& value) {
  size_t equals = value.find('=');
  std::string name = value.substr(0, equals);
  const std::vector<std::string>& names = settable_attributes();
  if (equals == std::string::npos || equals + 1 == value.size() ||
      std::find(names.begin(), names.end(), name) == names.end()) {
    std::string list;
    for (const std::string& n : names) list += (list.empty() ? "" : ", ") + n;
    refuse("--attribute", value, "NAME=TEXT with a NAME of " + list);
  }
  return {name, value.substr(equals + 1)};
}

}  // namespace

const std::vector<std::string>& settable_attributes() {
  static const std::vector<std::string> names = {"creator_name",
                                                 "creator_email",
                                                 "creator_url",
                                                 "creator_type",
                                                 "creator_institution",
                                                 "institution",
                                                 "project",
                                                 "program",
                                                 "license",
                                                 "references",
                                                 "comment",
                                                 "acknowledgement",
                                                 "publisher_name",
                                                 "publisher_email",
                                                 "publisher_url",
                                                 "publisher_institution",
                                                 "naming_authority",
                                                 "contributor_name",
                                                 "contributor_role",
                                                 "platform",
                                                 "instrument",
                                                 "processing_level"};
  return names;
}

ExportOptions read_export_options() {
  ExportOptions options;
  const std::vector<std::string>& arguments = store.arguments;
  const std::map<std::string, std::function<void(const std::string&)>> settings = {
      {"--bin", [&options](const std::string& v) { options.bin = bin_setting(v); }},
      {"--section",
       [&options](const std::string& v) { options.section_range = section_setting(v); }},
      {"--cruise", [&options](const std::string& v) { options.station.cruise = v; }},
      {"--station", [&options](const std::string& v) { options.station.station = v; }},
      {"--time", [&options](const std::string& v) { time_setting(v, options.station); }},
      {"--lat",
       [&options](const std::string& v) {
         options.station.latitude = position_setting("--lat", v, 'N', 'S', 90.0);
       }},
      {"--lon",
       [&options](const std::string& v) {
         options.station.longitude = position_setting("--lon", v, 'E', 'W', 180.0);
       }},
      {"--attribute",
       [&options](const std::string& v) { options.attributes.push_back(attribute_setting(v)); }},
  };
  for (size_t n = kPositionalArguments + 1; n < arguments.size(); ++n) {
    const std::string& option = arguments[n];
    if (option == "--plots") {
      options.plots = true;
    } else if (option == "--odv") {
      options.odv = true;
    } else if (option == "--netcdf") {
      if (!netcdf_available()) {
        fatal("Option --netcdf: this vekaproc was built without the netCDF library");
      }
      options.netcdf = true;
    } else if (option == "--spectrum") {
      options.spectrum = true;
    } else if (auto setting = settings.find(option); setting != settings.end()) {
      if (n + 1 == arguments.size()) fatal("Option " + option + " needs a value after it");
      setting->second(arguments[++n]);
    } else {
      fatal("Unknown option \"" + option + "\" after the 61 arguments (known: " + kKnown + ")");
    }
  }
  return options;
}

}  // namespace veka
