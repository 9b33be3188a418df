#include "export/odv_file.h"

#include <vector>

#include "common/text_output.h"
#include "export/step_table.h"
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

void write_comments(TextOutput& file, const StationHeader& station, bool depth) {
  const Store& s = store;
  file.line("//ODV Spreadsheet V4.0");
  file.line("//<Creator>vekaproc " + s.version_label + "</Creator>");
  file.line("//<Source>" + s.data_file_name + "</Source>");
  file.line("//<DataField>Ocean</DataField>");
  file.line(std::string("//<DataType>") + (depth ? "Profiles" : "TimeSeries") + "</DataType>");
  file.line("//Zooplankton counts and sizes of the VEKA counter, one row per " +
            std::string(depth ? "1 m depth step" : "time interval") + " of the analysed range " +
            std::to_string(s.range_lo) + " to " + std::to_string(s.range_hi) + "; run " +
            s.run_label + ".");
  if (!station.cruise.empty() || !station.station.empty()) {
    file.line("//Recording's header: cruise " + station.cruise + ", station " + station.station +
              ".");
  }
}

}  // namespace

std::string odv_file_name() {
  return store.output_base_name + "_ODV.txt";
}

void write_odv_file(const StationHeader& station) {
  StepAxis axis = step_axis();
  std::vector<StepQuantity> quantities = step_quantities();
  TextOutput file(odv_file_name(), TextOutput::Mode::replace);
  write_comments(file, station, axis.depth);

  std::vector<std::string> header = {"Cruise",
                                     "Station",
                                     "Type",
                                     "yyyy-mm-ddThh:mm:ss.sss",
                                     "Longitude [degrees_east]",
                                     "Latitude [degrees_north]",
                                     "Bot. Depth [m]",
                                     axis.label + " [" + axis.unit + "]"};
  for (const StepQuantity& q : quantities) header.push_back(q.label + " [" + q.unit + "]");
  file.line(joined(header));

  const std::vector<std::string> metadata = {argument_text(2),
                                             std::to_string(store.file_number),
                                             "C",
                                             station.date_time(),
                                             optional_number(station.longitude),
                                             optional_number(station.latitude),
                                             optional_number(station.bottom_depth)};
  for (int k : profile_steps()) {
    std::vector<std::string> row = metadata;
    row.push_back(export_number(step_coordinate(k)));
    for (const StepQuantity& q : quantities) row.push_back(optional_number(q.value(k)));
    file.line(joined(row));
  }
  file.close();
}

}  // namespace veka
