// The positional command-line arguments, read where they are used. A missing
// argument reads as empty text; an integer or real argument that is not a
// valid number ends the run ("\"abc\" is not a valid integer value").
#pragma once

#include <cstdint>
#include <string>

namespace veka {

const std::string& argument_text(int number);
int32_t argument_integer(int number);
double argument_real(int number);

}  // namespace veka
