// Water volume: flow speed, filtered volume and count scaling per profile step.
#pragma once

namespace veka {

void compute_water_volume();

}  // namespace veka
