#include "common/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace veka {

// Right-aligns the `length` characters at `text` in at least `width`.
static std::string padded(const char* text, int length, int width) {
  std::string field(length < width ? width - length : 0, ' ');
  field.append(text, length);
  return field;
}

// to_chars gives the digits printf's "%.*f" gives (both are the exact
// decimal value of the double, rounded half to even) at a quarter of the
// cost; values beyond its buffer, infinities and NaN take printf itself.
std::string real_field(double x, int width, int decimals) {
  char small[64];
  if (std::isfinite(x)) {
    auto [end, fault] =
        std::to_chars(small, small + sizeof small, x, std::chars_format::fixed, decimals);
    if (fault == std::errc()) return padded(small, static_cast<int>(end - small), width);
  }
  int n = std::snprintf(small, sizeof small, "%*.*f", width, decimals, x);
  if (n < static_cast<int>(sizeof small)) return std::string(small, n);
  // Values near the double range need hundreds of digits.
  std::vector<char> large(n + 1);
  std::snprintf(large.data(), large.size(), "%*.*f", width, decimals, x);
  return std::string(large.data(), n);
}

std::string int_field(int64_t n, int width) {
  char text[32];
  auto end = std::to_chars(text, text + sizeof text, n).ptr;
  return padded(text, static_cast<int>(end - text), width);
}

std::string sci_field(double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%.1E", x);  // e.g. "-1.0E+00"
  std::string s(text);
  std::string mantissa = s.substr(0, s.find('E'));
  int exponent = std::atoi(s.c_str() + s.find('E') + 1);
  if (mantissa[0] != '-') mantissa.insert(mantissa.begin(), ' ');
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return mantissa + tail;
}

std::string text_field(const std::string& text, int width) {
  return padded(text.data(), static_cast<int>(text.size()), width);
}

}  // namespace veka
