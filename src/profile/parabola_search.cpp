// Parabola search: fits y = A + C/2 (x - B)^2 to the NBSS over channels
// nbss_base_first..quad_last by 100 cycles of six line scans (A up, A down,
// B up, B down, C up, C down). A scan tries 2000 values of one parameter,
// from its current value in steps of 0.01 made by repeated addition, and
// keeps the first value with the smallest sum of squared differences. The
// scan order and the step decide the result, so both are fixed.
//
// Reads   nbss_values, nbss_log_bounds (x), nbss_base_first, quad_last
// Writes  quad_vertex_y, quad_offset_x, quad_curvature, quad_best_vertex_y,
//         quad_best_offset_x, quad_best_curvature
#include "profile/nbss_fits.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kCycles = 100;
constexpr int kScanValues = 2000;
constexpr double kScanStep = 0.01;
constexpr double kNoSum = 1.0e9;

enum class Parameter { vertex_y, offset_x, curvature };

struct LineScan {
  double values[kScanValues];
  double sums[kScanValues];
};

// sums[j] is the fit sum with the scanned parameter at values[j]; each sum
// adds its channels in increasing order. The channel loop is the outer one
// so that the independent sums of neighbouring values are formed side by
// side.
void sum_squares(LineScan& scan, Parameter scanned) {
  const Store& s = store;
  const double a = s.quad_vertex_y;
  const double b = s.quad_offset_x;
  const double c = s.quad_curvature;
  for (int j = 0; j < kScanValues; ++j) scan.sums[j] = 0.0;
  for (int32_t i = s.nbss_base_first; i <= s.quad_last; ++i) {
    const double x = s.nbss_log_bounds[i];
    const double y = s.nbss_values[i];
    switch (scanned) {
      case Parameter::vertex_y: {
        const double bend = (0.5 * c) * ((x - b) * (x - b));
        for (int j = 0; j < kScanValues; ++j) {
          double d = y - (scan.values[j] + bend);
          scan.sums[j] += d * d;
        }
        break;
      }
      case Parameter::offset_x: {
        const double half_c = 0.5 * c;
        for (int j = 0; j < kScanValues; ++j) {
          double dx = x - scan.values[j];
          double d = y - (a + (half_c * (dx * dx)));
          scan.sums[j] += d * d;
        }
        break;
      }
      case Parameter::curvature: {
        const double square = (x - b) * (x - b);
        for (int j = 0; j < kScanValues; ++j) {
          double d = y - (a + ((0.5 * scan.values[j]) * square));
          scan.sums[j] += d * d;
        }
        break;
      }
    }
  }
}

// A scan without any sum below 1.0e9 leaves the best value as it was, and
// the parameter takes that.
void line_scan(LineScan& scan, Parameter scanned, double step, double& parameter,
               double& best_value) {
  scan.values[0] = parameter;
  for (int j = 1; j < kScanValues; ++j) scan.values[j] = scan.values[j - 1] + step;
  sum_squares(scan, scanned);
  double best = kNoSum;
  for (int j = 0; j < kScanValues; ++j) {
    if (scan.sums[j] < best) {
      best = scan.sums[j];
      best_value = scan.values[j];
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
  LineScan scan;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    line_scan(scan, Parameter::vertex_y, kScanStep, s.quad_vertex_y, s.quad_best_vertex_y);
    line_scan(scan, Parameter::vertex_y, -kScanStep, s.quad_vertex_y, s.quad_best_vertex_y);
    line_scan(scan, Parameter::offset_x, kScanStep, s.quad_offset_x, s.quad_best_offset_x);
    line_scan(scan, Parameter::offset_x, -kScanStep, s.quad_offset_x, s.quad_best_offset_x);
    line_scan(scan, Parameter::curvature, kScanStep, s.quad_curvature, s.quad_best_curvature);
    line_scan(scan, Parameter::curvature, -kScanStep, s.quad_curvature, s.quad_best_curvature);
  }
}

}  // namespace veka
