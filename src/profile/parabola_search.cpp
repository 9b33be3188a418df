// Parabola search: fits y = A + C/2 (x - B)^2 to the NBSS over channels
// nbss_base_first..quad_last by 100 cycles of six line scans (A up, A down,
// B up, B down, C up, C down). A scan tries 2000 values of one parameter,
// from its current value in steps of 0.01 made by repeated addition, and
// keeps the first value with the smallest sum of squared differences. The
// scan order and the step decide the result, so both are fixed. Every sum
// is added over the channels in increasing order; one that can no longer
// win is dropped part way, and a scan ends once no later value can win,
// which leaves the result as if every sum were finished.
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
// the value of A, of B, or C/2 (formed once per value, as 0.5 * C); for
// values side by side (Lanes) or one (double), with the same operations.
template <Parameter scanned, typename Value>
Value difference(const FitChannels& f, int i, const Value& term) {
  if constexpr (scanned == Parameter::vertex_y) {
    return f.y[i] - (term + f.fixed[i]);
  } else if constexpr (scanned == Parameter::offset_x) {
    const Value dx = f.x[i] - term;
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
    const Lanes d = difference<scanned, Lanes>(f, i, term);
    sum += d * d;
    open = std::experimental::any_of(sum < best);
  }
  sum.copy_to(sums, std::experimental::element_aligned);
  return open;
}

// The channel whose difference the scan moves fastest, or first away from
// zero: for C the one farthest from the vertex, for B the first one the
// scan passes; for A every channel moves alike.
template <Parameter scanned>
int probe_channel(const FitChannels& f, double step) {
  if (scanned == Parameter::offset_x) return step > 0 ? 0 : f.count - 1;
  int probe = 0;
  if (scanned == Parameter::curvature) {
    for (int i = 1; i < f.count; ++i) {
      if (f.fixed[i] > f.fixed[probe]) probe = i;
    }
  }
  return probe;
}

// True when no value after the one with this term can win: the probe
// channel's difference has reached the side of zero that the scan moves it
// away from, and its square alone is no longer below the best sum. Every
// step rounds monotonically (the values, the term, the parabola, the
// square), so each later value's square there is at least as large; a sum
// of squares is never below one of its terms, since adding a square never
// lowers a rounded sum.
template <Parameter scanned>
bool past_every_winner(const FitChannels& f, int probe, double step, double term, double best) {
  if (f.count == 0) return false;
  const double d = difference<scanned, double>(f, probe, term);
  if (!(d * d >= best)) return false;
  bool falls = step > 0;  // whether d falls as the scan goes on
  if constexpr (scanned == Parameter::offset_x) {
    // Past the channel's x, the squared offset grows with every step.
    const double dx = f.x[probe] - term;
    if (step > 0 ? !(dx <= 0) : !(dx >= 0)) return false;
    falls = f.half_c >= 0;
  }
  return falls ? d <= 0 : d >= 0;
}

// A scan without any sum below 1.0e9 leaves the best value as it was, and
// the parameter takes that. The values are made block by block, each from
// the one before.
template <Parameter scanned>
void line_scan(double step, double& parameter, double& best_value) {
  const FitChannels f = fit_channels(scanned);
  const int probe = probe_channel<scanned>(f, step);
  double best = kNoSum;
  double value = parameter;
  for (int first = 0; first < kScanValues; first += kLanes) {
    double values[kLanes];
    double terms[kLanes];
    for (int l = 0; l < kLanes; ++l) {
      if (first + l > 0) value = value + step;
      values[l] = value;
      terms[l] = scanned == Parameter::curvature ? 0.5 * value : value;
    }
    double sums[kLanes];
    if (sum_block<scanned>(f, terms, best, sums)) {
      for (int l = 0; l < kLanes; ++l) {
        if (sums[l] < best) {
          best = sums[l];
          best_value = values[l];
        }
      }
    }
    if (past_every_winner<scanned>(f, probe, step, terms[kLanes - 1], best)) break;
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
