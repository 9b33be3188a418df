// Fits to the normalised biomass size spectrum: straight lines for all
// particles and for multi-element particles, a parabola, and the residual
// analysis against the fixed base parabola.
#pragma once

#include <cstdint>

namespace veka {

// y of the parabola with vertex height a, vertex position b and curvature c at x.
inline double parabola(double a, double b, double c, double x) {
  return a + ((0.5 * c) * ((x - b) * (x - b)));
}

// Every fit and the residual analysis, in their order.
void fit_nbss();

// The coordinate search for the parabola over nbss_base_first..quad_last,
// from its fixed starting point; leaves quad_vertex_y, quad_offset_x,
// quad_curvature and the quad_best_* values.
void search_parabola();

// Residual analysis against the base parabola (after the parabola fit).
void analyse_residuals();

}  // namespace veka
