// Conversions of text to numbers. Command-line arguments are converted
// strictly (a bad one is a fatal error); tokens of the data file convert to 0
// when they are not numbers, because a damaged line must not stop a cruise.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace veka {

// A decimal integer: optional sign and digits only, within 32 bits.
std::optional<int32_t> parse_integer(std::string_view text);

// A decimal real: optional sign, digits with an optional decimal point (at
// least one digit), optional exponent. Infinity, NaN, hexadecimal forms and
// values beyond the double range are not numbers.
std::optional<double> parse_real(std::string_view text);

// Token conversions of the data-file reader: text that is not a number,
// the empty text included, gives 0.
inline int32_t token_integer(std::string_view text) {
  return parse_integer(text).value_or(0);
}
inline double token_real(std::string_view text) {
  return parse_real(text).value_or(0.0);
}

}  // namespace veka
