// Multi-element analysis: takes the particles that the sort grouped,
// normalises their times and element numbers, selects the particles worth
// analysing, chooses each one's transit count S (time counts per millimetre
// along the flow), gathers the opacity of its long inner elements, and then
// has it drawn, measured, placed in the shape picture and sized.
//
// Reads   mep_sorted, mep_count, exp_fl [counts], set_flow, unit_factor_g,
//         flow_lines, ctd[k][kCtdFlowCount], ctd[k][kCtdFlowTime],
//         mep_max_elements, mep_span_factor, mep_span_limit, transit_blend_weight,
//         transit_band_low/high, opacity_duration_factor,
//         mean_inverse_area_limit, arguments 60 and 61
// Writes  mep_sorted time and element (normalised per particle),
//         previous_transit_count, mep_transit_count, mep_mean_opacity,
//         mep_mean_inverse_area [1/mm2], mep_opacity_elements,
//         ctd[k] columns kCtdMepParticles, kCtdInverseArea and kCtdOpacity
//         (sums); through geometry, picture and sizing everything they
//         write; console progress.
#include "mep/analysis.h"

#include <algorithm>

#include "common/console.h"
#include "common/format.h"
#include "mep/geometry.h"
#include "mep/shape_picture.h"
#include "mep/sizing.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kOpacityScale = 3800.0;

// Differences of values from the data; absurd ones wrap instead of overflowing.
int32_t difference(int32_t value, int32_t origin) {
  return static_cast<int32_t>(static_cast<uint32_t>(int64_t{value} - origin));
}

// Times start at 0 and element numbers at 0 within each particle; returns
// the largest size met.
int32_t normalise_particles(int32_t n) {
  int32_t largest_size = 0;
  int32_t p = 1;
  while (p < n) {
    const int32_t c = store.mep_sorted[p].element_count;
    SortedMepElement* records = &store.mep_sorted[p];
    int32_t earliest = records[0].time;
    for (int32_t i = 0; i < c; ++i) earliest = std::min(earliest, records[i].time);
    const int32_t first_element = records[0].element;
    for (int32_t i = 0; i < c; ++i) {
      records[i].time = difference(records[i].time, earliest);
      if (records[i].element != -1)
        records[i].element = difference(records[i].element, first_element);
      largest_size = std::max(largest_size, records[i].size);
    }
    p += c;
  }
  return largest_size;
}

bool passes_span_test() {
  Store& s = store;
  const int32_t first = s.particle_first_record;
  int32_t span = s.mep_sorted[first].time + s.mep_sorted[first].duration;
  for (int32_t i = first + 1; i < first + s.particle_element_count; ++i) {
    span = std::max(span, s.mep_sorted[i].time + s.mep_sorted[i].duration);
  }
  s.particle_span = span;
  // Without an expected transit count no particle can be measured.
  if (s.exp_fl == 0.0) return false;
  return !(span / s.exp_fl > s.mep_span_factor * s.mep_span_limit);
}

bool passes_opacity_test() {
  double g = argument_real(61);
  const bool limited = analysis_option() == AnalysisOption::opacity_limit;
  if (g == 0 && limited) g = 2.0;
  return !(limited && store.mep_mean_opacity > g);
}

bool passes_inverse_area_test() {
  return !(store.mep_mean_inverse_area >= store.mean_inverse_area_limit);
}

// The selection, drawing, placement and sizing of the particle of records
// p..p+c-1; false when it is not analysed.
bool analyse_particle(int32_t p, int32_t c) {
  Store& s = store;
  if (c > s.mep_max_elements || c <= 2 || s.mep_sorted[p].element == -1) return false;
  s.particle_first_record = p;
  s.particle_element_count = c;
  enter_particle_into_batch();
  // A particle dropped below leaves nothing behind for the next one.
  clear_particle_state();
  if (!passes_span_test()) return false;
  choose_transit_count();
  gather_inner_statistics();
  if (!passes_opacity_test() || !passes_inverse_area_test()) return false;
  draw_particle_blocks();
  compute_shape_metrics();
  place_particle_in_picture();
  size_mep();
  return true;
}

}  // namespace

void choose_transit_count() {
  Store& s = store;
  double transit = s.exp_fl;
  if (s.set_flow != 0) {
    transit = s.previous_transit_count;
    const int32_t step = s.mep_sorted[s.particle_first_record].step;
    if (is_step(step) && s.flow_lines[step] != 0) {
      const double measured =
          s.ctd[step][kCtdFlowTime] / s.ctd[step][kCtdFlowCount] / s.unit_factor_g;
      const double weight = s.transit_blend_weight;
      transit = (1 - weight) * s.previous_transit_count + weight * measured;
      if (s.exp_fl * s.transit_band_low > measured || s.exp_fl * s.transit_band_high < measured) {
        transit = s.previous_transit_count;
      }
    }
  }
  s.mep_transit_count = transit;
  s.previous_transit_count = transit;
}

void gather_inner_statistics() {
  Store& s = store;
  const int32_t first = s.particle_first_record;
  const int32_t last = first + s.particle_element_count - 1;
  const double long_enough = s.opacity_duration_factor * s.mep_transit_count;
  s.mep_opacity_elements = 0;
  for (int32_t i = first + 1; i < last; ++i) {
    const SortedMepElement& r = s.mep_sorted[i];
    if (!(r.duration > long_enough)) continue;
    s.opacity_sum += r.size / kOpacityScale;
    s.inverse_area_sum += 1 / element_area(r.size);
    ++s.mep_opacity_elements;
  }
  const int32_t m = s.mep_opacity_elements;
  s.mep_mean_opacity = m > 0 ? s.opacity_sum / m : 0.0;
  s.mep_mean_inverse_area = m > 0 ? s.inverse_area_sum / m : 0.0;
  const int32_t step = s.mep_sorted[first + 1].step;
  if (m > 0 && is_step(s.mep_sorted[first].step) && is_step(step)) {
    s.ctd[step][kCtdInverseArea] += s.mep_mean_inverse_area;
    s.ctd[step][kCtdMepParticles] += 1;
    s.ctd[step][kCtdOpacity] += s.mep_mean_opacity;
  }
}

void analyse_meps() {
  Store& s = store;
  const int32_t n = s.mep_count;
  open_shape_file();
  console::line("Print diameters MEPs");
  s.previous_transit_count = s.exp_fl;
  s.drawn_particle_count = 0;
  const int32_t largest_size = normalise_particles(n);
  console::line("Max. size in multi-elem" + int_field(largest_size, 6));
  console::line("Write to data file at bug count");
  int32_t p = 1;
  while (p < n) {
    const int32_t c = s.mep_sorted[p].element_count;
    const bool analysed = analyse_particle(p, c);
    p += c;
    if (!analysed) {
      clear_batch();
    } else if (p >= n || particle_overflows_batch(p)) {
      write_out_batch();
    }
  }
  finish_mep_analysis();
}

}  // namespace veka
