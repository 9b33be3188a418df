// Biomass of the 15 um diameter classes, per step and as the profile mean
// per cubic metre of filtered water.
#pragma once

#include <cstdint>

namespace veka {

// Biomass [mg] of a sphere of the diameter [um], pi taken as 3.14, scaled
// by flow_scale: its volume in mm3 times flow_scale.
double sphere_biomass_mg(double diameter_um);

// Biomass [mg] of one particle of class `b`: a sphere of the class centre
// diameter.
double biomass_per_count(int32_t b);

// bin_biomass and mep_bin_biomass of every profile step, classes 1..last_class.
void compute_step_biomass(int32_t last_class);

// bin_biomass alone, with the same values as compute_step_biomass.
void compute_bin_biomass();

// tot_volume, and biomass_density and mep_biomass_density of classes
// 1..last_class, summed afresh from zero.
void compute_biomass_densities(int32_t last_class);

}  // namespace veka
