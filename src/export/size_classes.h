// The size spectrum of the analysed profile per 15 um diameter class.
#pragma once

#include <optional>
#include <vector>

namespace veka {

// Biovolume [mm3] and mass [ug] of a sphere of the diameter [um].
double sphere_biovolume_mm3(double esd_um);
double sphere_mass_ug(double esd_um);

struct SpectrumClass {
  int index;                                // 1..1100; ESDs from 15 (index - 1) up to 15 index um
  double esd_lower, esd_upper;              // [um]
  double biovolume_lower, biovolume_upper;  // [mm3]
  double mass_lower, mass_upper;            // [ug]
  double counted;      // single-element counts as read plus multi-element particles as sized
  double counted_mep;  // the multi-element particles among them
  // Of the processed counts: particles per m3 (empty without water) and
  // biomass density [ug/m3].
  std::optional<double> concentration;
  double biomass_density;

  // Particles per litre and um of ESD.
  std::optional<double> size_distribution() const;
  // Biovolume per litre and per um3 of the class's biovolume width
  // [um3 um-3 L-1].
  std::optional<double> normalised_biovolume() const;
};

struct SpectrumTable {
  // False in the time mode, whose intervals count as 1 m3 each: its
  // concentrations are then per interval, not per m3.
  bool per_volume = false;
  std::optional<double> water_volume;  // [m3] filtered over the profile
  // From the first to the last class with a count, counted or processed.
  std::vector<SpectrumClass> classes;
};

SpectrumTable spectrum_table();

// The counts of one step and class, as counted, with the step's count
// factor (its time over the time of its counted frames) and, in the depth
// modes, its water volume [m3].
struct StepClassCount {
  int step;
  int index;
  double counted;
  double counted_mep;
  double count_factor;
  std::optional<double> water_volume;
};

// Every step and class of the profile with a count, step by step.
std::vector<StepClassCount> step_class_counts();

}  // namespace veka
