// The size spectrum of the analysed profile per 15 um diameter class, as
// the spectrum files, the plots and the netCDF file take it: the class
// edges in ESD, biovolume and mass (spheres, pi taken as 3.14, mass by the
// biomass formula, that is biovolume times flow_scale at 1 mg per mm3); the
// particles counted in the profile's steps as they were counted, before
// zero filling, count-factor scaling and transmission correction; and the
// concentration and biomass density of the processed counts, per cubic
// metre of the water filtered over the profile.
//
// Reads   sep_counts_as_read, mep_counts_as_sized, bin_counts,
//         biomass_density [ug/m3], tot_volume [m3], ctd[k][kCtdCountFactor],
//         ctd[k][kCtdVolume] [m3], diameter_class_um [um], flow_scale,
//         range_lo..range_hi, smode
// Writes  nothing.
#include "export/size_classes.h"

#include "export/step_table.h"
#include "profile/class_biomass.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kLitresPerM3 = 1000.0;  // [L/m3]

SpectrumClass spectrum_class(int j, double counted, double counted_mep, double processed) {
  const Store& s = store;
  SpectrumClass c;
  c.index = j;
  c.esd_lower = s.diameter_class_um[j - 1];  // 0 below class 1
  c.esd_upper = s.diameter_class_um[j];
  c.biovolume_lower = sphere_biovolume_mm3(c.esd_lower);
  c.biovolume_upper = sphere_biovolume_mm3(c.esd_upper);
  c.mass_lower = sphere_mass_ug(c.esd_lower);
  c.mass_upper = sphere_mass_ug(c.esd_upper);
  c.counted = counted;
  c.counted_mep = counted_mep;
  if (s.tot_volume > 0) c.concentration = processed / s.tot_volume;
  c.biomass_density = s.biomass_density[j];
  return c;
}

}  // namespace

double sphere_biovolume_mm3(double esd_um) {
  return sphere_biomass_mg(esd_um) / store.flow_scale;
}

double sphere_mass_ug(double esd_um) {
  return 1000 * sphere_biomass_mg(esd_um);
}

std::optional<double> SpectrumClass::size_distribution() const {
  if (!concentration) return std::nullopt;
  return *concentration / kLitresPerM3 / (esd_upper - esd_lower);
}

// Each particle stands for a sphere of the class centre, as in the biomass.
std::optional<double> SpectrumClass::normalised_biovolume() const {
  if (!concentration) return std::nullopt;
  const double centre = sphere_biovolume_mm3((esd_lower + esd_upper) / 2);
  return *concentration / kLitresPerM3 * centre / (biovolume_upper - biovolume_lower);
}

SpectrumTable spectrum_table() {
  const Store& s = store;
  std::vector<double> counted(kClasses + 1, 0.0), mep(kClasses + 1, 0.0),
      processed(kClasses + 1, 0.0);
  for (int k : profile_steps()) {
    const double* sep_row = s.sep_counts_as_read[k];
    const double* mep_row = s.mep_counts_as_sized[k];
    const double* processed_row = s.bin_counts[k];
    for (int j = 1; j <= kClasses; ++j) {
      counted[j] += sep_row[j] + mep_row[j];
      mep[j] += mep_row[j];
      processed[j] += processed_row[j];
    }
  }
  SpectrumTable table;
  table.per_volume = per_volume();
  if (table.per_volume && s.tot_volume > 0) table.water_volume = s.tot_volume;
  int first = 0, last = 0;
  for (int j = 1; j <= kClasses; ++j) {
    if (counted[j] == 0 && processed[j] == 0) continue;
    if (first == 0) first = j;
    last = j;
  }
  for (int j = first; first > 0 && j <= last; ++j) {
    table.classes.push_back(spectrum_class(j, counted[j], mep[j], processed[j]));
  }
  return table;
}

std::vector<StepClassCount> step_class_counts() {
  const Store& s = store;
  std::vector<StepClassCount> counts;
  for (int k : profile_steps()) {
    const double* sep_row = s.sep_counts_as_read[k];
    const double* mep_row = s.mep_counts_as_sized[k];
    for (int j = 1; j <= kClasses; ++j) {
      double counted = sep_row[j] + mep_row[j];
      if (counted == 0 && mep_row[j] == 0) continue;
      counts.push_back({k, j, counted, mep_row[j], s.ctd[k][kCtdCountFactor], std::nullopt});
      if (per_volume()) counts.back().water_volume = s.ctd[k][kCtdVolume];
    }
  }
  return counts;
}

}  // namespace veka
