// Data-file reader: reads the open data file to its end and fills the profile steps.
#pragma once

namespace veka {

void read_data_file();

}  // namespace veka
