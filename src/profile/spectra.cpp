#include "profile/spectra.h"

namespace veka {

void compute_biomass_and_spectra() {}

}  // namespace veka
