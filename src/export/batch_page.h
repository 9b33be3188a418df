// The page of the run: a row, a link, the section plot and the exponent of every file so far.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/size_fits.h"

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
