#include "mep/analysis.h"

namespace veka {

void analyse_meps() {}

}  // namespace veka
