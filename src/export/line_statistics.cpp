// How well the straight line of the spectrum fits: the coefficient of
// determination, the standard errors of slope and intercept, and the number
// of points, over the points of the straight-line fit in its order
// (channels nbss_first..nbss_last, empty channels at -5.0) and with the
// values the fit saw: the small-channel repair that follows the fit is not
// applied.
//
// Reads   nbss_first, nbss_last, nbss_log_bounds, channel_biomass [ug/m3],
//         channel_delta_ug [ug], linear_slope, linear_intercept
// Writes  nothing.
#include "export/line_statistics.h"

#include <cmath>

#include "profile/nbss_channels.h"
#include "store/store.h"

namespace veka {

LineStatistics line_statistics(const std::vector<double>& x, const std::vector<double>& y,
                               double slope, double intercept) {
  LineStatistics statistics;
  const size_t n = x.size();
  statistics.points = static_cast<int>(n);
  if (n == 0) return statistics;
  double sx = 0.0, sy = 0.0;
  for (size_t i = 0; i < n; ++i) {
    sx += x[i];
    sy += y[i];
  }
  const double mean_x = sx / n, mean_y = sy / n;
  double sxx = 0.0, total = 0.0, residual = 0.0;
  for (size_t i = 0; i < n; ++i) {
    double e = y[i] - (intercept + slope * x[i]);
    sxx += (x[i] - mean_x) * (x[i] - mean_x);
    total += (y[i] - mean_y) * (y[i] - mean_y);
    residual += e * e;
  }
  if (total > 0) statistics.r_squared = 1 - residual / total;
  if (n >= 3 && sxx > 0) {
    const double variance = residual / (n - 2);
    statistics.slope_se = std::sqrt(variance / sxx);
    statistics.intercept_se = std::sqrt(variance * (1.0 / n + mean_x * mean_x / sxx));
  }
  return statistics;
}

LineStatistics nbss_line_statistics() {
  const Store& s = store;
  std::vector<double> x, y;
  for (int32_t i = std::max(s.nbss_first, 1); i <= std::min(s.nbss_last, kChannels); ++i) {
    x.push_back(s.nbss_log_bounds[i]);
    y.push_back(nbss_value(s.channel_biomass[i], i));
  }
  return line_statistics(x, y, s.linear_slope, s.linear_intercept);
}

}  // namespace veka
