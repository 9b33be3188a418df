// NBSS fits: a least-squares straight line through channels
// nbss_first..nbss_last of the all-particle and the multi-element spectrum
// (empty channels enter with -5.0), and a parabola through the large
// channels found by a coordinate search with a fixed scan order and step.
// A spectrum that ends before channel 40 gets a fixed parabola and no
// search.
//
// Reads   nbss_values, mep_nbss_values, nbss_log_bounds (x), nbss_first,
//         nbss_last
// Writes  linear_slope, linear_intercept, linear_x_intercept,
//         linear_recycles, mep_linear_slope, mep_linear_intercept,
//         nbss_values[1..8] (negative ones repaired), nbss_base_first,
//         quad_last, nbss_base_last, quad_vertex_y, quad_offset_x,
//         quad_curvature, quad_best_*, quad_x_intercept, par_recycles,
//         nbss_quad_fit; then the residual analysis
#include "profile/nbss_fits.h"

#include <algorithm>

#include "store/store.h"

namespace veka {

namespace {

struct Line {
  double slope;
  double intercept;
};

// Least squares over channels first..last. With fewer than two points, or
// all points at one x, the line is flat at the mean value.
Line fit_line(const double* y, int32_t first, int32_t last) {
  const double* x = store.nbss_log_bounds;
  double sx = 0.0, sy = 0.0, sxy = 0.0, sxx = 0.0, n = 0.0;
  for (int32_t i = first; i <= last; ++i) {
    sx += x[i];
    sy += y[i];
    sxy += x[i] * y[i];
    sxx += x[i] * x[i];
    n += 1;
  }
  Line line{0.0, n > 0 ? sy / n : 0.0};
  double denominator = n * sxx - sx * sx;
  if (n < 2 || denominator == 0) return line;
  line.slope = (n * sxy - sx * sy) / denominator;
  line.intercept = sy / n - (sx / n) * line.slope;
  return line;
}

// Recycling number of a spectrum falling with the given slope; none for a
// flat one.
double recycles(double slope) {
  return slope == 0 ? 0.0 : -1.7 / (0.7 * slope);
}

void fit_lines() {
  Store& s = store;
  Line all = fit_line(s.nbss_values, s.nbss_first, s.nbss_last);
  s.linear_slope = all.slope;
  s.linear_intercept = all.intercept;
  s.linear_x_intercept = all.slope == 0 ? 0.0 : -all.intercept / all.slope;
  s.linear_recycles = recycles(all.slope);
  Line mep = fit_line(s.mep_nbss_values, s.nbss_first, s.nbss_last);
  s.mep_linear_slope = mep.slope;
  s.mep_linear_intercept = mep.intercept;
}

// Below-zero values of the smallest channels are replaced by channel 7's,
// after the straight line has seen them and for everything printed later.
void repair_small_channels() {
  Store& s = store;
  for (int32_t i = 1; i <= 8; ++i) {
    if (s.nbss_values[i] < 0) s.nbss_values[i] = s.nbss_values[7];
  }
}

// The parabola and the residuals start at channel 27, or five channels
// below the end of a short spectrum (never below channel 2, whose lower
// neighbour the residual centroid reads).
void set_parabola_range() {
  Store& s = store;
  s.nbss_base_first = 27;
  s.quad_last = std::min<int32_t>(s.nbss_last, 47);
  if (s.nbss_last <= 27) s.nbss_base_first = s.nbss_last - 5;
  if (s.nbss_base_first < 2) s.nbss_base_first = 2;
  s.nbss_base_last = s.nbss_last;
}

void fit_parabola() {
  Store& s = store;
  if (s.nbss_last < 40) {
    s.quad_vertex_y = 1.4;
    s.quad_offset_x = 0.65;
    s.quad_curvature = -0.4;
  } else {
    search_parabola();
  }
}

// The last x of 0, 0.01, ... (2000 values) where the parabola is above zero.
void find_quad_x_intercept() {
  Store& s = store;
  s.quad_x_intercept = 0.0;
  double x = 0.0;
  for (int j = 0; j < 2000; ++j) {
    if (parabola(s.quad_vertex_y, s.quad_offset_x, s.quad_curvature, x) > 0) {
      s.quad_x_intercept = x;
    }
    x = x + 0.01;
  }
}

// From the best values of the search: they are those of the file start (0)
// when no search was made.
void evaluate_fitted_parabola() {
  Store& s = store;
  for (int32_t i = s.nbss_base_first; i <= s.quad_last; ++i) {
    s.nbss_quad_fit[i] = parabola(s.quad_best_vertex_y, s.quad_best_offset_x, s.quad_best_curvature,
                                  s.nbss_log_bounds[i]);
  }
}

}  // namespace

void fit_nbss() {
  Store& s = store;
  fit_lines();
  repair_small_channels();
  set_parabola_range();
  fit_parabola();
  find_quad_x_intercept();
  s.par_recycles = recycles(s.quad_curvature);
  evaluate_fitted_parabola();
  analyse_residuals();
}

}  // namespace veka
