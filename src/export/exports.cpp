#include "export/exports.h"

#include "export/netcdf_profile.h"
#include "export/netcdf_size_classes.h"
#include "export/odv_file.h"
#include "export/plots_page.h"
#include "export/size_class_tables.h"
#include "export/size_classes.h"
#include "export/size_fits.h"
#include "export/station.h"
#include "export/time_ctd.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

void ExportRun::write_file_outputs() {
  if (!options_.any()) return;
  const Station station = resolve_station(parse_station_header(store.recording_header),
                                          options_.station, argument_text(2), store.file_number);
  TimeModeCtd time_ctd;
  if (store.smode == 0 && options_.shows_steps()) time_ctd = read_time_mode_ctd();
  SpectrumTable spectrum;
  SpectrumFit fit;
  if (options_.shows_spectrum()) {
    spectrum = spectrum_table();
    fit = fit_spectrum(spectrum);
  }
  if (options_.plots) {
    write_plots_page(station, step_quantities(time_ctd), spectrum, fit);
    rows_.push_back(batch_plot_row(fit, options_.section_range));
    write_batch_plots_page(rows_, options_.section_range);
  }
  if (options_.odv || options_.netcdf) {
    profiles_.push_back(exported_profile(station, time_ctd, options_.bin));
    const ExportedProfile& profile = profiles_.back();
    if (options_.odv) {
      write_odv_file(profile);
      write_cruise_odv_file(profiles_);
    }
    if (options_.netcdf) {
      write_netcdf_profile(profile, options_.attributes);
      write_netcdf_spectrum(profile, fit, options_.attributes);
      write_cruise_netcdf(profiles_, options_.attributes);
    }
  }
  if (options_.spectrum) write_spectrum_files(station, spectrum, fit);
}

}  // namespace veka
