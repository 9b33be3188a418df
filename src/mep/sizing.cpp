// Sizing of an analysed multi-element particle: the summed element sizes
// give its ESD through a cubic, the ESD its biomass (a sphere with pi = 3.14,
// times flow_scale) and its 15 um size class; the particle is then counted
// per step and class, per millimetre class and per shape class, as the
// opacity options of arguments 60 and 61 select.
//
// Reads   the particle in hand in mep_sorted (size, step), mep_mean_opacity,
//         mep_diameter [mm], mep_length [mm], mep_cubic_b [mm], flow_scale,
//         range_hi, shape_diameter/length/ratio_bounds [mm],
//         diameter_range_low_mm/high_mm, arguments 60 and 61
// Writes  bin_counts (and the same additions to mep_counts_as_sized),
//         mep_bin_counts, mep_opaque_bin_counts,
//         mep_step_counts, mep_step_biomass [mg], mep_mm_counts,
//         mep_mm_totals, mep_large_biomass [mg], large_mep_esd [mm],
//         mep_over_6mm_count, shape_counts, shape_biomass [mg], mep_ld_sum,
//         mep_ld_count, mep_filtered_biomass [mg], mep_filtered_counts.
#include "mep/sizing.h"

#include <algorithm>

#include "common/console.h"
#include "common/format.h"
#include "common/rounding.h"
#include "common/sphere.h"
#include "mep/geometry.h"
#include "mep/shape_picture.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kLargeParticlesKept = 500;
constexpr double kLargeEsd = 6.0;     // mm
constexpr double kLargestEsd = 35.0;  // mm
constexpr double kOpaqueOpacity = 0.5;
constexpr int32_t kMillimetreClasses = 35;
constexpr int32_t kLargeMillimetreClasses = 50;

// Open below, closed above.
bool within(double value, double low, double high) {
  return low < value && value <= high;
}

void add_to_shape_class(int32_t shape_class, double biomass) {
  store.shape_counts[shape_class] += 1;
  store.shape_biomass[shape_class] += biomass;
}

void count_shape_classes(double biomass) {
  Store& s = store;
  const double d = s.mep_diameter;
  const double l = s.mep_length;
  for (int32_t i = 1; i <= 2; ++i) {
    const int32_t low = 2 * i - 1;
    if (within(d, s.shape_diameter_bounds[low], s.shape_diameter_bounds[low + 1]) &&
        within(l, s.shape_length_bounds[low], s.shape_length_bounds[low + 1])) {
      add_to_shape_class(i, biomass);
    }
  }
  if (d > 0 && within(d, s.shape_diameter_bounds[5], s.shape_diameter_bounds[6]) &&
      within(l, s.shape_length_bounds[5], s.shape_length_bounds[6]) &&
      s.shape_ratio_bounds[5] < l / d && l / d < s.shape_ratio_bounds[6]) {
    add_to_shape_class(3, biomass);
    s.mep_ld_sum += l / d;
    s.mep_ld_count += 1;
  }
}

void count_millimetre_classes(double esd, double biomass) {
  Store& s = store;
  if (kLargeEsd <= esd && esd <= kLargestEsd) {
    const int32_t mm = round_to_int(esd + 0.50001);
    if (mm > kMillimetreClasses) {
      console::line("");
      console::problem(
          "Note you have a particle esd greater than 35mm -press \"enter\" to continue");
      console::wait_for_enter();
    }
    if (mm <= kLargeMillimetreClasses) {
      s.mep_mm_counts[mm] += 1;
      s.mep_large_biomass += biomass;
    }
  }
  // An ESD of exactly 35 mm would need a 36th class; it is left out.
  const int32_t whole_mm = trunc_to_int(esd) + 1;
  if (esd <= kLargestEsd && whole_mm <= kMillimetreClasses) s.mep_mm_totals[whole_mm] += 1;
}

// A particle entering the counts of the profile, also kept as counted.
void add_to_bin_counts(int32_t step, int32_t k) {
  store.bin_counts[step][k] += 1;
  if (store.keeps_counts_as_counted) store.mep_counts_as_sized[step][k] += 1;
}

}  // namespace

int32_t mep_size_class(double esd) {
  // The largest particles (above 16.5 mm) share the last class.
  return std::min(kClasses, round_to_int(1000 * esd / 15 + 0.50001));
}

void count_sized_mep(int32_t step, double esd) {
  Store& s = store;
  const AnalysisOption option = analysis_option();
  const double g = argument_real(61);
  const double opacity = s.mep_mean_opacity;
  const double radius_ratio = esd / 20;
  const double biomass =
      s.flow_scale * 1000 * kSphereFactor * (radius_ratio * radius_ratio * radius_ratio);
  const int32_t k = mep_size_class(esd);
  const bool small = esd < kLargeEsd;

  if (s.mep_over_6mm_count < kLargeParticlesKept && esd >= kLargeEsd) {
    add_to_bin_counts(step, k);
    s.large_mep_esd[++s.mep_over_6mm_count] = esd;
    if (opacity > kOpaqueOpacity) s.mep_opaque_bin_counts[step][k] += 1;
  }
  if (small && option < AnalysisOption::opaque_only) add_to_bin_counts(step, k);
  bool counted_as_mep = true;
  if (g != 0) {
    if (esd < 15.0 && opacity >= g && option == AnalysisOption::transmission_correction) {
      counted_as_mep = false;
    } else {
      if (small && opacity >= g && option == AnalysisOption::opaque_only)
        add_to_bin_counts(step, k);
      if (small && opacity < g && option == AnalysisOption::translucent_only) {
        add_to_bin_counts(step, k);
      }
    }
  }
  if (counted_as_mep) s.mep_bin_counts[step][k] += 1;
  count_millimetre_classes(esd, biomass);
  const bool translucent_skipped =
      g != 0 && small && opacity < g && option == AnalysisOption::transmission_correction;
  if (small && !translucent_skipped) {
    count_shape_classes(biomass);
    s.mep_step_biomass[step][k] += biomass;
    s.mep_step_counts[step][k] += 1;
  }
  if (s.diameter_range_low_mm <= esd && esd <= s.diameter_range_high_mm) {
    s.mep_filtered_biomass += biomass;
    s.mep_filtered_counts += 1;
  }
}

void size_mep() {
  const Store& s = store;
  const int32_t first = s.particle_first_record;
  int64_t summed_size = 0;
  for (int32_t i = first; i < first + s.particle_element_count; ++i)
    summed_size += s.mep_sorted[i].size;
  // Option 1 switches the sizing off: no particle reaches the limit.
  const double limit = analysis_option() == AnalysisOption::sizing_off ? 100000000.0 : 100.0;
  double esd = 0.0;
  if (summed_size >= limit) esd = evaluate_cubic(s.mep_cubic_b, static_cast<double>(summed_size));
  const int32_t step = s.mep_sorted[first].step;
  if (step > s.range_hi || !is_step(step)) return;
  count_sized_mep(step, esd);
}

void finish_mep_analysis() {
  Store& s = store;
  console::end_line();
  close_shape_file();
  console::line(" Finished MEPs  - File #" + text_field(s.file_number_text, 4) + "  Depths" +
                real_field(s.top_depth, 4, 0) + "-" + real_field(s.bottom_depth, 4, 0));
  // The report's mean length/diameter ratio is then 0 rather than undefined.
  if (s.mep_ld_count == 0) {
    s.mep_ld_count = 1.0;
    s.mep_ld_sum = 0;
  }
}

}  // namespace veka
