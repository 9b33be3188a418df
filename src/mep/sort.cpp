#include "mep/sort.h"

namespace veka {

void sort_meps() {}

}  // namespace veka
