#include "profile/water_volume.h"

namespace veka {

void compute_water_volume() {}

}  // namespace veka
