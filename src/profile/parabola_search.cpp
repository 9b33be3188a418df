// Parabola search: fits y = A + C/2 (x - B)^2 to the NBSS over channels
// nbss_base_first..quad_last by 100 cycles of six line scans (A up, A down,
// B up, B down, C up, C down). A scan tries 2000 values of one parameter,
// from its current value in steps of 0.01 made by repeated addition, and
// keeps the first value with the smallest sum of squared differences. The
// scan order and the step decide the result, so both are fixed. Every sum
// is added over the channels in increasing order; one that can no longer
// win is dropped part way, which leaves the result as if it were finished.
//
// Reads   nbss_values, nbss_log_bounds (x), nbss_base_first, quad_last
// Writes  quad_vertex_y, quad_offset_x, quad_curvature, quad_best_vertex_y,
//         quad_best_offset_x, quad_best_curvature
#include <experimental/simd>

#include "profile/nbss_fits.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kCycles = 100;
constexpr int kScanValues = 2000;
constexpr double kScanStep = 0.01;
constexpr double kNoSum = 1.0e9;
constexpr int kLanes = 8;
static_assert(kScanValues % kLanes == 0, "a scan is a whole number of blocks");

enum class Parameter { vertex_y, offset_x, curvature };

// The fit's channels with what stays fixed during a scan: the parabola's
// bend (A scanned) or squared offset (C scanned) of each channel.
struct FitChannels {
  int count = 0;
  double x[kChannels + 1];
  double y[kChannels + 1];
  double fixed[kChannels + 1];
  double a = 0.0;
  double half_c = 0.0;
};

FitChannels fit_channels(Parameter scanned) {
  const Store& s = store;
  FitChannels f;
  const double b = s.quad_offset_x;
  f.a = s.quad_vertex_y;
  f.half_c = 0.5 * s.quad_curvature;
  for (int32_t i = s.nbss_base_first; i <= s.quad_last; ++i, ++f.count) {
    const double x = s.nbss_log_bounds[i];
    f.x[f.count] = x;
    f.y[f.count] = s.nbss_values[i];
    const double square = (x - b) * (x - b);
    f.fixed[f.count] = scanned == Parameter::vertex_y ? (0.5 * s.quad_curvature) * square : square;
  }
  return f;
}

// Neighbouring values of a scan, worked on side by side: every operation
// acts on each lane alone, as on a single double.
using Lanes = std::experimental::fixed_size_simd<double, kLanes>;

// y - parabola(x) of channel i, with the scanned parameter's term given:
// the value of A, of B, or C/2 (formed once per value, as 0.5 * C).
template <Parameter scanned>
Lanes difference(const FitChannels& f, int i, const Lanes& term) {
  if constexpr (scanned == Parameter::vertex_y) {
    return f.y[i] - (term + f.fixed[i]);
  } else if constexpr (scanned == Parameter::offset_x) {
    const Lanes dx = f.x[i] - term;
    return f.y[i] - (f.a + (f.half_c * (dx * dx)));
  } else {
    return f.y[i] - (f.a + (term * f.fixed[i]));
  }
}

// The sums of one block of values, each added over the channels in
// increasing order. Returns false, leaving the sums partial, as soon as no
// sum of the block is below `best` any more: squares are never negative and
// adding one never lowers a rounded sum, so each final sum would be at least
// its partial one, and a later value with a sum equal to the best does not
// replace it. A NaN sum stays NaN and is never below anything.
template <Parameter scanned>
bool sum_block(const FitChannels& f, const double* terms, double best, double sums[kLanes]) {
  const Lanes term(terms, std::experimental::element_aligned);
  Lanes sum = 0.0;
  bool open = true;
  for (int i = 0; i < f.count && open; ++i) {
    const Lanes d = difference<scanned>(f, i, term);
    sum += d * d;
    open = std::experimental::any_of(sum < best);
  }
  sum.copy_to(sums, std::experimental::element_aligned);
  return open;
}

// A scan without any sum below 1.0e9 leaves the best value as it was, and
// the parameter takes that.
template <Parameter scanned>
void line_scan(double step, double& parameter, double& best_value) {
  const FitChannels f = fit_channels(scanned);
  double values[kScanValues];
  double terms[kScanValues];
  values[0] = parameter;
  for (int j = 1; j < kScanValues; ++j) values[j] = values[j - 1] + step;
  for (int j = 0; j < kScanValues; ++j) {
    terms[j] = scanned == Parameter::curvature ? 0.5 * values[j] : values[j];
  }
  double best = kNoSum;
  for (int first = 0; first < kScanValues; first += kLanes) {
    double sums[kLanes];
    if (!sum_block<scanned>(f, terms + first, best, sums)) continue;
    for (int l = 0; l < kLanes; ++l) {
      if (sums[l] < best) {
        best = sums[l];
        best_value = values[first + l];
      }
    }
  }
  parameter = best_value;
}

}  // namespace

void search_parabola() {
  Store& s = store;
  s.quad_vertex_y = 3.5;
  s.quad_offset_x = 2.0;
  s.quad_curvature = -1.5;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    line_scan<Parameter::vertex_y>(kScanStep, s.quad_vertex_y, s.quad_best_vertex_y);
    line_scan<Parameter::vertex_y>(-kScanStep, s.quad_vertex_y, s.quad_best_vertex_y);
    line_scan<Parameter::offset_x>(kScanStep, s.quad_offset_x, s.quad_best_offset_x);
    line_scan<Parameter::offset_x>(-kScanStep, s.quad_offset_x, s.quad_best_offset_x);
    line_scan<Parameter::curvature>(kScanStep, s.quad_curvature, s.quad_best_curvature);
    line_scan<Parameter::curvature>(-kScanStep, s.quad_curvature, s.quad_best_curvature);
  }
}

}  // namespace veka
