// Per-file defaults: the record pre-count, the starting settings, the expected transit count.
#pragma once

namespace veka {

void prepare_file_defaults();

// The settings and tables that are the same for every file (the MEP and
// reader settings, diameter classes, speed curves and cubics), without
// touching the data file or exp_fl.
void set_processing_constants();

}  // namespace veka
