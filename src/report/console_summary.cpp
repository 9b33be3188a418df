// Console summary: the figures of the data report's SEP(+MEP), MEP-only and
// shape blocks, laid out with blanks for the operator following a batch.
//
// Reads   the labels and modes of the run, range_lo/range_hi, the clipped
//         range_low/range_high, the size-class totals (biomass [mg], areal
//         biomass [mg/m2] printed in g/m2), the MEP tallies, shape counts,
//         mep_ld_sum/mep_ld_count, the residual analysis (ESDs [um])
// Writes  the console only; the last line has no line end.
#include "report/console_summary.h"

#include "common/console.h"
#include "common/format.h"
#include "report/report_fields.h"
#include "store/store.h"

namespace veka {

namespace {

bool depth_profile() {
  return store.depth_mode == 1;
}

// How the SEP(+MEP) and MEP blocks lay out their binned biomass lines.
struct BinnedLayout {
  const char* bin_gap;      // after each diameter bin
  int width;                // of each bin's value
  const char* areal_label;  // before the areal sum
  int areal_sum_width;
};

// The biomass per reporting range with its sum, then, in the depth modes,
// the areal biomass per range and its sum in g/m2 (a blank line otherwise).
void write_binned_biomass(const double* biomass, double sum, const double* areal, double areal_sum,
                          const BinnedLayout& layout) {
  console::line("Diam. bins      " + diameter_ranges(2, layout.bin_gap));
  console::line("Binned biomass" + range_values(biomass, layout.width, 1, "", "") + " mg     Sum" +
                real_field(sum, 8, 1));
  if (!depth_profile()) {
    console::line("");
    return;
  }
  console::line("Areal biomass " + range_values(areal, layout.width, 1, "", "", 1000) +
                layout.areal_label + real_field(areal_sum / 1000, layout.areal_sum_width, 1));
}

void write_sep_counts() {
  Store& s = store;
  if (depth_profile()) {
    console::line("SEP(+MEP)data Depth Profile" + int_field(s.range_lo, 4) + "-" +
                  int_field(s.range_hi, 2) + "m" + s.speed_source_label + " Smode" +
                  int_field(s.smode, 2));
    console::line("Tot. cts  " + real_field(s.total_counts, 8, 0) + "  Areal cts (/m2)" +
                  real_field(s.areal_counts, 9, 0) + "  Water Vol" +
                  real_field(s.total_volume, 8, 3) + "m3");
    console::line("Filt. cts " + real_field(s.filtered_counts, 8, 0) + "  Areal cts" +
                  real_field(s.filtered_areal_counts, 9, 0) + "  Depth range" + step_window(2) +
                  "Diam.range" + diameter_window());
  } else {
    console::line("SEP(+MEP)data Intervals Range" + int_field(s.range_lo, 4) + "-" +
                  int_field(s.range_hi, 2) + "sec, Sample Cts" + int_field(s.count_first, 4) +
                  " - " + int_field(s.count_last, 4) + s.speed_source_label + " Smode" +
                  int_field(s.smode, 2));
    console::line("Tot. cts  " + real_field(s.total_counts, 8, 0) + ",   Water Vol" +
                  real_field(s.total_volume, 8, 3) +
                  "m3     Interval=" + real_field(s.dfctx, 5, 0) + " sec");
    console::line("Filt. cts " + real_field(s.filtered_counts, 8, 0) +
                  "  Intervals range=" + step_window(2) + "  Diam.range" + diameter_window());
  }
  console::line("Diam. bins      " + diameter_ranges(2, "  "));
  console::line("Binned cts    " + range_values(s.range_counts, 9, 0, "", "") + "    Sum" +
                real_field(s.range_counts_sum, 10, 0));
  if (depth_profile()) {
    console::line("Areal cts bins (/m2)" + range_values(s.range_areal_counts, 9, 0, "", "") +
                  "    Sum" + real_field(s.range_areal_counts_sum, 10, 0));
  }
}

void write_sep_biomass() {
  Store& s = store;
  if (depth_profile()) {
    console::line("Tot. biomass  " + real_field(s.total_biomass, 6, 1) + " mg  Areal biomass" +
                  real_field(s.areal_biomass / 1000, 10, 1) + " gm/m2 Water Vol" +
                  real_field(s.total_volume, 8, 3) + " m3");
    console::line("Filt. biomass " + real_field(s.filtered_biomass, 6, 1) + " mg Areal biomass" +
                  real_field(s.filtered_areal_biomass / 1000, 6, 1) + " gm/m2Depths" +
                  step_window(2) + "Diams" + diameter_window());
  } else {
    console::line("Tot. biomass  " + real_field(s.total_biomass, 6, 1) + " mg   Water Vol" +
                  real_field(s.total_volume, 8, 3) + " m3");
    console::line("Filt. biomass " + real_field(s.filtered_biomass, 6, 1) +
                  " mgIntervals Range=" + step_window(2) + "   Diams" + diameter_window());
  }
  write_binned_biomass(s.range_biomass, s.range_biomass_sum, s.range_areal_biomass,
                       s.range_areal_biomass_sum, {"  ", 9, "  gms/m2 Sum", 8});
}

void write_mep_totals() {
  Store& s = store;
  std::string window_label;
  if (depth_profile()) {
    console::line("MEP data  Depth Profile " + int_field(s.range_lo, 4) + "-" +
                  int_field(s.range_hi, 2) + " m");
    window_label = "  Depth range";
  } else {
    console::line("MEP data-Intervals Range=" + int_field(s.range_lo, 4) + "-" +
                  int_field(s.range_hi, 2));
    window_label = "  Intervals Range=";
  }
  console::line("Tot. cts" + real_field(s.mep_total_counts, 12, 0));
  console::line("Filt. cts   " + real_field(s.mep_filtered_counts, 8, 0) + window_label +
                step_window(6) + "  Diam.range" + diameter_window());
  console::line("Diam. bins      " + diameter_ranges(3, " "));
  console::line("Binned cts    " + range_values(s.mep_range_counts, 8, 0, "", ""));
  console::line("Tot. biomass   " + real_field(s.mep_total_biomass, 8, 2) + " mg");
  console::line("Filt. biomass  " + real_field(s.mep_filtered_biomass, 8, 2) + " mg" +
                window_label + step_window(6) + "  Diam.range" + diameter_window());
  write_binned_biomass(s.mep_range_biomass, s.mep_range_biomass_sum, s.mep_range_areal_biomass,
                       s.mep_range_areal_biomass_sum, {" ", 8, " gms/m2 Sum", 7});
}

void write_shapes_and_spectrum() {
  Store& s = store;
  std::string biomass;
  for (int c = 1; c <= 3; ++c) biomass += real_field(s.shape_biomass[c], 6, 1);
  console::line("Shape - Cts" + real_field(s.shape_counts[1], 4, 0) +
                real_field(s.shape_counts[2], 5, 0) + real_field(s.shape_counts[3], 5, 0) +
                " Biomass" + biomass + " CorBio" +
                real_field(s.range_biomass_sum - s.range_biomass[1] - s.shape_biomass[1], 5, 0) +
                " L/D" + real_field(quotient_or_zero(s.mep_ld_sum, s.mep_ld_count), 5, 2));
  console::write("MEP rejects" + int_field(s.mep_reject_count, 8) + "  NBSS" +
                 real_field(s.centroid_esd, 6, 1) + real_field(s.resid_total_prob, 6, 2) +
                 real_field(s.dispersion_coeff, 6, 2) + real_field(s.base_centroid, 6, 1) +
                 real_field(s.centroid_esd - s.base_centroid, 8, 1) +
                 int_field(s.base_centroid_class, 4));
}

}  // namespace

void write_console_summary() {
  write_sep_counts();
  write_sep_biomass();
  write_mep_totals();
  write_shapes_and_spectrum();
}

}  // namespace veka
