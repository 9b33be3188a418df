// Multi-element means per step: the particle analysis leaves, per step, the
// number of particles that gave opacity means and the sums of their mean
// inverse element area and mean opacity; this turns the sums into means.
//
// Reads   ctd[k] columns kCtdMepParticles, kCtdInverseArea and kCtdOpacity
//         (sums), k = 1..500
// Writes  ctd[k][kCtdInverseArea] (mean inverse area [1/mm2]) and
//         ctd[k][kCtdOpacity] (mean opacity) of every step with particles
#include "profile/mep_means.h"

#include "store/store.h"

namespace veka {

void compute_mep_means() {
  Store& s = store;
  for (int k = 1; k <= kSteps; ++k) {
    double* row = s.ctd[k];
    if (!(row[kCtdMepParticles] > 0)) continue;
    row[kCtdInverseArea] = row[kCtdInverseArea] / row[kCtdMepParticles];
    row[kCtdOpacity] = row[kCtdOpacity] / row[kCtdMepParticles];
  }
}

}  // namespace veka
