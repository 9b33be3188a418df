// Size-class totals: sums the profile's counts and biomass per step and
// reporting diameter range, per range over the profile and in total, each
// plain and per cubic metre of the step's filtered water (which the reports
// turn into areal figures), and the multi-element arrays alike; the window
// of the filtered totals is the diameter range and the depth range of the
// run.
//
// Reads   bin_counts, ctd[k][kCtdVolume] (V [m3]), diameter_class_um [um],
//         flow_scale, diameter_bin_low/high[1..5] [um],
//         diameter_range_low_mm/high_mm [mm], range_low, range_high,
//         mep_step_counts, mep_step_biomass [mg] (classes 1..401),
//         mep_opaque_bin_counts, range_lo..range_hi
// Writes  bin_biomass [mg] (recomputed), range_step_counts,
//         range_step_biomass, range_conc, range_bio_conc (entry 10: 100 to
//         2500 um), range_counts, range_areal_counts, range_biomass,
//         range_areal_biomass and their sums, areal_biomass_100_2500,
//         mep_areal_biomass_100_2500, mep_total_counts, mep_total_biomass,
//         mep_opaque_areal_counts, mep_range_*, total_counts, areal_counts,
//         total_biomass, areal_biomass, filtered_*
// Console "Found zero volume at line 91" and a wait, once per range for
//         every step without water.
#include "profile/totals.h"

#include <algorithm>
#include <cmath>

#include "common/console.h"
#include "profile/class_biomass.h"
#include "profile/profile_range.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kRanges = 5;
constexpr int kSmallToMedium = 10;  // entry of range_conc for 100..2500 um
constexpr int32_t kMepBiomassClasses = 401;

// The classes whose upper edge lies in [low, high): a run of classes, since
// the class scale rises with the class.
struct ClassRun {
  int32_t first;
  int32_t last;  // first > last when the run is empty
};

ClassRun classes_within(double low, double high) {
  const double* um = store.diameter_class_um;
  ClassRun run{1, 0};
  while (run.first <= kClasses && !(low <= um[run.first] && um[run.first] < high)) ++run.first;
  run.last = run.first - 1;
  while (run.last < kClasses && low <= um[run.last + 1] && um[run.last + 1] < high) ++run.last;
  return run;
}

// The class runs of the five reporting ranges and of 100..2500 um.
struct RangeClasses {
  ClassRun range[kRanges + 1];
  ClassRun small_to_medium;
  RangeClasses() : small_to_medium(classes_within(100, 2500)) {
    const Store& s = store;
    for (int r = 1; r <= kRanges; ++r) {
      range[r] = classes_within(s.diameter_bin_low[r], s.diameter_bin_high[r]);
    }
  }
};

// Per-volume terms of a step without water are left out rather than
// divided by zero.
bool has_water(int32_t k) {
  return store.ctd[k][kCtdVolume] != 0;
}

// Each step's last class with data in the tables that the sums read
// (profile_range.h). A step whose water is no finite number keeps all its
// classes, since an empty class's term over it would not be +0.
struct StepClasses {
  int32_t last[kSteps + 1];
  StepClasses() {
    const Store& s = store;
    for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
      if (!std::isfinite(s.ctd[k][kCtdVolume])) {
        last[k] = kClasses;
        continue;
      }
      last[k] = std::max(last_class_with_data(kClasses, s.bin_counts[k], s.bin_biomass[k],
                                              s.mep_step_counts[k], s.mep_opaque_bin_counts[k]),
                         last_class_with_data(kMepBiomassClasses, s.mep_step_biomass[k]));
    }
  }
};

void clear_totals() {
  Store& s = store;
  s.mep_total_biomass = 0;
  s.total_counts = 0;
  s.total_biomass = 0;
  s.mep_total_counts = 0;
}

// First pass: counts per range, and the step concentrations.
void sum_step_counts(const RangeClasses& classes, int r, int32_t k, int32_t last) {
  Store& s = store;
  const double* counts = s.bin_counts[k];
  const double* biomass = s.bin_biomass[k];
  const double v = s.ctd[k][kCtdVolume];
  const bool water = has_water(k);
  if (r == 1 && water) {
    const ClassRun& sm = classes.small_to_medium;
    for (int32_t j = sm.first; j <= std::min(sm.last, last); ++j) {
      s.range_conc[k][kSmallToMedium] += counts[j] / v;
      s.range_bio_conc[k][kSmallToMedium] += biomass[j] / v;
    }
  }
  const ClassRun& run = classes.range[r];
  for (int32_t j = run.first; j <= std::min(run.last, last); ++j) {
    s.range_step_counts[k][r] += counts[j];
    s.range_counts[r] += counts[j];
    s.range_counts_sum += counts[j];
    if (!water) continue;
    s.range_conc[k][r] += counts[j] / v;
    s.range_areal_counts[r] += counts[j] / v;
    s.range_areal_counts_sum += counts[j] / v;
    s.range_bio_conc[k][r] += biomass[j] / v;
  }
}

