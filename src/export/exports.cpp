#include "export/exports.h"

#include "export/netcdf_profile.h"
#include "export/odv_file.h"
#include "export/plots_page.h"
#include "export/spectrum_files.h"
#include "export/spectrum_fit.h"
#include "export/spectrum_table.h"
#include "export/station.h"

namespace veka {

void ExportRun::write_file_outputs() {
  if (!options_.any()) return;
  StationHeader station = read_station_header();
  SpectrumTable spectrum;
  SpectrumFit fit;
  if (options_.shows_spectrum()) {
    spectrum = spectrum_table();
    fit = fit_spectrum(spectrum);
  }
  if (options_.plots) {
    write_plots_page(station, spectrum, fit);
    rows_.push_back(batch_plot_row(fit));
    write_batch_plots_page(rows_);
  }
  if (options_.odv) write_odv_file(station);
  if (options_.netcdf) write_netcdf_profile(station, fit);
  if (options_.spectrum) write_spectrum_files(station, spectrum, fit);
}

}  // namespace veka
