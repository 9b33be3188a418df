// Data report: the comma-separated result of one data file. Block by block:
// SEP(+MEP) totals, MEP-only totals, MEP rejects and shapes, the biomass
// spectrum with its fits (then the console summary is written), the step
// table, the diameter distributions binned by 25, 10 and 5 steps, and the
// counts in 1 mm bins. Lines end with CR LF.
//
// Reads   the run parameters and labels, range_lo/range_hi (steps),
//         range_low/range_high (clipped window), range_high_25, the totals
//         of the size classes (counts, counts per m2, biomass [mg],
//         areal biomass [mg/m2], printed per m2 in grams), the MEP tallies,
//         the spectrum channels, fits and residual analysis (densities
//         [ug/m3], ESDs [um], printed in mg/m3 and mm), report_profile,
//         ctd, range_conc, range_bio_conc, the binned tables,
//         sep_counts_by_mm, mep_mm_totals
// Writes  the report file only.
#include "report/data_report.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/format.h"
#include "common/rounding.h"
#include "report/report_fields.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

bool depth_profile() {
  return store.depth_mode == 1;
}

// "Depth range," in the depth modes, "Intervals range=,," over time.
std::string window_label() {
  return depth_profile() ? "Depth range," : "Intervals range=,,";
}

std::string mep_elements_cell() {
  return ",,,MEP elements(nm),," + int_field(store.mep_count, 12);
}

// Block A, first half: the heading and the SEP(+MEP) counts.
void write_sep_counts(TextOutput& report) {
  Store& s = store;
  if (depth_profile()) {
    report.line("SEP(+MEP) data,,Depth Profile " + int_field(s.range_lo, 4) + "-" +
                int_field(s.range_hi, 2) + " m     Sample Nos." + int_field(s.count_first, 5) +
                " -" + int_field(s.count_last, 5) + ",,,,,CTD Scanrate= " +
                real_field(s.ctd_scan_rate, 4, 1) + ",,CTD string: " + s.ctd_string + ",,,," +
                s.direction_label + "(" + int_field(argument_integer(7), 3) + "-" +
                int_field(text_integer(s.end_depth_text), 3) + "),,Smode" + int_field(s.smode, 2) +
                "," + s.speed_source_label + ",," + s.version_label + mep_elements_cell());
    report.line("Tot. cts," + real_field(s.total_counts, 12, 0) + ",,Areal cts (/m2)," +
                real_field(s.areal_counts, 12, 0) + ",,Water Vol," +
                real_field(s.total_volume, 8, 3) + ",m3,");
    report.line("Filt. cts," + real_field(s.filtered_counts, 12, 0) + ",,Areal cts," +
                real_field(s.filtered_areal_counts, 12, 0) + ",,Depth range," + step_window(2) +
                ",Diam.range," + diameter_window());
  } else {
    report.line("SEP(+MEP) data,,   Sample Cts=" + int_field(s.count_first, 5) + " - " +
                int_field(s.count_last, 5) + ",,,Intervals Range=,," + int_field(s.range_lo, 4) +
                "-" + int_field(s.range_hi, 2) + ",,Each Interval=" + real_field(s.dfctx, 7, 0) +
                " sec,,," + s.speed_source_label + ",, Smode" + int_field(s.smode, 2) + ",," +
                s.version_label + mep_elements_cell());
    report.line("Tot. cts," + real_field(s.total_counts, 12, 0));
    report.line("Filt. cts," + real_field(s.filtered_counts, 12, 0) + ",,,,,Interval range=,," +
                step_window(2) + ",Diam.range," + diameter_window());
  }
  report.line("Diam. bins," + diameter_ranges(2, ","));
  report.line("Binned cts," + range_values(s.range_counts, 12, 0, "", ",") + ",Sum," +
              real_field(s.range_counts_sum, 12, 0));
  if (depth_profile()) {
    report.line("Areal cts binned (/m2)," + range_values(s.range_areal_counts, 12, 0, "", ",") +
                ",Sum," + real_field(s.range_areal_counts_sum, 12, 0));
  } else {
    report.line("");
  }
  report.line("");
}

