// Sizing of an analysed multi-element particle: its equivalent spherical
// diameter (ESD), biomass and size class, and its place in the profile
// counts, the millimetre classes and the shape classes.
#pragma once

#include <cstdint>

namespace veka {

// Size class of an ESD [mm]: Round(1000 ESD / 15 + 0.50001), at most 1100.
int32_t mep_size_class(double esd);

// Adds a particle of the given ESD [mm], found on the given profile step
// (1..500), to the counts, with the particle's mep_mean_opacity,
// mep_diameter and mep_length.
void count_sized_mep(int32_t step, double esd);

// ESD of the particle in hand from its summed element sizes, then its counts
// when its first record's step lies within the profile.
void size_mep();

// The closing console line of the analysis; closes the shape file.
void finish_mep_analysis();

}  // namespace veka
