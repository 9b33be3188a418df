// The size spectrum of a data file as a CF-1.8 / ACDD-1.3 netCDF file of its
// own (output_base_name + "_spectrum.nc"), beside the profile file, whose
// featureType it would not fit: the NBSS channels over an ESD coordinate
// with its cell bounds (esd, esd_bounds [um], the channel number beside
// it), with the biomass per channel, the spectra and their straight-line and
// parabola fits over the channel ranges they cover; the large-particle
// millimetre classes over their own ESD coordinate (esd_mm, esd_mm_bounds
// [mm]); and the fit and residual figures as scalars (among them the
// maximum-likelihood exponent and the straight line's statistics). The
// station's identity, time and position are scalar coordinates, as in the
// profile file.
//
// Reads   nbss_size_bounds [um], nbss_log_bounds, channel_delta_ug [ug],
//         channel_biomass [ug/m3], nbss_values, mep_nbss_values, the fits
//         (linear_slope, ..., nbss_quad_fit, nbss_quad_base,
//         nbss_quad_residuals with their channel ranges), the residual
//         analysis, total_volume [m3], mep_mm_counts, mep_large_biomass
//         [mg], output_base_name; the spectrum's fits (export/spectrum_fit.h)
// Writes  the netCDF file only.
#pragma once

#include <string>
#include <vector>

#include "export/exported_profile.h"
#include "export/options.h"
#include "export/spectrum_fit.h"

namespace veka {

std::string netcdf_spectrum_name();

void write_netcdf_spectrum(const ExportedProfile& profile, const SpectrumFit& fit,
                           const std::vector<GlobalAttribute>& attributes);

}  // namespace veka