// Block A, second half: the SEP(+MEP) biomass.
void write_sep_biomass(TextOutput& report) {
  Store& s = store;
  if (depth_profile()) {
    report.line("Tot. biomass," + real_field(s.total_biomass, 12, 2) + " mg,,Areal biomass," +
                real_field(s.areal_biomass / 1000, 12, 1) + ", gm/m2,Water Vol," +
                real_field(s.total_volume, 8, 3) + ",m3,");
    report.line("Filt. biomass," + real_field(s.filtered_biomass, 12, 2) + " mg,,Areal biomass," +
                real_field(s.filtered_areal_biomass / 1000, 12, 1) + ", gm/m2,Depth range," +
                step_window(2) + ",Diam.range," + diameter_window());
  } else {
    report.line("Tot. biomass," + real_field(s.total_biomass, 12, 2));
    report.line("Filt. biomass," + real_field(s.filtered_biomass, 12, 2) +
                " mg,,,,,Intervals range=,," + step_window(2) + ",Diam.range," + diameter_window());
  }
  report.line("Diam. bins," + diameter_ranges(2, ","));
  report.line("Binned biomass," + range_values(s.range_biomass, 12, 2, "", ",") + " mg,Sum," +
              real_field(s.range_biomass_sum, 8, 1));
  if (depth_profile()) {
    report.line("Areal biomass binned" + range_values(s.range_areal_biomass, 12, 1, ",", "", 1000) +
                ", gms/m2,Sum," + real_field(s.range_areal_biomass_sum / 1000, 8, 1));
  } else {
    report.line("");
  }
}

// Block B: the multi-element particles on their own.
void write_mep_totals(TextOutput& report) {
  Store& s = store;
  report.line("");
  if (depth_profile()) {
    report.line("MEP data only,, Depth Profile " + int_field(s.range_lo, 4) + "-" +
                int_field(s.range_hi, 2) + " m");
  } else {
    report.line("MEP data,, Time Range " + int_field(s.range_lo, 4) + "-" +
                int_field(s.range_hi, 2) + " sec");
  }
  report.line("Tot. cts," + real_field(s.mep_total_counts, 12, 0) + ",");
  report.line("Filt. cts," + real_field(s.mep_filtered_counts, 12, 0) + ",,," + window_label() +
              step_window(6) + ",Diam.range," + diameter_window());
  report.line("Diam. bins," + diameter_ranges(2, ","));
  report.line("Binned cts," + range_values(s.mep_range_counts, 12, 0, "", ","));
  report.line("");
  report.line("Tot. biomass," + real_field(s.mep_total_biomass, 12, 2) + " mg,");
  report.line("Filt. biomass," + real_field(s.mep_filtered_biomass, 12, 2) + " mg,,," +
              window_label() + step_window(6) + ",Diam.range," + diameter_window());
  report.line("Diam. bins," + diameter_ranges(2, ","));
  report.line("Binned biomass," + range_values(s.mep_range_biomass, 12, 2, "", ",") + " mg,Sum," +
              real_field(s.mep_range_biomass_sum, 8, 1));
  if (depth_profile()) {
    report.line("Areal biomass binned," +
                range_values(s.mep_range_areal_biomass, 12, 2, "", ",", 1000) + " gms/m2,Sum," +
                real_field(s.mep_range_areal_biomass_sum / 1000, 8, 1));
  } else {
    report.line("");
  }
}

// Block C: rejects, large particles and the three shape classes.
void write_mep_shapes(TextOutput& report) {
  Store& s = store;
  report.line("MEP rejects," + int_field(s.mep_reject_count, 8));
  std::string large = "MEP cts>6mm -listed in 1mm steps starting with 6mm,";
  for (int i = 6; i <= 50; ++i) large += "," + int_field(s.mep_mm_counts[i], 5);
  report.line(large);
  report.line("MEP biomass(mg)>6mm esd,,," + real_field(s.mep_large_biomass, 8, 1) +
              ",,,MEP cts-strings(lengths)>35mm,,,," + int_field(s.mep_string_count, 5));
  report.line("");
  report.line("Shape Analyses MEPs,,");
  std::string classes;
  std::string counts = "Cts,";
  std::string biomass = "Biomass,";
  for (int c = 1; c <= 3; ++c) {
    if (c > 1) classes += ",,,,,";
    classes += "Length/Diam/(L/D)" + shape_bounds(s.shape_length_bounds, c) + "/" +
               shape_bounds(s.shape_diameter_bounds, c) + "/" +
               shape_bounds(s.shape_ratio_bounds, c);
    counts += real_field(s.shape_counts[c], 8, 0) + ",,,,,";
    biomass += real_field(s.shape_biomass[c], 8, 1) + ",,,,,";
  }
  report.line(classes);
  report.line(counts);
  report.line(biomass);
  report.line("");
}

