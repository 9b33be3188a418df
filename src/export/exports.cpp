#include "export/exports.h"

#include "export/netcdf_profile.h"
#include "export/odv_file.h"
#include "export/plots_page.h"
#include "export/station.h"
#include "store/store.h"

namespace veka {

void ExportRun::write_file_outputs() {
  if (!options_.any()) return;
  StationHeader station = read_station_header(store.data_file_name);
  if (options_.plots) {
    write_plots_page(station);
    rows_.push_back(batch_plot_row());
    write_batch_plots_page(rows_);
  }
  if (options_.odv) write_odv_file(station);
  if (options_.netcdf) write_netcdf_profile(station);
}

}  // namespace veka
