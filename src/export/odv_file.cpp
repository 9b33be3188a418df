// The profile as an Ocean Data View generic spreadsheet: "//" comment lines,
// then a tab-separated header and one row per cell (a step, or 5, 10 or 25
// steps with --bin). The metadata columns come first: Cruise, Station,
// Type, the station's date and time, Longitude, Latitude and Bot. Depth
// (export/station.h says where each comes from; an unknown one is an empty
// cell); in the time mode each row's own time (time_ISO8601) when the
// station time is known; then the depth (elapsed time in the time mode) and
// every quantity with its unit in brackets. A value a cell does not have is
// an empty cell.
//
//   output_base_name + "_ODV.txt"                      one data file
//   argument 3 + "a_ODV_" + argument 2 + "_" + argument 9 + ".txt"
//                                                      every station of the run
//
// Reads   the exported profiles (export/exported_profile.h), version_label,
//         run_label, output_base_name, arguments 2, 3 and 9
// Writes  the spreadsheets only.
#include "export/odv_file.h"

#include "common/text_output.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

std::string joined(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) line += (i > 0 ? "\t" : "") + cells[i];
  return line;
}

std::string optional_number(const std::optional<double>& value) {
  return value ? export_number(*value) : "";
}

std::string row_kind(const ProfileTable& table) {
  if (table.width == 1) return table.axis.depth ? "1 m depth step" : "time interval";
  std::string steps = std::to_string(table.width) + (table.axis.depth ? "-step" : "-interval");
  return steps + " cell (the mean of its " + (table.axis.depth ? "steps" : "intervals") +
         "; sums for samples, volumes and counts)";
}

void write_comments(TextOutput& file, const std::vector<ExportedProfile>& profiles,
                    const std::string& extent) {
  const ProfileTable& table = profiles.front().table;
  std::string sources;
  for (const ExportedProfile& p : profiles) {
    sources += (sources.empty() ? "" : ", ") + p.data_file_name;
  }
  file.line("//ODV Spreadsheet V4.0");
  file.line("//<Creator>vekaproc " + store.version_label + "</Creator>");
  file.line("//<Source>" + sources + "</Source>");
  file.line("//<DataField>Ocean</DataField>");
  file.line(std::string("//<DataType>") + (table.axis.depth ? "Profiles" : "TimeSeries") +
            "</DataType>");
  file.line("//Zooplankton counts and sizes of the VEKA counter, one row per " + row_kind(table) +
            " of " + extent + "; run " + store.run_label + ".");
  for (const ExportedProfile& p : profiles) {
    std::string who = profiles.size() > 1 ? "Station " + p.station.profile_id() + ": " : "";
    for (const std::string& note : station_notes(p.station)) file.line("//" + who + note);
  }
}

std::vector<std::string> header_of(const ProfileTable& table) {
  std::vector<std::string> header = {"Cruise",
                                     "Station",
                                     "Type",
                                     "yyyy-mm-ddThh:mm:ss.sss",
                                     "Longitude [degrees_east]",
                                     "Latitude [degrees_north]",
                                     "Bot. Depth [m]"};
  if (!table.axis.depth) header.push_back("time_ISO8601 [yyyy-mm-ddThh:mm:ss.sss]");
  header.push_back(table.axis.label + " [" + table.axis.unit + "]");
  for (const Quantity& q : table.quantities) header.push_back(q.label + " [" + q.unit + "]");
  return header;
}

void write_rows(TextOutput& file, const ExportedProfile& p) {
  const Station& s = p.station;
  const ProfileTable& table = p.table;
  const std::vector<std::string> metadata = {s.cruise,
                                             s.station,
                                             "C",
                                             s.date_time(),
                                             optional_number(s.longitude),
                                             optional_number(s.latitude),
                                             optional_number(s.bottom_depth)};
  for (size_t c = 0; c < table.cells.size(); ++c) {
    std::vector<std::string> row = metadata;
    double position = table.cells[c].position;
    if (p.time_mode()) {
      auto utc = p.utc_of(position);
      row.push_back(utc ? iso_date_time(*utc, 3) : "");
    }
    row.push_back(export_number(position));
    for (const auto& values : table.values) row.push_back(optional_number(values[c]));
    file.line(joined(row));
  }
}

void write_spreadsheet(const std::string& name, const std::vector<ExportedProfile>& profiles,
                       const std::string& extent) {
  TextOutput file(name, TextOutput::Mode::replace);
  write_comments(file, profiles, extent);
  file.line(joined(header_of(profiles.front().table)));
  for (const ExportedProfile& p : profiles) write_rows(file, p);
  file.close();
}

}  // namespace

std::string odv_file_name() {
  return store.output_base_name + "_ODV.txt";
}

std::string cruise_odv_file_name() {
  return argument_text(3) + "a_ODV_" + argument_text(2) + "_" + argument_text(9) + ".txt";
}

void write_odv_file(const ExportedProfile& profile) {
  write_spreadsheet(odv_file_name(), {profile},
                    "the analysed range " + std::to_string(profile.range_lo) + " to " +
                        std::to_string(profile.range_hi));
}

void write_cruise_odv_file(const std::vector<ExportedProfile>& profiles) {
  if (profiles.empty()) return;
  write_spreadsheet(cruise_odv_file_name(), profiles,
                    "each data file's analysed range, " + std::to_string(profiles.size()) +
                        " data file(s) of data set " + argument_text(2));
}

}  // namespace veka
