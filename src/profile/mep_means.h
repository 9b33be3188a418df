// Multi-element means per step: turns the per-step sums of the analysis into means.
#pragma once

namespace veka {

void compute_mep_means();

}  // namespace veka
