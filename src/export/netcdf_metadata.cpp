// What the netCDF files say about themselves, after the CF-1.8 and ACDD-1.3
// conventions: the global attributes (title, summary, keywords, id,
// history with the command line and the program version, source,
// institution, creator, project, license, references, comment,
// date_created in ISO 8601, and the geospatial and time coverage of the
// profiles they hold), and the station variables (identity, time, position
// and water depth) that every file carries, as scalars for one data file
// or over an instance dimension for the run's cruise file. A station detail
// nobody gave is a fill value, with a comment that says so.
//
// Reads   the exported profiles, the command line (store.arguments),
//         version_label, run_label, argument 2, the settings' attributes
// Writes  into the file being defined.
#include "export/netcdf_metadata.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "export/html.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

const char* const kNbssReference =
    "Platt, T. and Denman, K. (1977): Organisation in the pelagic ecosystem. Helgolaender "
    "wissenschaftliche Meeresuntersuchungen 30, 575-581 (the normalised biomass size spectrum)";

namespace {

constexpr const char* kUnknown = "unknown";
// The attributes a run states with --attribute; without, they say so.
const char* const kStatedAttributes[] = {"creator_name", "institution", "project", "license"};

// The extent of the profiles; empty ends where nothing is known.
struct Coverage {
  std::optional<double> lat_min, lat_max, lon_min, lon_max;
  std::optional<double> vertical_min, vertical_max;
  std::optional<double> time_start, time_end;
};

void widen(std::optional<double>& low, std::optional<double>& high,
           const std::optional<double>& value) {
  if (!value) return;
  low = low ? std::min(*low, *value) : *value;
  high = high ? std::max(*high, *value) : *value;
}

// The time mode's depth is the CTD's mean depth of each interval.
void widen_vertical(Coverage& c, const ExportedProfile& p) {
  const ProfileTable& t = p.table;
  if (t.axis.depth) {
    for (const ProfileCell& cell : t.cells) {
      widen(c.vertical_min, c.vertical_max, cell.lower);
      widen(c.vertical_min, c.vertical_max, cell.upper);
    }
    return;
  }
  for (size_t q = 0; q < t.quantities.size(); ++q) {
    if (t.quantities[q].key != "depth") continue;
    for (const StepValue& v : t.values[q]) widen(c.vertical_min, c.vertical_max, v);
  }
}

Coverage coverage_of(const std::vector<ExportedProfile>& profiles) {
  Coverage c;
  for (const ExportedProfile& p : profiles) {
    widen(c.lat_min, c.lat_max, p.station.latitude);
    widen(c.lon_min, c.lon_max, p.station.longitude);
    widen_vertical(c, p);
    std::optional<double> unused;
    widen(c.time_start, unused, p.utc_start());
    widen(unused, c.time_end, p.utc_end());
  }
  return c;
}

std::string quoted_argument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t'\"") == std::string::npos) return argument;
  std::string text = "'";
  for (char c : argument) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

std::string command_line() {
  const std::vector<std::string>& arguments = store.arguments;
  std::string text = arguments.empty() ? "vekaproc" : file_part(arguments[0]);
  for (size_t n = 1; n < arguments.size(); ++n) text += " " + quoted_argument(arguments[n]);
  return text;
}

void write_coverage(NetcdfFile& file, const Coverage& c) {
  const int g = NetcdfFile::kGlobal;
  auto put = [&file](const char* name, const std::optional<double>& value) {
    if (value) file.attribute(NetcdfFile::kGlobal, name, *value);
  };
  put("geospatial_lat_min", c.lat_min);
  put("geospatial_lat_max", c.lat_max);
  if (c.lat_min) file.attribute(g, "geospatial_lat_units", "degrees_north");
  put("geospatial_lon_min", c.lon_min);
  put("geospatial_lon_max", c.lon_max);
  if (c.lon_min) file.attribute(g, "geospatial_lon_units", "degrees_east");
  put("geospatial_vertical_min", c.vertical_min);
  put("geospatial_vertical_max", c.vertical_max);
  if (c.vertical_min) {
    file.attribute(g, "geospatial_vertical_units", "m");
    file.attribute(g, "geospatial_vertical_positive", "down");
  }
  if (c.time_start && c.time_end) {
    file.attribute(g, "time_coverage_start", iso_date_time(*c.time_start) + "Z");
    file.attribute(g, "time_coverage_end", iso_date_time(*c.time_end) + "Z");
    file.attribute(g, "time_coverage_duration",
                   "PT" + std::to_string(std::llround(*c.time_end - *c.time_start)) + "S");
  }
}

}  // namespace

std::string seconds_since(double utc_seconds) {
  return "seconds since " + iso_date_time(utc_seconds, 0, ' ');
}

