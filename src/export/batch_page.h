// The page of the run (argument 3 + "a_Plots_" + argument 2 + "_" +
// argument 9 + ".html"): one row per processed data file with its centroid
// ESD, straight-line slope, total biomass density and water volume, and a
// link to the file's own page; a section plot of the run, the count
// concentration of one size range (--section) by file and depth (time in the
// time mode) as a colour grid with its scale; then the size-spectrum
// exponent of each file with its interval beside the straight-line slope,
// as a table and a plot. Rewritten after every file, so that it always
// lists the files processed so far.
//
// Reads   file_number, data_file_name, centroid_esd [um], linear_slope,
//         total_biomass_density [ug/m3], total_volume [m3], the spectrum's
//         fits (export/spectrum_fit.h), the step table's count
//         concentration of the section's range (export/step_table.h)
// Writes  the page only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/spectrum_fit.h"

namespace veka {

// A step of the section plot: its edges on the step axis and its value.
struct SectionCell {
  double lower;
  double upper;
  std::optional<double> value;
};

struct BatchPlotRow {
  int32_t file_number;
  std::string data_file;
  std::string plots_page;  // the file's page, relative to the run's page
  double centroid_esd;     // [um]
  double linear_slope;
  double total_biomass_density;  // [ug/m3]
  double total_volume;           // [m3]
  std::optional<PowerLawFit> mle;
  std::optional<double> linear_r_squared;
  std::vector<SectionCell> section;  // the count concentration of the section's range
};

// The row of the data file just processed; `section_range` is a reporting
// range 1..5 or kAllRanges.
BatchPlotRow batch_plot_row(const SpectrumFit& fit, int section_range);

std::string batch_plots_page_name();

void write_batch_plots_page(const std::vector<BatchPlotRow>& rows, int section_range);

}  // namespace veka
