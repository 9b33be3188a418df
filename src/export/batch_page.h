// The page of the run (argument 3 + "a_Plots_" + argument 2 + "_" +
// argument 9 + ".html"): one row per processed data file with its centroid
// ESD, straight-line slope, total biomass density and water volume, and a
// link to the file's own page. Rewritten after every file, so that it always
// lists the files processed so far.
//
// Reads   file_number, data_file_name, centroid_esd [um], linear_slope,
//         total_biomass_density [ug/m3], total_volume [m3]
// Writes  the page only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veka {

struct BatchPlotRow {
  int32_t file_number;
  std::string data_file;
  std::string plots_page;  // the file's page, relative to the run's page
  double centroid_esd;     // [um]
  double linear_slope;
  double total_biomass_density;  // [ug/m3]
  double total_volume;           // [m3]
};

// The row of the data file just processed.
BatchPlotRow batch_plot_row();

std::string batch_plots_page_name();

void write_batch_plots_page(const std::vector<BatchPlotRow>& rows);

}  // namespace veka