// Spectrum channels as far as the tables reach.
int channel(int i) {
  return std::clamp(i, 0, kChannels);
}

// Mid-points of channels 2..nbss_bin_count between their edges.
std::string channel_midpoints(const double* bounds, int decimals) {
  std::string text;
  for (int i = 2; i <= channel(store.nbss_bin_count); ++i) {
    text += real_field(bounds[i] - (bounds[i] - bounds[i - 1]) / 2, 8, decimals) + ",";
  }
  return text;
}

// A curve over channels first..last whose values stand in the columns of
// the channel lines above it: nbss_first commas after the label.
template <typename Value>
std::string curve_line(const std::string& label, int first, int decimals, Value value) {
  std::string text = label + std::string(std::max(store.nbss_first, 0), ',');
  for (int i = channel(first); i <= channel(store.nbss_last); ++i) {
    text += real_field(value(i), 8, decimals) + ",";
  }
  return text;
}

double power_of_ten(double x) {
  return std::exp(2.30258509 * x);
}

// Block D: the normalised biomass size spectrum, its fits and residuals.
void write_spectrum(TextOutput& report) {
  Store& s = store;
  report.line("Biomass Spectra,,Mean Linear Slope=,," + real_field(s.linear_slope, 8, 2) +
              ", Y-intercept," + real_field(s.linear_intercept, 8, 2) + ", X-intercept" +
              real_field(s.linear_x_intercept, 8, 2) + ",,,Quadratic Fit,,Y-Vertex A," +
              real_field(s.quad_vertex_y, 8, 2) + ",X-Offset B," +
              real_field(s.quad_offset_x, 8, 2) + ",X-Intercept," +
              real_field(s.quad_x_intercept, 8, 2) + ",Curvature C," +
              real_field(s.quad_curvature, 8, 2));
  report.line("Size bins(u)- mid-pt,," + channel_midpoints(s.nbss_size_bounds, 1));
  report.line("Log Biomass bins (0.1 units ugm -mid-pt),," +
              channel_midpoints(s.nbss_log_bounds, 3));
  std::string values = "NBSS -Log. Norm.Biomass Size Spectra (ugm/m3 - delta(ugm)),,";
  for (int i = 2; i <= channel(s.nbss_bin_count); ++i) {
    values += real_field(s.nbss_values[i], 8, 3) + ",";
  }
  report.line(values);
  report.line(curve_line("Linear Fit NBSS", s.nbss_first, 2, [&s](int i) {
    return s.linear_slope * s.nbss_log_bounds[i] + s.linear_intercept;
  }));
  report.line(
      curve_line("MEP NBSS", s.nbss_first, 2, [&s](int i) { return s.mep_nbss_values[i]; }));
  report.line(curve_line("Linear MEP Fit", s.nbss_first, 2, [&s](int i) {
    return s.mep_linear_slope * s.nbss_log_bounds[i] + s.mep_linear_intercept;
  }));
  report.line(curve_line("Quadratic Fit -NBSS -Y", s.nbss_first, 1,
                         [&s](int i) { return s.nbss_quad_fit[i]; }));
  report.line(curve_line("Quadratic Base -NBSS -Y", s.nbss_base_first, 2,
                         [&s](int i) { return s.nbss_quad_base[i]; }));
  report.line(curve_line("Quadratic Residuals -NBSS -Y", s.nbss_base_first, 2,
                         [&s](int i) { return s.nbss_quad_residuals[i]; }));
  report.line(
      "Residuals Analyses,,Centroid ESD(um),,Centroid-X Log Biomass,,Resid:Total Prob.,,"
      "Dispersion Coeff.,Res:Base Prob.,,Residuals Biomass Density(mg/m3),,"
      "Total Biomass Density(mg/m3),,Residual:Total Ratio,,Disp./Total");
  report.line(
      ",," + real_field(s.centroid_esd, 8, 1) + ",," + real_field(s.centroid_log_biomass, 8, 2) +
      " (" + real_field(power_of_ten(s.centroid_log_biomass), 8, 1) + " ugm),," +
      real_field(s.resid_total_prob, 8, 3) + ",," + real_field(s.dispersion_coeff, 8, 2) + "," +
      real_field(quotient_or_zero(s.resid_base_num, s.resid_base_den), 8, 3) + ",," +
      real_field(s.residual_biomass_density / 1000, 8, 1) + ",," +
      real_field(s.total_biomass_density / 1000, 8, 2) + ",," +
      real_field(quotient_or_zero(s.residual_biomass_density, s.total_biomass_density), 8, 3) +
      ",," + real_field(s.disp_total, 8, 2) + ",," + real_field(s.base_mean_i, 8, 1) + "," +
      real_field(s.base_centroid / 1000, 8, 3) + "," +
      real_field((s.centroid_esd - s.base_centroid) / 1000, 8, 3));
  report.line("");
}

