// Batch summary: one comma-separated line per data file of a run.
#pragma once

#include <string>

namespace veka {

// argument 3 + "a_Batch_" + argument 2 + "_" + argument 9 + ".csv".
std::string batch_summary_name();

// Creates the file with its heading for the first data file of the run,
// appends to it afterwards, and writes the line of the current data file.
void write_batch_summary_line();

}  // namespace veka