void write_global_attributes(NetcdfFile& file, const NetcdfDescription& d,
                             const std::vector<ExportedProfile>& profiles,
                             const std::vector<GlobalAttribute>& settings) {
  const Store& s = store;
  const int g = NetcdfFile::kGlobal;
  std::map<std::string, std::string> stated;
  for (const GlobalAttribute& a : settings) stated[a.name] = a.value;
  auto value_of = [&stated](const std::string& name, const std::string& otherwise) {
    auto at = stated.find(name);
    return at == stated.end() ? otherwise : at->second;
  };
  std::string created = iso_date_time(static_cast<double>(creation_time())) + "Z";

  std::vector<std::string> notes = d.notes;
  std::vector<std::string> missing;
  for (const char* name : kStatedAttributes) {
    if (!stated.count(name)) missing.push_back(name);
  }
  if (!missing.empty()) {
    std::string names;
    for (const std::string& n : missing) names += (names.empty() ? "" : ", ") + n;
    notes.push_back("Not stated for this run, hence \"unknown\": " + names +
                    " (give them with --attribute NAME=TEXT).");
  }
  std::string comment = value_of("comment", "");
  for (const std::string& note : notes) comment += (comment.empty() ? "" : " ") + note;

  file.attribute(g, "Conventions", "CF-1.8, ACDD-1.3");
  if (!d.feature_type.empty()) file.attribute(g, "featureType", d.feature_type);
  file.attribute(g, "title", d.title);
  file.attribute(g, "summary", d.summary);
  file.attribute(g, "keywords",
                 "zooplankton, particle counts, particle size, size spectrum, NBSS, biomass, "
                 "CTD, VEKA counter");
  file.attribute(g, "id", d.id);
  file.attribute(g, "history", created + " vekaproc " + s.version_label + ": " + command_line());
  file.attribute(g, "source",
                 "VEKA counter on a CTD frame, processed by vekaproc " + s.version_label);
  for (const char* name : kStatedAttributes) file.attribute(g, name, value_of(name, kUnknown));
  file.attribute(g, "references", value_of("references", d.references));
  file.attribute(g, "comment", comment);
  file.attribute(g, "standard_name_vocabulary", "CF Standard Name Table v79");
  file.attribute(g, "date_created", created);
  write_coverage(file, coverage_of(profiles));
  for (const GlobalAttribute& a : settings) {
    bool written = a.name == "comment" || a.name == "references";
    for (const char* name : kStatedAttributes) written = written || a.name == name;
    if (!written) file.attribute(g, a.name, a.value);
  }
  file.attribute(g, "data_set_name", argument_text(2));
  file.attribute(g, "run_label", s.run_label);
}

std::string add_station_variables(NetcdfWriter& writer, const std::vector<int>& dimensions,
                                  const std::vector<ExportedProfile>& profiles,
                                  const std::string& id_name, const std::string& role,
                                  bool with_time) {
  std::vector<std::string> ids;
  std::vector<double> times, latitudes, longitudes, depths;
  std::string no_time, no_position;
  bool any_depth = false;
  bool all_depths = true;
  for (const ExportedProfile& p : profiles) {
    const Station& s = p.station;
    ids.push_back(s.profile_id());
    times.push_back(s.utc_seconds().value_or(kNetcdfFill));
    latitudes.push_back(s.latitude.value_or(kNetcdfFill));
    longitudes.push_back(s.longitude.value_or(kNetcdfFill));
    depths.push_back(s.bottom_depth.value_or(kNetcdfFill));
    any_depth = any_depth || s.bottom_depth.has_value();
    all_depths = all_depths && s.bottom_depth.has_value();
    if (!s.utc_seconds()) no_time += (no_time.empty() ? "" : ", ") + s.profile_id();
    if (!s.latitude || !s.longitude)
      no_position += (no_position.empty() ? "" : ", ") + s.profile_id();
  }
  NetcdfFile& file = writer.file();
  auto say_unknown = [&file](int id, const std::string& which, const std::string& how) {
    if (which.empty()) return;
    file.attribute(id, "comment",
                   "Not known for " + which +
                       ": neither the recording's header nor the settings (" + how +
                       ") give it, so the value is the fill value.");
  };
  int id = writer.add_texts(
      id_name, dimensions, ids,
      {"", "cruise and station, joined by an underscore", "", "referenceInformation"});
  if (!role.empty()) file.attribute(id, "cf_role", role);
  std::string names;
  if (with_time) {
    int t = writer.add("time", dimensions, times,
                       {seconds_since(0.0), "time of the station", "time", "coordinate"},
                       !no_time.empty());
    file.attribute(t, "calendar", "standard");
    file.attribute(t, "axis", "T");
    say_unknown(t, no_time, "--time");
    names += "time ";
  }
  int lat = writer.add("lat", dimensions, latitudes,
                       {"degrees_north", "latitude of the station", "latitude", "coordinate"},
                       !no_position.empty());
  file.attribute(lat, "axis", "Y");
  say_unknown(lat, no_position, "--lat");
  int lon = writer.add("lon", dimensions, longitudes,
                       {"degrees_east", "longitude of the station", "longitude", "coordinate"},
                       !no_position.empty());
  file.attribute(lon, "axis", "X");
  say_unknown(lon, no_position, "--lon");
  if (any_depth) {
    writer.add("bottom_depth", dimensions, depths,
               {"m", "water depth at the station", "sea_floor_depth_below_sea_surface"},
               !all_depths);
  }
  return names + "lat lon " + id_name;
}

}  // namespace veka