// Steps of the step table: 1 up to the deepest step rounded up to 25.
int table_steps() {
  return std::min<int>(store.range_high_25, kSteps);
}

// Block F: one row per step.
void write_step_table(TextOutput& report) {
  Store& s = store;
  const std::string columns =
      ",Samp. cts,Temp.,Cond.,Salinity,Analog#1,Analog#2,Analog#3,Analog#4,Analog#5,"
      "CTD Rate m/s,VEKA m/s, TI";
  if (depth_profile()) {
    report.line("Depth(m)" + columns +
                ",Tot. cts/m3,Cts/m3-diam,Cts/m3-diam,Cts/m3-diam,Cts/m3-diam,Cts/m3-diam,"
                "Tot.Biom/m3,Bio/m3-diam,Bio/m3-diam,Bio/m3-diam,Bio/m3-diam,Bio/m3-diam");
  } else {
    report.line("TimeIntervals" + columns +
                ",Tot. cts,Cts-diam,Cts-diam,Cts-diam,Cts-diam,Cts-diam,"
                "Tot.Biom,Bio-diam,Bio-diam,Bio-diam,Bio-diam,Bio-diam");
  }
  std::string units =
      s.smode == 0 ? "(" + real_field(s.dfctx, 5, 0) + " sec.),  (VEKA)" : ",  (CTD)";
  report.line(units + ",,,,,,,,,abs(m/s),,,," + diameter_ranges(2, ",") + ",microns" +
              diameter_ranges(2, ",") + ",ctd[13],ctd[12],ctd[21],H2O Vol/m");
  for (int i = 1; i <= table_steps(); ++i) {
    const double* row = s.report_profile[i];
    std::string line = int_field(i, 4) + ",";
    for (int j = kCtdScans; j <= kCtdAnalog5; ++j) {
      if (j != kCtdRate) line += real_field(row[j], 8, 2) + ",";
    }
    line += real_field(std::fabs(row[kCtdRate]), 8, 2) + "," + real_field(row[kCtdSpeed], 8, 2) +
            "," + real_field(s.ctd[i][kCtdInverseArea], 6, 1);
    line += "," + real_field(s.range_conc[i][10], 10, 0) +
            range_values(s.range_conc[i], 10, 0, ",", "");
    line += "," + real_field(s.range_bio_conc[i][10], 10, 1) +
            range_values(s.range_bio_conc[i], 10, 1, ",", "");
    line += ",," + real_field(s.ctd[i][kCtdInverseArea], 8, 1) + "," +
            real_field(s.ctd[i][kCtdMepParticles], 8, 0) + "," +
            real_field(s.ctd[i][kCtdOpacity], 8, 2) + "," + real_field(s.ctd[i][kCtdVolume], 10, 4);
    report.line(line);
  }
  report.line("");
}

// One diameter distribution of block G.
struct DistributionTable {
  const char* title;
  const char* depth_heading;
  const char* time_heading;
  double (*bins)[401];
  int width;      // steps per bin
  int bin_count;  // bins in the table; the row after them holds the totals
  const char* depth_label;
  const char* time_label;
  const char* time_unit;  // ends the bin range of a row over time
  int value_width;
  int value_decimals;
  const char* total_label;
  int total_width;
  bool ends_with_empty_line;
};

std::string class_heading() {
  std::string text = "micron bins,,";
  for (int d = 6; d <= 250; ++d) text += real_field(store.diameter_class_um[d], 6, 0) + ",";
  return text;
}

std::string class_values(const double* row, int width, int decimals) {
  std::string text;
  for (int d = 6; d <= 250; ++d) text += real_field(row[d], width, decimals) + ",";
  return text;
}

