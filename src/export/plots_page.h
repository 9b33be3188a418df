// The page of plots of a data file (output_base_name + "_Plots.html"): the
// normalised biomass size spectrum with its fits, base and residual
// centroid, and again with its uncertainty (export/spectrum_figure.h); depth
// profiles (time series in the time mode) of the count and
// biomass concentrations of the five reporting ranges, temperature,
// salinity, analog channel A1 and the flow speed, each through its steps
// (thin) and through its means over 5 steps (thick); the millimetre classes of
// the large multi-element particles; and a caption with the file and the
// run settings. Self-contained HTML with inline SVG.
//
// Reads   the step table (export/step_table.h); nbss_log_bounds,
//         nbss_values, mep_nbss_values, nbss_first/last, linear_slope,
//         linear_intercept, nbss_base_first, quad_last, nbss_quad_fit,
//         nbss_quad_base, resid_base_num, centroid_log_biomass,
//         centroid_esd [um]; mep_mm_counts[6..50], mep_large_biomass [mg];
//         the run parameters and labels, total_volume [m3]
// Writes  the page only.
#pragma once

#include <string>
#include <vector>

#include "export/spectrum_fit.h"
#include "export/spectrum_table.h"
#include "export/station.h"
#include "export/step_table.h"

namespace veka {

std::string plots_page_name();

void write_plots_page(const Station& station, const std::vector<StepQuantity>& quantities,
                      const SpectrumTable& spectrum, const SpectrumFit& fit);

}  // namespace veka
