// Biomass per class: each count of a 15 um class stands for a sphere of
// the class centre diameter; the profile mean divides each step's biomass
// by the water filtered over the whole profile.
//
// Reads   diameter_class_um[b] [um] (upper class edge), flow_scale,
//         bin_counts, mep_bin_counts, ctd[k][kCtdVolume] [m3],
//         range_lo..range_hi
// Writes  bin_biomass, mep_bin_biomass [mg], tot_volume [m3],
//         biomass_density, mep_biomass_density [ug/m3]
#include "profile/class_biomass.h"

#include "common/sphere.h"
#include "profile/profile_range.h"
#include "store/store.h"

namespace veka {

namespace {

// Per-class factors of one call, so that a class's factor is computed once
// rather than once per step; the value is the same either way.
struct ClassFactors {
  double per_count[kClasses + 1];
  explicit ClassFactors(int32_t last_class) {
    for (int32_t b = 1; b <= last_class; ++b) per_count[b] = biomass_per_count(b);
  }
};

void multiply_row(const double* counts, double* biomass, const double* factor, int32_t last_class) {
  for (int32_t b = 1; b <= last_class; ++b) biomass[b] = factor[b] * counts[b];
}

// Each step's term is divided on its own before it is added, steps in
// increasing order.
void add_step_densities(const double* biomass, double* density, int32_t last_class, double volume) {
  for (int32_t b = 1; b <= last_class; ++b) density[b] += (biomass[b] * 1000) / volume;
}

}  // namespace

double sphere_biomass_mg(double diameter_um) {
  double d = diameter_um / 10000;  // [cm]
  double h = d / 2;
  double v = kSphereFactor * store.flow_scale * (h * h * h);
  return 1000 * v;
}

double biomass_per_count(int32_t b) {
  return sphere_biomass_mg(store.diameter_class_um[b] - 7.5);  // the class centre
}

void compute_step_biomass(int32_t last_class) {
  Store& s = store;
  ClassFactors factors(last_class);
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    multiply_row(s.bin_counts[k], s.bin_biomass[k], factors.per_count, last_class);
    multiply_row(s.mep_bin_counts[k], s.mep_bin_biomass[k], factors.per_count, last_class);
  }
}

void compute_bin_biomass() {
  Store& s = store;
  ClassFactors factors(kClasses);
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    multiply_row(s.bin_counts[k], s.bin_biomass[k], factors.per_count, kClasses);
  }
}

void compute_biomass_densities(int32_t last_class) {
  Store& s = store;
  s.tot_volume = 0.0;
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    s.tot_volume = s.tot_volume + s.ctd[k][kCtdVolume];
  }
  for (int32_t b = 1; b <= last_class; ++b) {
    s.biomass_density[b] = 0.0;
    s.mep_biomass_density[b] = 0.0;
  }
  // A profile that filtered no water has no density to speak of.
  if (s.tot_volume == 0) return;
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    add_step_densities(s.bin_biomass[k], s.biomass_density, last_class, s.tot_volume);
    add_step_densities(s.mep_bin_biomass[k], s.mep_biomass_density, last_class, s.tot_volume);
  }
}

}  // namespace veka
