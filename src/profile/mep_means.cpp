// Multi-element means per step: the particle analysis leaves, per step, the
// number of particles that gave opacity means and the sums of their mean
// inverse element area and mean opacity; this turns the sums into means.
//
// Reads   ctd[k][12] (particles), ctd[k][13], ctd[k][21] (sums), k = 1..500
// Writes  ctd[k][13] (mean inverse area [1/mm2]), ctd[k][21] (mean opacity)
//         of every step with particles
#include "profile/mep_means.h"

#include "store/store.h"

namespace veka {

void compute_mep_means() {
  Store& s = store;
  for (int k = 1; k <= kSteps; ++k) {
    double* row = s.ctd[k];
    if (!(row[12] > 0)) continue;
    row[13] = row[13] / row[12];
    row[21] = row[21] / row[12];
  }
}

}  // namespace veka