void write_distribution(TextOutput& report, const DistributionTable& table) {
  bool depth = depth_profile();
  report.line("");
  report.line(table.title);
  report.line(depth ? table.depth_heading : table.time_heading);
  report.line(class_heading());
  int rows = round_to_int(static_cast<double>(store.range_high_25) / table.width);
  rows = std::min(rows, table.bin_count);
  for (int k = 1; k <= rows; ++k) {
    report.line(std::string(depth ? table.depth_label : table.time_label) +
                int_field((k - 1) * table.width, 3) + "-" + int_field(k * table.width, 3) +
                (depth ? " m," : table.time_unit) +
                class_values(table.bins[k], table.value_width, table.value_decimals));
  }
  report.line("");
  if (depth) {
    report.line(class_heading());
    report.write(table.total_label + class_values(table.bins[table.bin_count + 1],
                                                  table.total_width, table.value_decimals));
  } else {
    report.line("");
  }
  report.end_line();
  if (table.ends_with_empty_line) report.line("");
}

// Block G: biomass by 25 steps, counts by 25, 10 and 5 steps.
void write_distributions(TextOutput& report) {
  Store& s = store;
  const char* biomass_title = "Biomass-Diameter Distribution SEP&MEP Zoopl.";
  const char* counts_title = "Counts-Diameter Distribution SEP&MEP Zoopl.";
  const DistributionTable tables[] = {
      {biomass_title, "Mean biomass/m3 for each 25m bin",
       "Mean biomass for bins of 25 Time Intervals", s.biomass_bins_25, 25, 20, "mg/m3,", "mg,",
       " sec,", 7, 2, "sum bins mg/m2,,", 7, true},
      {counts_title, "Mean cts/m3 for each 25m bin", "Mean cts for bins of 25 Time Intervals",
       s.count_bins_25, 25, 20, "cts/m3,", "cts,", " ,", 6, 0, "sum bins cts/m2,,", 7, true},
      {counts_title, "Mean cts/m3 for each 10m bin", "Mean cts for bins of 10 Time Intervals",
       s.count_bins_10, 10, 50, "cts/m3,", "cts,", " ,", 6, 0, "sum bins cts/m2,,", 7, true},
      {counts_title, "Mean cts/m3 for each 5m bin", "Mean cts/m3 for bins of 5 Time Intervals",
       s.count_bins_5, 5, 100, "cts/m3,", "cts,", " ,", 6, 0, "sum bins cts/m2,,", 7, false},
  };
  for (const DistributionTable& table : tables) write_distribution(report, table);
}

// Block H: single- and multi-element counts per 1 mm of diameter.
void write_millimetre_bins(TextOutput& report) {
  Store& s = store;
  std::string columns = "Bins 1-35mm  - steps of 1mm starting with 0-1mm,,,";
  std::string sep = "SEP cts,,,";
  std::string mep = "MEP cts,,,";
  std::string both = "Sum SEP+MEP cts,,,";
  int64_t sep_total = 0;
  int64_t mep_total = 0;
  for (int i = 1; i <= 35; ++i) {
    int64_t sep_count = s.sep_counts_by_mm[i];
    int64_t mep_count = s.mep_mm_totals[i];
    columns += int_field(i, 2) + ",";
    sep += int_field(sep_count, 5) + ",";
    mep += int_field(mep_count, 5) + ",";
    both += int_field(sep_count + mep_count, 5) + ",";
    sep_total += sep_count;
    mep_total += mep_count;
  }
  report.line(columns);
  report.line(sep);
  report.line(mep);
  report.line(both);
  report.line("");
  report.line("Total SEP cts,," + int_field(sep_total, 6) + ",Total MEP cts,," +
              int_field(mep_total, 6) + ",,Total SEP+MEP cts,,," +
              int_field(sep_total + mep_total, 5));
  report.line("");
}

}  // namespace

std::string data_report_name() {
  return store.output_base_name + "_Data.csv";
}

void write_report_totals(TextOutput& report) {
  write_sep_counts(report);
  write_sep_biomass(report);
  write_mep_totals(report);
  write_mep_shapes(report);
  write_spectrum(report);
}

void write_report_tables(TextOutput& report) {
  write_step_table(report);
  write_distributions(report);
  write_millimetre_bins(report);
}

}  // namespace veka
