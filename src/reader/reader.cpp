#include "reader/reader.h"

namespace veka {

void read_data_file() {}

}  // namespace veka
