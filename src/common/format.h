// Number fields of the console and the reports. A field has a minimum width
// and is right-aligned; a value that needs more characters widens it, and a
// negative value carries a leading "-".
#pragma once

#include <cstdint>
#include <string>

namespace veka {

// x:w:d - a real in fixed point with exactly d decimals (no decimal point
// when d = 0), right-aligned in at least w characters.
std::string real_field(double x, int width, int decimals);

// n:w - an integer right-aligned in at least w characters.
std::string int_field(int64_t n, int width);

// The ten-character scientific form with two significant digits: a sign
// character (blank or "-"), d.d, "E", the exponent sign and four exponent
// digits. 0 gives " 0.0E+0000", -1 gives "-1.0E+0000".
std::string sci_field(double x);

// Text right-aligned in at least w characters.
std::string text_field(const std::string& text, int width);

}  // namespace veka
