#include "common/numbers.h"

#include <cfenv>
#include <charconv>

namespace veka {

namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Checks the decimal real syntax; sets has_exponent when an exponent part
// is present.
bool is_decimal_real(std::string_view s, bool& has_exponent) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && is_digit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && is_digit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  has_exponent = false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    has_exponent = true;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < s.size() && is_digit(s[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return false;
  }
  return i == s.size();
}

}  // namespace

std::optional<int32_t> parse_integer(std::string_view text) {
  size_t start = (!text.empty() && text[0] == '+') ? 1 : 0;
  if (start == 1 && text.size() > 1 && text[1] == '-') return std::nullopt;
  int32_t value = 0;
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

std::optional<double> parse_real(std::string_view text) {
  bool has_exponent = false;
  if (!is_decimal_real(text, has_exponent)) return std::nullopt;
  size_t start = text[0] == '+' ? 1 : 0;
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  double value = 0.0;
  std::from_chars_result result;
  if (!has_exponent) {
    result = std::from_chars(first, last, value);
  } else {
    // Only an exponent can take the value beyond the double range; the
    // conversion then raises the overflow flag, which must not trap here.
    fenv_t saved;
    feholdexcept(&saved);
    result = std::from_chars(first, last, value);
    feclearexcept(FE_ALL_EXCEPT);
    fesetenv(&saved);
  }
  if (result.ptr != last) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    // Too small for a double rounds to zero; too large is not a number.
    bool tiny =
        text.find("e-") != std::string_view::npos || text.find("E-") != std::string_view::npos;
    if (tiny) return 0.0;
    return std::nullopt;
  }
  if (result.ec != std::errc()) return std::nullopt;
  return value;
}

}  // namespace veka
