// Configure and bin: coarse bins of the profile and the per-step report rows.
#pragma once

namespace veka {

// Bins counts over 5, 10 and 25 steps and biomass over 25 steps, builds the
// report rows from the CTD sums, smooths the CTD rate and flow speed
// columns and sums the chlorophyll channel.
void configure_and_bin();

}  // namespace veka
