#include "report/report_fields.h"

#include "common/fatal.h"
#include "common/format.h"
#include "common/numbers.h"
#include "store/store.h"

namespace veka {

std::string diameter_ranges(int width, const std::string& separator) {
  std::string text;
  for (int r = 1; r <= 5; ++r) {
    text += real_field(store.diameter_bin_low[r], width, 0) + "-" +
            real_field(store.diameter_bin_high[r], width, 0) + separator;
  }
  return text;
}

std::string range_values(const double* values, int width, int decimals, const std::string& before,
                         const std::string& after, double divisor) {
  std::string text;
  for (int r = 1; r <= 5; ++r) {
    text += before + real_field(values[r] / divisor, width, decimals) + after;
  }
  return text;
}

std::string step_window(int high_width) {
  return real_field(store.range_low, 3, 0) + "-" + real_field(store.range_high, high_width, 1);
}

std::string diameter_window() {
  return real_field(store.diameter_range_low_mm, 4, 2) + "-" +
         real_field(store.diameter_range_high_mm, 4, 2);
}

std::string shape_bounds(const double* bounds, int c) {
  return real_field(bounds[2 * c - 1], 4, 1) + "-" + real_field(bounds[2 * c], 4, 1);
}

double quotient_or_zero(double numerator, double divisor) {
  return divisor == 0.0 ? 0.0 : numerator / divisor;
}

int32_t text_integer(const std::string& text) {
  auto value = parse_integer(text);
  if (!value) fatal("\"" + text + "\" is not a valid integer value");
  return *value;
}

}  // namespace veka
