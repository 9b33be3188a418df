// The size spectrum with its uncertainty, for the page of plots: each NBSS
// channel as a bar across its width in body mass (an ESD axis above), with
// Poisson error bars from the particles counted in it, the
// maximum-likelihood power law with its 95 % band, and the straight-line
// and parabola fits drawn at the channels they fitted; the caption gives
// the exponent with its interval, n, R² and the ranges of the fits.
//
// Reads   the spectrum table and fits; nbss_size_bounds [um], nbss_values,
//         nbss_first, nbss_last, linear_slope, linear_intercept,
//         nbss_log_bounds, nbss_base_first, quad_last, nbss_quad_fit
// Writes  nothing.
#pragma once

#include <string>

#include "export/spectrum_fit.h"
#include "export/spectrum_table.h"

namespace veka {

// The figure as HTML markup.
std::string spectrum_uncertainty_figure(const SpectrumTable& table, const SpectrumFit& fit);

}  // namespace veka
