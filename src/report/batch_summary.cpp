// Batch summary: one line per data file so that a cruise can be compared in
// a spreadsheet. The first data file of a run creates the file and writes
// the heading; later files append (common/run_file.h).
//
// Reads   arguments 2, 3, 9 (name), 60 and 61 (analysis option), the
//         residual analysis (ESDs [um], densities [ug/m3] printed in mm and
//         mg/m3), areal biomass [ug/m2] printed in mg/m2, shape counts,
//         counts per range, volumes [m3], fits, the transmission
//         correction, report_profile, sum_chl, sample_record_count
// Writes  batch_started; trans_correction becomes 1 - itself when
//         argument 60 is -3.
#include "report/batch_summary.h"

#include <vector>

#include "common/format.h"
#include "report/report_fields.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

std::string heading_line() {
  Store& s = store;
  return "Depth Range,File#,Max.Depth,Centr(esd),Disp:Centr.,Disp:Tot.,Resid.:Tot.,"
         "Resid.:Base,Mean I,Resid.Biomass(mg/m3),Tot.Biomass(mg/m3),Res.:Tot,BaseMean I,"
         "Base Centroid,Diff. Resd.-Base Centroid,ArealBiomass(mg/m2 -100-2500um),"
         "ArealBiom.MEP(100-2000um),D" +
         shape_bounds(s.shape_diameter_bounds, 3) + ",R " + shape_bounds(s.shape_ratio_bounds, 3) +
         ",L " + shape_bounds(s.shape_length_bounds, 3) + ",ESD" + diameter_ranges(4, "/") +
         ",,,,,Water Vol.m3,MEP ESD" + ",,,,,Tot./m2" + diameter_ranges(4, "/") + ",,,,,MEPs/m2" +
         ",,,,,6-15mm)" +
         ",Lin.Slope,Y-intercept,X-intercept,Lin.Recycles n,Par.Recycles n,Quad.Y-Vertex,"
         "X-Offset,X-Int.,Curvature," +
         "Trans.Lim.,Delta NBSS,Trans.Corr.," + ",ESD" + diameter_ranges(4, "/") +
         ",,,,,MEP>6mm,MEP_AI>0.5,Tot. Vol.,ctd[1],SumChl,Cum.Time-sec.10kts=,0.0046,km/sec.";
}

void add_range_fields(std::vector<std::string>& fields, const double* values, int width) {
  for (int r = 1; r <= 5; ++r) fields.push_back(real_field(values[r], width, 0));
}

// Sample count of the step after the first one of the profile; 0 when that
// step lies outside the arrays.
double second_step_samples() {
  int step = store.range_lo + 1;
  return is_step(step) ? store.report_profile[step][kCtdScans] : 0.0;
}

std::string data_line() {
  Store& s = store;
  std::vector<std::string> fields = {
      int_field(s.range_lo, 4) + "-" + int_field(s.range_hi, 4),
      int_field(s.file_number, 3),
      int_field(s.range_hi, 4),
      real_field(s.centroid_esd / 1000, 8, 3),
      real_field(s.dispersion_coeff, 8, 2),
      real_field(s.disp_total, 8, 2),
      real_field(s.resid_total_prob, 8, 2),
      real_field(quotient_or_zero(s.resid_base_num, s.resid_base_den), 8, 2),
      real_field(s.mean_i, 8, 2),
      real_field(s.residual_biomass_density / 1000, 8, 1),
      real_field(s.total_biomass_density / 1000, 8, 2),
      real_field(quotient_or_zero(s.residual_biomass_density, s.total_biomass_density), 8, 2),
      real_field(s.base_mean_i, 8, 1),
      real_field(s.base_centroid / 1000, 8, 3),
      real_field((s.centroid_esd - s.base_centroid) / 1000, 8, 3),
      real_field(s.areal_biomass_100_2500 / 1000, 8, 1),
      real_field(s.mep_areal_biomass_100_2500 / 1000, 8, 1),
  };
  for (int c = 1; c <= 3; ++c) fields.push_back(real_field(s.shape_counts[c], 4, 0));
  add_range_fields(fields, s.range_counts, 8);
  fields.push_back(real_field(s.total_volume, 8, 4));
  add_range_fields(fields, s.mep_range_counts, 8);
  add_range_fields(fields, s.range_areal_counts, 8);
  add_range_fields(fields, s.mep_range_areal_counts, 8);
  fields.push_back(real_field(s.mep_opaque_areal_counts, 8, 1));
  for (double fit :
       {s.linear_slope, s.linear_intercept, s.linear_x_intercept, s.linear_recycles, s.par_recycles,
        s.quad_vertex_y, s.quad_offset_x, s.quad_x_intercept, s.quad_curvature}) {
    fields.push_back(real_field(fit, 8, 2));
  }
  fields.push_back(real_field(argument_real(61), 3, 2) + "(" +
                   int_field(static_cast<int32_t>(analysis_option()), 3) + ")");
  fields.push_back(real_field(s.trans_delta_nbss, 8, 2));
  fields.push_back(real_field(s.trans_correction, 8, 2));
  add_range_fields(fields, s.range_areal_counts, 12);
  fields.push_back(int_field(s.mep_over_6mm_count, 8));
  fields.push_back(real_field(s.mep_opaque_areal_counts, 8, 0));
  fields.push_back(real_field(s.tot_volume, 10, 4));
  fields.push_back(real_field(second_step_samples(), 8, 2));
  fields.push_back(real_field(s.sum_chl, 10, 0));
  fields.push_back(real_field(s.sample_record_count / 2, 10, 0));
  std::string line = fields[0];
  for (size_t i = 1; i < fields.size(); ++i) line += "," + fields[i];
  return line;
}

}  // namespace

std::string batch_summary_name() {
  return argument_text(3) + "a_Batch_" + argument_text(2) + "_" + argument_text(9) + ".csv";
}

void write_batch_summary_line() {
  Store& s = store;
  if (analysis_option() == AnalysisOption::transmission_complement)
    s.trans_correction = 1 - s.trans_correction;
  bool afresh = s.batch_started == 0;
  std::string lines;
  if (afresh) {
    s.batch_started = 1;
    lines = heading_line() + "\r\n";
  }
  lines += data_line() + "\r\n";
  s.batch_summary_file.add(batch_summary_name(), lines, afresh);
}

}  // namespace veka
