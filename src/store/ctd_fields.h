// The CTD field letters that arguments 12..22 give, one per position on a
// CTD line, and their codes: the index of ctd_field_position.
#pragma once

#include <string_view>

namespace veka {

enum CtdField : int {
  kFieldT = 1,  // temperature
  kFieldC,      // conductivity
  kFieldD,      // depth
  kFieldS,      // salinity
  kFieldA1,     // analog channels A1..A7
  kFieldA2,
  kFieldA3,
  kFieldA4,
  kFieldA5,
  kFieldA6,
  kFieldA7,
};
constexpr int kCtdFields = kFieldA7;

// The letter of each code; entry 0 is no field.
constexpr std::string_view kCtdFieldLetters[kCtdFields + 1] = {"",   "T",  "C",  "D",  "S",  "A1",
                                                               "A2", "A3", "A4", "A5", "A6", "A7"};

// The code of a field letter; 0 for any other text, which holds a position
// on the line without naming a field.
constexpr int ctd_field_code(std::string_view letter) {
  for (int code = 1; code <= kCtdFields; ++code) {
    if (letter == kCtdFieldLetters[code]) return code;
  }
  return 0;
}

}  // namespace veka
