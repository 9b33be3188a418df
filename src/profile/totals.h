// Size-class totals: counts and biomass per reporting range and profile, plain and per volume.
#pragma once

namespace veka {

void compute_size_class_totals();

}  // namespace veka
