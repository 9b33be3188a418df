// Data report: the comma-separated result file of one data file, written in
// two halves around the console summary.
#pragma once

#include <string>

#include "common/text_output.h"

namespace veka {

// output_base_name + "_Data.csv".
std::string data_report_name();

// Totals of the profile, MEP totals, shapes and the biomass spectrum.
void write_report_totals(TextOutput& report);

// The step table, the diameter distributions and the 1 mm bins.
void write_report_tables(TextOutput& report);

}  // namespace veka
