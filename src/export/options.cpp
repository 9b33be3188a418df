// Optional outputs, asked for by options placed after the 61 positional
// arguments, in any order: --plots (HTML pages of plots), --odv (Ocean Data
// View spreadsheets), --netcdf (CF netCDF files) and --spectrum (the size
// spectrum as tidy tables); and the settings of those outputs, each an
// option followed by its value:
//   --bin N            steps per row of the ODV and netCDF exports: 1 (the
//                      default), 5, 10 or 25, the bins of the reports
//   --section R        the size range of the run page's section plot:
//                      reporting range 1..5, or 0 (the default) for the
//                      classes 100..2500 um
//   --cruise, --station, --time, --lat, --lon TEXT
//                      the station details for every file of the run, over
//                      the recording's header (export/station.h)
//   --attribute NAME=TEXT
//                      a global attribute of the netCDF files (creator_name,
//                      institution, project, license, ...), repeatable
// A command line of exactly 61 arguments asks for none of them. Each has a
// key of a settings file's [export] table (the front end's).
//
// Reads   the command line (store.arguments)
// Writes  nothing; an unknown option, a setting without a valid value, or
//         --netcdf in a build without the netCDF library, is fatal before
//         any data file is processed.
#include "export/options.h"

#include <algorithm>

#include "common/fatal.h"
#include "common/numbers.h"
#include "export/netcdf_profile.h"
#include "store/store.h"

namespace veka {

namespace {

using Kind = ExportFlag::Kind;

ExportFlag flag(const char* key, const char* meaning, bool ExportOptions::*asked) {
  return {key, std::string("--") + key, meaning, Kind::flag, asked, "", nullptr};
}

ExportFlag setting(const char* key, const char* meaning, Kind kind, std::string allowed,
                   bool (*apply)(const std::string&, ExportOptions&)) {
  return {key, std::string("--") + key, meaning, kind, nullptr, std::move(allowed), apply};
}

bool apply_bin(const std::string& value, ExportOptions& options) {
  auto width = parse_integer(value);
  if (!width || (*width != 1 && *width != 5 && *width != 10 && *width != 25)) return false;
  options.bin = *width;
  return true;
}

bool apply_section(const std::string& value, ExportOptions& options) {
  auto range = parse_integer(value);
  if (!range || *range < 0 || *range > 5) return false;
  options.section_range = *range == 0 ? kAllRanges : *range;
  return true;
}

bool apply_cruise(const std::string& value, ExportOptions& options) {
  options.station.cruise = value;
  return !value.empty();
}

bool apply_station(const std::string& value, ExportOptions& options) {
  options.station.station = value;
  return !value.empty();
}

bool apply_time(const std::string& value, ExportOptions& options) {
  DateAndTime moment = parse_date_and_time(value);
  options.station.date = moment.date;
  options.station.time_of_day = moment.time_of_day;
  return moment.date && moment.time_of_day;
}

bool apply_latitude(const std::string& value, ExportOptions& options) {
  options.station.latitude = parse_position(value, 'N', 'S', 90.0);
  return options.station.latitude.has_value();
}

bool apply_longitude(const std::string& value, ExportOptions& options) {
  options.station.longitude = parse_position(value, 'E', 'W', 180.0);
  return options.station.longitude.has_value();
}

bool apply_attribute(const std::string& value, ExportOptions& options) {
  size_t equals = value.find('=');
  std::string name = value.substr(0, equals);
  const std::vector<std::string>& names = settable_attributes();
  if (equals == std::string::npos || equals + 1 == value.size() ||
      std::find(names.begin(), names.end(), name) == names.end()) {
    return false;
  }
  options.attributes.push_back({name, value.substr(equals + 1)});
  return true;
}

std::string attribute_names() {
  std::string list;
  for (const std::string& n : settable_attributes()) list += (list.empty() ? "" : ", ") + n;
  return list;
}

std::string known_options() {
  std::string list;
  for (const ExportFlag& f : export_flags()) list += (list.empty() ? "" : ", ") + f.option;
  return list;
}

}  // namespace

const std::vector<ExportFlag>& export_flags() {
  static const std::vector<ExportFlag> flags = {
      flag("plots", "a page of plots per data file and one for the run (HTML)",
           &ExportOptions::plots),
      flag("odv", "the per-step table as Ocean Data View spreadsheets, per file and per run",
           &ExportOptions::odv),
      flag("netcdf", "the profile and its spectrum as CF netCDF files, and the run's profiles",
           &ExportOptions::netcdf),
      flag("spectrum", "the size spectrum as tidy tables (CSV) with its fits",
           &ExportOptions::spectrum),
      setting("bin", "steps per row of the ODV and netCDF exports, in the reports' bins",
              Kind::integer, "1, 5, 10 or 25", apply_bin),
      setting("section", "the size range of the run page's section plot", Kind::integer,
              "a reporting range 1 to 5, or 0 for the classes 100..2500 um", apply_section),
      setting("cruise", "the cruise of every data file, over the recording's header", Kind::text,
              "a name", apply_cruise),
      setting("station", "the station of every data file, over the recording's header", Kind::text,
              "a name", apply_station),
      setting("time", "the station time of every data file (UTC), over the recording's header",
              Kind::text, "a date and time in UTC (2023-08-23T17:51:29)", apply_time),
      setting("lat", "the station latitude of every data file, over the recording's header",
              Kind::text, "a position in degrees (-43.2577, \"43 15.46 S\")", apply_latitude),
      setting("lon", "the station longitude of every data file, over the recording's header",
              Kind::text, "a position in degrees (-43.2577, \"43 15.46 W\")", apply_longitude),
      setting("attribute", "a global attribute of the netCDF files, NAME=TEXT, repeatable",
              Kind::texts, "NAME=TEXT with a NAME of " + attribute_names(), apply_attribute),
  };
  return flags;
}

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
  const std::vector<ExportFlag>& flags = export_flags();
  for (size_t n = kPositionalArguments + 1; n < arguments.size(); ++n) {
    const std::string& option = arguments[n];
    auto f = std::find_if(flags.begin(), flags.end(),
                          [&](const ExportFlag& known) { return option == known.option; });
    if (f == flags.end()) {
      fatal("Unknown option \"" + option + "\" after the 61 arguments (known: " + known_options() +
            ")");
    }
    const std::string missing = f->asked == &ExportOptions::netcdf ? netcdf_missing() : "";
    if (!missing.empty()) fatal("Option --netcdf: " + missing);
    if (!f->takes_value()) {
      options.*(f->asked) = true;
      continue;
    }
    if (n + 1 == arguments.size()) fatal("Option " + option + " needs a value after it");
    const std::string& value = arguments[++n];
    if (!f->apply(value, options)) {
      fatal("Option " + option + ": \"" + value + "\" is not " + f->allowed);
    }
  }
  return options;
}

}  // namespace veka
