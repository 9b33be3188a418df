// Pieces of report lines that the data report, the console summary, the
// batch summary and the gridding file share: the list of the five reporting
// diameter ranges, a row of five per-range values, the depth and diameter
// windows of the filtered totals, and the guarded quotients.
#pragma once

#include <cstdint>
#include <string>

namespace veka {

// The five reporting ranges r = 1..5, each as
// diameter_bin_low[r]:w:0 "-" diameter_bin_high[r]:w:0 followed by `separator`.
std::string diameter_ranges(int width, const std::string& separator);

// values[1..5], each divided by `divisor` and written :w:d between `before`
// and `after`.
std::string range_values(const double* values, int width, int decimals, const std::string& before,
                         const std::string& after, double divisor = 1.0);

// range_low:3:0 "-" range_high:w:1, the clipped depth (or interval) window.
std::string step_window(int high_width);

// diameter_range_low_mm:4:2 "-" diameter_range_high_mm:4:2.
std::string diameter_window();

// Length, diameter or ratio bounds of shape class c:
// bounds[2c-1]:4:1 "-" bounds[2c]:4:1.
std::string shape_bounds(const double* bounds, int c);

// A printed ratio whose divisor is 0 is written as 0 rather than trapping.
double quotient_or_zero(double numerator, double divisor);

// A text that was a whole-number argument, converted the same strict way.
int32_t text_integer(const std::string& text);

}  // namespace veka
