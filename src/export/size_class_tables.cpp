// The size spectrum as tidy comma-separated tables (--spectrum), for the
// size-spectrum tools of the community: one header row, the same number of
// fields on every row, plain numbers with the units in the column names,
// and an empty cell for a value that does not exist.
//
//   output_base_name + "_Spectrum.csv"       one row per 15 um class
//   output_base_name + "_Spectrum_bins.csv"  one row per step and class with a count
//   output_base_name + "_Spectrum_fit.csv"   the fits, one row
//
// Every row starts with the data set (argument 2), the file number, and the
// cruise and station of the recording's header or the run's settings (empty
// where neither names them).
//
// Reads   the spectrum table and fits (export/size_classes.h,
//         export/size_fits.h), the step axis, linear_slope,
//         linear_intercept, nbss_first, nbss_last, file_number,
//         output_base_name, argument 2
// Writes  the three files only.
#include "export/size_class_tables.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "common/text_output.h"
#include "export/step_table.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

using Cell = std::optional<double>;

// One row of comma-separated cells.
class CsvRow {
 public:
  // Quoted when it holds a separator, a quote or a line end.
  CsvRow& text(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return add(value);
    std::string quoted = "\"";
    for (char c : value) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return add(quoted + "\"");
  }
  CsvRow& number(Cell value) { return add(value ? export_number(*value) : ""); }
  // Counts are whole numbers held as doubles; they are written in full.
  CsvRow& count(Cell value) {
    if (!value) return add("");
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.0f", *value);
    return add(digits);
  }
  // log10 of a positive value; empty otherwise.
  CsvRow& log10_of(Cell value) {
    return number(value && *value > 0 ? Cell(std::log10(*value)) : std::nullopt);
  }
  const std::string& line() const { return line_; }

 private:
  CsvRow& add(const std::string& cell) {
    line_ += (first_ ? "" : ",") + cell;
    first_ = false;
    return *this;
  }
  std::string line_;
  bool first_ = true;
};

class CsvFile {
 public:
  CsvFile(const std::string& name, const std::vector<std::string>& header)
      : file_(name, TextOutput::Mode::replace) {
    CsvRow row;
    for (const std::string& column : header) row.text(column);
    file_.line(row.line());
  }
  void add(const CsvRow& row) { file_.line(row.line()); }
  void close() { file_.close(); }

 private:
  TextOutput file_;
};

const std::vector<std::string> kIdentity = {"data_set", "file_number", "cruise", "station"};

std::vector<std::string> header(std::vector<std::string> columns) {
  columns.insert(columns.begin(), kIdentity.begin(), kIdentity.end());
  return columns;
}

// The cruise and station the header or the settings give; the stand-ins
// would only repeat the first two columns.
CsvRow identity(const Station& station) {
  auto given = [&station](StationField field, const std::string& value) {
    return station.origin[field] == Origin::stand_in ? std::string() : value;
  };
  CsvRow row;
  row.text(argument_text(2))
      .count(store.file_number)
      .text(given(kCruise, station.cruise))
      .text(given(kStation, station.station));
  return row;
}

void write_classes(const Station& station, const SpectrumTable& table) {
  CsvFile file(spectrum_file_name(),
               header({"class", "esd_lower_um", "esd_upper_um", "biovolume_lower_mm3",
                       "biovolume_upper_mm3", "mass_lower_ug", "mass_upper_ug", "counted",
                       "counted_mep", "water_volume_m3", "concentration_per_m3",
                       "biomass_density_ug_per_m3", "nbss_biovolume_um3_per_um3_per_l",
                       "log10_nbss_biovolume", "psd_per_um_per_l", "log10_psd"}));
  for (const SpectrumClass& c : table.classes) {
    // The time mode has no water volume: nothing is per m3 there.
    auto per_volume = [&table](Cell value) { return table.per_volume ? value : std::nullopt; };
    CsvRow row = identity(station);
    row.count(c.index)
        .number(c.esd_lower)
        .number(c.esd_upper)
        .number(c.biovolume_lower)
        .number(c.biovolume_upper)
        .number(c.mass_lower)
        .number(c.mass_upper)
        .count(c.counted)
        .count(c.counted_mep)
        .number(table.water_volume)
        .number(per_volume(c.concentration))
        .number(per_volume(c.biomass_density))
        .number(per_volume(c.normalised_biovolume()))
        .log10_of(per_volume(c.normalised_biovolume()))
        .number(per_volume(c.size_distribution()))
        .log10_of(per_volume(c.size_distribution()));
    file.add(row);
  }
  file.close();
}

