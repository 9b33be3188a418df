// Multi-element analysis: geometry, sizing and shape picture of every particle.
#pragma once

#include <cstdint>

namespace veka {

void analyse_meps();

// The transit count S of the particle in hand, blended from the measured
// flow of its step; also becomes previous_transit_count.
void choose_transit_count();

// Opacity and inverse-area means of the particle's long inner elements,
// added to ctd columns 12, 13 and 21 of the second record's step.
void gather_inner_statistics();

}  // namespace veka
