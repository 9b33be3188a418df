// Biomass and size spectra, with the optional transmission correction, then the spectrum fits.
#pragma once

namespace veka {

void compute_biomass_and_spectra();

}  // namespace veka
