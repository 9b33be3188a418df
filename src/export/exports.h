// The optional outputs of a run, written for each data file right after its
// reports, from the values in the store: the page of plots and the run's
// page (--plots), the ODV spreadsheets (--odv), the netCDF profile and
// spectrum files (--netcdf), the spectrum tables (--spectrum), and the
// run's cruise files of every file so far (a_ODV_..., a_Profiles_...),
// rewritten after each file like the run's page. In the time mode the step
// table's CTD means come from the exports' own pass over the recording
// (export/time_ctd.h). With none asked for, nothing is read or written.
#pragma once

#include <vector>

#include "export/batch_page.h"
#include "export/exported_profile.h"
#include "export/options.h"

namespace veka {

class ExportRun {
 public:
  explicit ExportRun(const ExportOptions& options) : options_(options) {}

  // Writes the outputs asked for, for the data file just reported.
  void write_file_outputs();

 private:
  ExportOptions options_;
  std::vector<BatchPlotRow> rows_;         // the files of the run's page so far
  std::vector<ExportedProfile> profiles_;  // the files of the cruise files so far
};

}  // namespace veka
