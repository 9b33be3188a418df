#include "profile/mep_means.h"

namespace veka {

void compute_mep_means() {}

}  // namespace veka
