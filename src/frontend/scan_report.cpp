// The scan of a recording for people and as JSON, with settings lines for
// each binning mode in the keys of a settings file.
#include <toml++/toml.h>

#include <cmath>
#include <sstream>

#include "common/format.h"
#include "frontend/recording_scan.h"
#include "frontend/settings_table.h"

namespace veka {

namespace {

struct ModeSettings {
  std::string mode;  // a choice of the binning mode
  std::string what;
  std::vector<std::pair<int, std::string>> values;  // argument number, TOML value
};

std::vector<ModeSettings> mode_settings(const RecordingScan& scan) {
  std::vector<std::pair<int, std::string>> rate;
  if (scan.scan_rate) rate.push_back({11, real_field(*scan.scan_rate, 0, 0)});
  std::vector<ModeSettings> modes;
  if (scan.first_time_count) {
    const std::string first = std::to_string(*scan.first_time_count);
    const std::string last = std::to_string(*scan.last_time_count);
    modes.push_back({"time",
                     "by time count, over every time count of the recording",
                     {{4, "\"time\""}, {5, first}, {6, last}, {7, "0"}, {8, "0"}}});
    modes.push_back({"depth",
                     "by depth, over the same time counts",
                     {{4, "\"depth\""}, {5, first}, {6, last}, {7, "0"}, {8, "0"}}});
  }
  if (scan.deepest) {
    modes.push_back(
        {"profile",
         "by depth, with the cast's start and end detected (\"ascending\" for an upcast)",
         {{4, "\"profile\""}, {7, "1"}, {8, "1"}, {23, "\"descending\""}}});
  }
  for (ModeSettings& mode : modes) mode.values.insert(mode.values.end(), rate.begin(), rate.end());
  return modes;
}

// The settings lines of one mode, grouped by table in the table's order.
std::string settings_lines(const ModeSettings& mode) {
  std::string text;
  for (const SettingGroup& group : setting_groups()) {
    std::string lines;
    for (const auto& [position, value] : mode.values) {
      const Setting& setting = setting_at(position);
      if (setting.group == group.name) lines += setting.key + " = " + value + "\n";
    }
    if (!lines.empty()) text += "[" + group.name + "]\n" + lines;
  }
  return text;
}

std::string number_text(double x, int decimals) {
  return real_field(x, 0, decimals);
}

std::string position_text(const Station& station) {
  auto degrees = [](double value, char positive, char negative) {
    return number_text(std::fabs(value), 4) + " " + (value < 0 ? negative : positive);
  };
  return degrees(*station.latitude, 'N', 'S') + ", " + degrees(*station.longitude, 'E', 'W');
}

void add_line(std::string& text, const std::string& label, const std::string& value) {
  text += label + std::string(label.size() < 16 ? 16 - label.size() : 1, ' ') + value + "\n";
}

std::string values_per_line_text(const RecordingScan& scan) {
  std::string text;
  for (const auto& [values, lines] : scan.ctd_values_per_line) {
    text += (text.empty() ? "" : ", ") + std::to_string(lines) + " with " + std::to_string(values);
  }
  return text.empty() ? "none" : text;
}

std::string date_text(const Station& station) {
  return station.date ? iso_date(*station.date) : "";
}

std::string time_text(const Station& station) {
  return station.time_of_day ? iso_time_of_day(*station.time_of_day) : "";
}

toml::table station_table(const Station& station) {
  toml::table table;
  auto text = [&](const char* key, const std::string& value) {
    if (!value.empty()) table.insert_or_assign(key, value);
  };
  auto number = [&](const char* key, const std::optional<double>& value) {
    if (value) table.insert_or_assign(key, *value);
  };
  text("cruise", station.cruise);
  text("station", station.station);
  text("date", date_text(station));
  text("time", time_text(station));
  number("latitude", station.latitude);
  number("longitude", station.longitude);
  number("bottom_depth_m", station.bottom_depth);
  return table;
}

}  // namespace

std::string scan_ranges(const RecordingScan& scan) {
  std::string text = scan.first_time_count
                         ? "time counts " + std::to_string(*scan.first_time_count) + " to " +
                               std::to_string(*scan.last_time_count)
                         : "no time counts";
  if (scan.deepest) {
    text += " and depths " + number_text(*scan.shallowest, 3) + " to " +
            number_text(*scan.deepest, 3) + " m";
  } else {
    text += " and no depths";
  }
  return text;
}

std::string scan_report(const RecordingScan& scan) {
  const LineCounts& c = scan.counts;
  std::string text;
  add_line(text, "recording",
           scan.file + " (" + std::to_string(scan.bytes) + " bytes, " + std::to_string(scan.lines) +
               " lines)");
  add_line(text, "header lines", std::to_string(c.header));
  add_line(text, "CTD lines",
           std::to_string(c.ctd) + " (values per line: " + values_per_line_text(scan) + ")");
  add_line(text, "SEP blocks", std::to_string(c.sep_blocks));
  add_line(text, "L5 lines", std::to_string(c.l5));
  add_line(text, "MEP records", std::to_string(c.mep_records));
  add_line(text, "other lines", std::to_string(c.other));
  add_line(text, "empty lines",
           std::to_string(c.empty) + (c.empty > 0 ? " (the data end at the first)" : ""));
  add_line(text, "damaged lines", std::to_string(c.damaged));
  if (scan.first_time_count) {
    add_line(text, "time counts",
             std::to_string(*scan.first_time_count) + " to " +
                 std::to_string(*scan.last_time_count) + " (" +
                 number_text(*scan.time_span_seconds(), 1) + " s at two SEP frames a second)");
  }
  if (scan.deepest) {
    std::string deepest = "deepest " + number_text(*scan.deepest, 3) + " m";
    if (scan.deepest_time_count)
      deepest += " at time count " + std::to_string(*scan.deepest_time_count);
    add_line(text, "depths",
             number_text(*scan.shallowest, 3) + " to " + number_text(*scan.deepest, 3) + " m, " +
                 deepest);
  }
  if (scan.scan_rate)
    add_line(text, "CTD scan rate", number_text(*scan.scan_rate, 2) + " scans per second");
  const Station& station = scan.station;
  if (!station.cruise.empty()) add_line(text, "cruise", station.cruise);
  if (!station.station.empty()) add_line(text, "station", station.station);
  if (station.date) add_line(text, "date and time", date_text(station) + " " + time_text(station));
  if (station.latitude && station.longitude) add_line(text, "position", position_text(station));
  if (station.bottom_depth)
    add_line(text, "bottom depth", number_text(*station.bottom_depth, 0) + " m");
  for (const ModeSettings& mode : mode_settings(scan)) {
    text += "\n# binning " + mode.what + "\n" + settings_lines(mode);
  }
  return text;
}

std::string scan_json(const RecordingScan& scan) {
  const LineCounts& c = scan.counts;
  toml::table counts{{"header", c.header},
                     {"ctd", c.ctd},
                     {"sep_blocks", c.sep_blocks},
                     {"l5", c.l5},
                     {"mep_records", c.mep_records},
                     {"other", c.other},
                     {"empty", c.empty},
                     {"damaged", c.damaged}};
  toml::table values;
  for (const auto& [count, lines] : scan.ctd_values_per_line) {
    values.insert_or_assign(std::to_string(count), lines);
  }
  toml::table json{{"file", scan.file},
                   {"bytes", static_cast<int64_t>(scan.bytes)},
                   {"lines", scan.lines},
                   {"line_counts", std::move(counts)},
                   {"ctd_values_per_line", std::move(values)},
                   {"station", station_table(scan.station)}};
  if (scan.first_time_count) {
    json.insert_or_assign("time_counts", toml::table{{"first", *scan.first_time_count},
                                                     {"last", *scan.last_time_count},
                                                     {"span_seconds", *scan.time_span_seconds()}});
  }
  if (scan.deepest) {
    toml::table depths{{"shallowest", *scan.shallowest}, {"deepest", *scan.deepest}};
    if (scan.deepest_time_count)
      depths.insert_or_assign("deepest_time_count", *scan.deepest_time_count);
    json.insert_or_assign("depths_m", std::move(depths));
  }
  if (scan.scan_rate) json.insert_or_assign("ctd_scan_rate_hz", *scan.scan_rate);
  toml::table settings;
  for (const ModeSettings& mode : mode_settings(scan)) {
    settings.insert_or_assign(mode.mode, toml::parse(settings_lines(mode)));
  }
  json.insert_or_assign("settings", std::move(settings));
  std::ostringstream out;
  out << toml::json_formatter{
      json, toml::json_formatter::default_flags | toml::format_flags::relaxed_float_precision};
  return out.str() + "\n";
}

}  // namespace veka
