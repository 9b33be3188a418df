// The optional outputs of a run, written for each data file right after its
// reports, from the values in the store: the page of plots and the run's
// page (--plots), the ODV spreadsheet (--odv), the netCDF profile (--netcdf)
// and the spectrum tables (--spectrum). With none asked for, nothing is read
// or written.
#pragma once

#include <vector>

#include "export/batch_page.h"
#include "export/options.h"

namespace veka {

class ExportRun {
 public:
  explicit ExportRun(const ExportOptions& options) : options_(options) {}

  // Writes the outputs asked for, for the data file just reported.
  void write_file_outputs();

 private:
  ExportOptions options_;
  std::vector<BatchPlotRow> rows_;  // the files of the run's page so far
};

}  // namespace veka
