// Transmission correction: an optional pre-pass of the biomass stage that
// rescales the counts of the small classes by comparing the all-particle
// and the multi-element spectra over the large channels.
#pragma once

namespace veka {

void correct_transmission();

}  // namespace veka
