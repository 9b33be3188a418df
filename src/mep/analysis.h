// Multi-element analysis: geometry, sizing and shape picture of every particle.
#pragma once

namespace veka {

void analyse_meps();

}  // namespace veka
