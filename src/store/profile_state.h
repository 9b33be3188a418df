// State of the profile processing: volumes, biomass, the size spectrum with
// its fits, the transmission correction and the size-class totals.
#pragma once

#include <cstdint>

namespace veka {

struct ProfileState {
  int32_t stst;         // zero filling: scan limit of the leading run
  double total_volume;  // [m3]

  // Biomass and spectra; channels [1..68].
  int32_t nbss_bin_count;
  double biomass_density[1101];  // [ug/m3]
  double mep_biomass_density[1101];
  double tot_volume;            // [m3] summed over the profile by the biomass stage
  double nbss_size_bounds[69];  // upper ESD edge of each channel [um]
  double channel_delta_ug[69];  // [ug]
  double nbss_log_bounds[69];   // log10 ug
  double channel_biomass[69];   // [ug/m3]
  double mep_channel_biomass[69];
  double nbss_values[69];
  double mep_nbss_values[69];
  int32_t nbss_first;
  int32_t nbss_last;
  int32_t first_empty_channel;

  // Fits and residual analysis.
  double linear_slope;
  double linear_intercept;
  double linear_x_intercept;
  double linear_recycles;
  double par_recycles;
  double mep_linear_slope;
  double mep_linear_intercept;
  double quad_vertex_y;
  double quad_offset_x;
  double quad_curvature;
  double quad_best_vertex_y;
  double quad_best_offset_x;
  double quad_best_curvature;
  double quad_x_intercept;
  int32_t nbss_base_first;
  int32_t quad_last;
  int32_t nbss_base_last;
  double nbss_quad_fit[69];
  double nbss_quad_base[69];
  double nbss_quad_residuals[69];
  double norm_nbss[69];
  double norm_base[69];
  double resid[69];
  double base_top;
  double base_sum;
  double base_mean_i;
  double base_centroid;  // [um]
  int32_t base_centroid_class;
  double centroid_log_biomass;
  double mean_i;
  double centroid_esd;  // [um]
  double resid_total_prob;
  double resid_base_num;
  double resid_base_den;
  double resid_sum;      // = resid_base_num, as the reports name it
  double norm_base_sum;  // = resid_base_den
  double mean_resid;
  double dispersion;
  double peak_width_um;
  double total_biomass_density;  // [ug/m3]
  double base_biomass_density;
  double residual_biomass_density;
  double disp_esd;
  double dispersion_coeff;
  double disp_total;

  // Transmission correction.
  double trans_delta_nbss;
  int32_t trans_empty_channels;
  double trans_correction;

  // Size-class totals; ranges [1..5] of a row of 10, entry 10 = 100..2500 um.
  double range_step_counts[501][11];
  double range_step_biomass[501][11];
  double range_conc[501][11];
  double range_bio_conc[501][11];
  double range_counts[6];
  double range_counts_sum;
  double range_areal_counts[6];
  double range_areal_counts_sum;
  double range_biomass[6];
  double range_biomass_sum;
  double range_areal_biomass[6];
  double range_areal_biomass_sum;
  double areal_biomass_100_2500;
  double mep_areal_biomass_100_2500;
  double mep_total_counts;
  double mep_total_biomass;
  double mep_opaque_areal_counts;
  double mep_range_counts[6];
  double mep_range_areal_counts[6];
  double mep_range_biomass[6];
  double mep_range_biomass_sum;
  double mep_range_areal_biomass[6];
  double mep_range_areal_biomass_sum;
  double total_counts;
  double areal_counts;
  double total_biomass;
  double areal_biomass;
  double filtered_counts;
  double filtered_areal_counts;
  double filtered_biomass;
  double filtered_areal_biomass;
};

}  // namespace veka
