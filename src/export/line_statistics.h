// How well the straight line of the spectrum fits: determination, standard errors, points.
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