// Second pass, all particles: biomass per range.
void sum_step_biomass(const RangeClasses& classes, int r, int32_t k, int32_t last) {
  Store& s = store;
  const double* biomass = s.bin_biomass[k];
  const double* mep_biomass = s.mep_step_biomass[k];
  const bool water = has_water(k);
  const double per_volume = water ? 1 / s.ctd[k][kCtdVolume] : 0.0;
  if (r == 1 && water) {
    const ClassRun& sm = classes.small_to_medium;
    for (int32_t j = sm.first; j <= std::min(sm.last, last); ++j) {
      s.areal_biomass_100_2500 += per_volume * biomass[j];
      if (j <= kMepBiomassClasses) s.mep_areal_biomass_100_2500 += per_volume * mep_biomass[j];
    }
  }
  const ClassRun& run = classes.range[r];
  for (int32_t j = run.first; j <= std::min(run.last, last); ++j) {
    s.range_step_biomass[k][r] += biomass[j];
    s.range_biomass[r] += biomass[j];
    s.range_biomass_sum += biomass[j];
    if (!water) continue;
    s.range_areal_biomass[r] += per_volume * biomass[j];
    s.range_areal_biomass_sum += per_volume * biomass[j];
  }
}

// Second pass, multi-element particles. Their biomass table holds classes
// 1..401 only; a range reaching beyond gets nothing from the classes above.
void sum_step_mep(const RangeClasses& classes, int r, int32_t k, int32_t last) {
  Store& s = store;
  const double* counts = s.mep_step_counts[k];
  const double* biomass = s.mep_step_biomass[k];
  const double* opaque = s.mep_opaque_bin_counts[k];
  const bool water = has_water(k);
  const double per_volume = water ? 1 / s.ctd[k][kCtdVolume] : 0.0;
  if (r == 1) {
    for (int32_t j = 1; j <= last; ++j) s.mep_total_counts += counts[j];
    for (int32_t j = 1; j <= std::min(kMepBiomassClasses, last); ++j) {
      s.mep_total_biomass += biomass[j];
    }
    if (water) {
      for (int32_t j = 1; j <= last; ++j) s.mep_opaque_areal_counts += per_volume * opaque[j];
    }
  }
  const ClassRun& run = classes.range[r];
  for (int32_t j = run.first; j <= std::min(run.last, last); ++j) {
    if (j <= kMepBiomassClasses) {
      s.mep_range_biomass[r] += biomass[j];
      s.mep_range_biomass_sum += biomass[j];
      if (water) {
        s.mep_range_areal_biomass[r] += per_volume * biomass[j];
        s.mep_range_areal_biomass_sum += per_volume * biomass[j];
      }
    }
    s.mep_range_counts[r] += counts[j];
    if (water) s.mep_range_areal_counts[r] += per_volume * counts[j];
  }
}

// The sums of the third pass, kept in locals while the steps are added in
// order and stored once.
struct ProfileSums {
  double counts, biomass, filtered_counts, filtered_biomass;
  double areal_counts, areal_biomass, filtered_areal_counts, filtered_areal_biomass;
};

ProfileSums profile_sums() {
  const Store& s = store;
  return {s.total_counts, s.total_biomass, s.filtered_counts,       s.filtered_biomass,
          s.areal_counts, s.areal_biomass, s.filtered_areal_counts, s.filtered_areal_biomass};
}

void store_profile_sums(const ProfileSums& t) {
  Store& s = store;
  s.total_counts = t.counts;
  s.total_biomass = t.biomass;
  s.filtered_counts = t.filtered_counts;
  s.filtered_biomass = t.filtered_biomass;
  s.areal_counts = t.areal_counts;
  s.areal_biomass = t.areal_biomass;
  s.filtered_areal_counts = t.filtered_areal_counts;
  s.filtered_areal_biomass = t.filtered_areal_biomass;
}

// Third pass: profile totals, and those inside the diameter and depth
// window (all four bounds exclusive).
void sum_profile_totals(const StepClasses& steps) {
  const Store& s = store;
  const double* um = s.diameter_class_um;
  const double low_um = s.diameter_range_low_mm * 1000;
  const double high_um = s.diameter_range_high_mm * 1000;
  ProfileSums t = profile_sums();
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    const double* counts = s.bin_counts[k];
    const double* biomass = s.bin_biomass[k];
    const bool water = has_water(k);
    const double per_volume = water ? 1 / s.ctd[k][kCtdVolume] : 0.0;
    const bool in_depths = s.range_low < k && k < s.range_high;
    for (int32_t j = 1; j <= steps.last[k]; ++j) {
      const bool in_window = in_depths && low_um < um[j] && um[j] < high_um;
      t.counts += counts[j];
      t.biomass += biomass[j];
      if (in_window) {
        t.filtered_counts += counts[j];
        t.filtered_biomass += biomass[j];
      }
      if (!water) continue;
      t.areal_counts += per_volume * counts[j];
      t.areal_biomass += per_volume * biomass[j];
      if (in_window) {
        t.filtered_areal_counts += per_volume * counts[j];
        t.filtered_areal_biomass += per_volume * biomass[j];
      }
    }
  }
  store_profile_sums(t);
}

}  // namespace

void compute_size_class_totals() {
  clear_totals();
  compute_bin_biomass();
  const RangeClasses classes;
  const StepClasses steps;
  for (int r = 1; r <= kRanges; ++r) {
    for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
      if (!has_water(k)) {
        console::problem("Found zero volume at line 91");
        console::wait_for_enter();
      }
      sum_step_counts(classes, r, k, steps.last[k]);
    }
  }
  for (int r = 1; r <= kRanges; ++r) {
    for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
      sum_step_biomass(classes, r, k, steps.last[k]);
      sum_step_mep(classes, r, k, steps.last[k]);
    }
  }
  sum_profile_totals(steps);
}

}  // namespace veka
