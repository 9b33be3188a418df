// The per-step profile of a data file as a CF-1.8 netCDF file
// (output_base_name + ".nc"): the step table over a depth (or, in the time
// mode, time) coordinate, the NBSS channels with their fits over a channel
// dimension, the large-particle millimetre classes, the fit and residual
// figures as scalars (among them the maximum-likelihood exponent and the
// straight line's statistics), the station position and time when the recording's
// header gives them, and the run's 61 arguments as a global attribute.
//
// Reads   the step table (export/step_table.h), nbss_size_bounds [um],
//         nbss_log_bounds, channel_delta_ug [ug], channel_biomass [ug/m3],
//         nbss_values, mep_nbss_values, the fits (linear_slope, ...,
//         nbss_quad_fit, nbss_quad_base, nbss_quad_residuals with their
//         channel ranges), the residual analysis, total_volume [m3],
//         mep_mm_counts, file_number, output_base_name, data_file_name;
//         the spectrum's fits (export/spectrum_fit.h)
// Writes  the netCDF file only.
#pragma once

#include "export/spectrum_fit.h"
#include "export/station.h"

namespace veka {

// False in a build without the netCDF library.
bool netcdf_available();

void write_netcdf_profile(const StationHeader& station, const SpectrumFit& fit);

}  // namespace veka
