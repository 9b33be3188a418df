// Console summary: the main totals of a data file for the operator.
#pragma once

namespace veka {

// Writes the summary lines; the last one is left open, so the next console
// output continues it.
void write_console_summary();

}  // namespace veka
