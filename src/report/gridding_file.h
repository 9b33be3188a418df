// Gridding file: per-step count concentrations for contouring programs.
#pragma once

#include <string>

namespace veka {

// argument 3 + "a_Surfer_" + argument 2 + "_" + argument 9 + ".csv".
std::string gridding_file_name();

// Creates the file with its heading for the first data file of the run,
// appends to it afterwards, and writes one line per step of the profile.
void write_gridding_lines();

}  // namespace veka
