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
#pragma once

#include <optional>
#include <vector>

namespace veka {

struct LineStatistics {
  int points = 0;
  std::optional<double> r_squared;     // empty when every y is the same
  std::optional<double> slope_se;      // empty with fewer than three points
  std::optional<double> intercept_se;  // or all at one x
};

// The statistics of the line y = intercept + slope x through the points.
LineStatistics line_statistics(const std::vector<double>& x, const std::vector<double>& y,
                               double slope, double intercept);

LineStatistics nbss_line_statistics();

}  // namespace veka