void write_step_classes(const Station& station) {
  StepAxis axis = step_axis();
  CsvFile file(
      spectrum_bins_file_name(),
      header({"step", axis.key + "_" + axis.cf_units, "class", "esd_lower_um", "esd_upper_um",
              "counted", "counted_mep", "count_factor", "water_volume_m3"}));
  for (const StepClassCount& c : step_class_counts()) {
    CsvRow row = identity(station);
    row.count(c.step)
        .number(step_coordinate(c.step))
        .count(c.index)
        .number(store.diameter_class_um[c.index - 1])
        .number(store.diameter_class_um[c.index])
        .count(c.counted)
        .count(c.counted_mep)
        .number(c.count_factor)
        .number(c.water_volume);
    file.add(row);
  }
  file.close();
}

void write_fit(const Station& station, const SpectrumFit& fit) {
  const Store& s = store;
  CsvFile file(spectrum_fit_file_name(), header({"mle_n",
                                                 "mle_class_low",
                                                 "mle_class_high",
                                                 "mle_xmin_esd_um",
                                                 "mle_xmax_esd_um",
                                                 "mle_xmin_mass_ug",
                                                 "mle_xmax_mass_ug",
                                                 "mle_b",
                                                 "mle_b_ci_low",
                                                 "mle_b_ci_high",
                                                 "mle_nbss_slope",
                                                 "linear_slope",
                                                 "linear_intercept",
                                                 "linear_slope_se",
                                                 "linear_intercept_se",
                                                 "linear_r_squared",
                                                 "linear_channels",
                                                 "linear_channel_first",
                                                 "linear_channel_last",
                                                 "linear_esd_low_um",
                                                 "linear_esd_high_um"}));
  CsvRow row = identity(station);
  const bool mle = fit.mle.has_value();
  auto if_mle = [mle](double value) { return mle ? Cell(value) : std::nullopt; };
  row.count(mle ? Cell(fit.mle->n) : std::nullopt)
      .count(if_mle(fit.lowest.index))
      .count(if_mle(fit.highest.index))
      .number(if_mle(fit.lowest.esd_lower))
      .number(if_mle(fit.highest.esd_upper))
      .number(if_mle(fit.lowest.mass_lower))
      .number(if_mle(fit.highest.mass_upper))
      .number(mle ? Cell(fit.mle->b) : std::nullopt)
      .number(mle ? fit.mle->b_low : std::nullopt)
      .number(mle ? fit.mle->b_high : std::nullopt)
      .number(fit.mle_nbss_slope());
  const bool line = fit.line.points > 0;
  auto if_line = [line](double value) { return line ? Cell(value) : std::nullopt; };
  row.number(if_line(s.linear_slope))
      .number(if_line(s.linear_intercept))
      .number(fit.line.slope_se)
      .number(fit.line.intercept_se)
      .number(fit.line.r_squared)
      .count(fit.line.points)
      .count(if_line(s.nbss_first))
      .count(if_line(s.nbss_last))
      .number(if_line(fit.line_esd_low()))
      .number(if_line(fit.line_esd_high()));
  file.add(row);
  file.close();
}

}  // namespace

std::string spectrum_file_name() {
  return store.output_base_name + "_Spectrum.csv";
}

std::string spectrum_bins_file_name() {
  return store.output_base_name + "_Spectrum_bins.csv";
}

std::string spectrum_fit_file_name() {
  return store.output_base_name + "_Spectrum_fit.csv";
}

void write_spectrum_files(const Station& station, const SpectrumTable& table,
                          const SpectrumFit& fit) {
  write_classes(station, table);
  write_step_classes(station);
  write_fit(station, fit);
}

}  // namespace veka
