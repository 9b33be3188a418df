// Residual analysis: compares the spectrum over nbss_base_first..nbss_last
// with the fixed base parabola 3.8 - 0.24 (x + 1.1)^2, both shifted so the
// base is 0 at the last channel and normalised to a base sum of 1, and
// describes the part of the spectrum above the base: its centroid (in log
// biomass, channel coordinates and ESD), its share of the total, the spread
// of its peak channels and the biomass densities it stands for.
//
// Reads   nbss_values, nbss_log_bounds (x), nbss_size_bounds (e),
//         channel_delta_ug [ug], nbss_base_first, nbss_base_last
// Writes  base_top, base_sum, norm_base, norm_nbss, resid, nbss_quad_base,
//         nbss_quad_residuals, base_mean_i, base_centroid [um],
//         base_centroid_class, resid_base_num (resid_sum), resid_base_den
//         (norm_base_sum), mean_resid, centroid_log_biomass, mean_i,
//         centroid_esd [um], resid_total_prob, dispersion, peak_width_um,
//         total_biomass_density, base_biomass_density,
//         residual_biomass_density [ug/m3], disp_esd, dispersion_coeff,
//         disp_total
#include <algorithm>
#include <cmath>

#include "common/rounding.h"
#include "profile/nbss_channels.h"
#include "profile/nbss_fits.h"
#include "store/store.h"

namespace veka {

namespace {

double base_at(double x) {
  return parabola(3.8, -1.1, -0.48, x);
}

// Channel holding the channel coordinate `ch` (the middle of channel i is
// i - 0.5), as the index m of its lower edge, kept to the edge table.
int32_t edge_index(double ch, double rounding_offset) {
  int32_t m = round_to_int(ch + rounding_offset) - 1;
  return std::min<int32_t>(std::max<int32_t>(m, 1), kChannels - 1);
}

// ESD [um] at a channel coordinate, linear between the channel's edges.
double esd_at(double ch, int32_t m) {
  const double* e = store.nbss_size_bounds;
  return e[m] + (ch - m) * (e[m + 1] - e[m]);
}

double esd_at(double ch) {
  return esd_at(ch, edge_index(ch, 0.5));
}

void normalise() {
  Store& s = store;
  const double* x = s.nbss_log_bounds;
  s.base_top = base_at(x[s.nbss_base_last]);
  s.base_sum = 0.0;
  for (int32_t i = s.nbss_base_first; i <= s.nbss_base_last; ++i) {
    s.base_sum += base_at(x[i]) - s.base_top;
  }
  for (int32_t i = s.nbss_base_first; i <= s.nbss_base_last; ++i) {
    // A base without extent normalises nothing.
    s.norm_base[i] = 0.0;
    s.norm_nbss[i] = 0.0;
    if (s.base_sum != 0) {
      s.norm_base[i] = (base_at(x[i]) - s.base_top) / s.base_sum;
      s.norm_nbss[i] = (s.nbss_values[i] - s.base_top) / s.base_sum;
    }
    // The spectrum is never taken below the base.
    if (s.nbss_values[i] == kEmptyChannel || s.norm_nbss[i] < 0 ||
        s.norm_nbss[i] < s.norm_base[i]) {
      s.norm_nbss[i] = s.norm_base[i];
    }
    s.resid[i] = s.norm_nbss[i] - s.norm_base[i];
    s.nbss_quad_base[i] = s.norm_base[i] * s.base_sum + s.base_top;
    s.nbss_quad_residuals[i] = s.resid[i] * s.base_sum;
  }
}

void locate_base_centre() {
  Store& s = store;
  s.base_mean_i = (s.nbss_base_last - s.nbss_base_first) / 2.0 + (s.nbss_base_first - 0.5);
  int32_t m = edge_index(s.base_mean_i, 0.51);
  s.base_centroid = esd_at(s.base_mean_i, m);
  s.base_centroid_class = m + 1;
}

// Returns the sum of the normalised spectrum.
double sum_residuals() {
  Store& s = store;
  double nbss_sum = 0.0;
  s.resid_base_den = 0.0;
  s.resid_base_num = 0.0;
  for (int32_t i = s.nbss_base_first; i <= s.nbss_base_last; ++i) {
    nbss_sum += s.norm_nbss[i];
    s.resid_base_den += s.norm_base[i];
    s.resid_base_num += s.resid[i];
  }
  s.resid_sum = s.resid_base_num;
  s.norm_base_sum = s.resid_base_den;
  s.mean_resid = s.resid_base_num / (s.nbss_base_last - s.nbss_base_first + 1);
  return nbss_sum;
}

// A spectrum wholly on the base has no centroid: its sums are taken as 1.
void locate_centroid(double nbss_sum) {
  Store& s = store;
  const double* x = s.nbss_log_bounds;
  double cx = 0.0, sr = 0.0, cc = 0.0, sc = 0.0;
  for (int32_t i = s.nbss_base_first; i <= s.nbss_base_last; ++i) {
    double r = s.resid[i];
    cx += (x[i] - (x[i] - x[i - 1]) / 2) * r;
    sr += r;
    if (r > -1.0) {
      cc += (i - 0.5) * r;
      sc += r;
    }
  }
  if (sr == 0) sr = 1.0;
  if (sc == 0) sc = 1.0;
  s.centroid_log_biomass = cx / sr;
  s.resid_total_prob = nbss_sum == 0 ? 0.0 : s.resid_base_num / nbss_sum;
  s.mean_i = cc / sc;
  s.centroid_esd = esd_at(s.mean_i);
}

// Spread, in channels, of the channels whose residual stands out above the
// mean residual, and their residual-weighted width.
void measure_peak() {
  Store& s = store;
  const double* e = s.nbss_size_bounds;
  double pw = 0.0, pr = 0.0, np = 0.0, dv = 0.0;
  for (int32_t i = s.nbss_base_first; i <= s.nbss_base_last; ++i) {
    if (!(s.resid[i] > 1.2 * s.mean_resid)) continue;
    pw += (e[i] - e[i - 1]) * s.resid[i];
    pr += s.resid[i];
    np += 1;
    dv += (i - s.mean_i) * (i - s.mean_i);
  }
  if (pr == 0) pr = 1.0;
  if (dv != 0) s.dispersion = std::sqrt(dv / np);
  if (np == 0) {
    np = 1;
    s.dispersion = 0;
    pr = 1.0;
  }
  s.peak_width_um = pw / pr;
}

void sum_biomass_densities() {
  Store& s = store;
  s.total_biomass_density = 0.0;
  s.base_biomass_density = 0.0;
  for (int32_t i = s.nbss_base_first; i <= s.nbss_base_last; ++i) {
    s.total_biomass_density += std::exp(kLn10 * s.nbss_values[i]) * s.channel_delta_ug[i];
    s.base_biomass_density += std::exp(kLn10 * s.norm_base[i]) * s.channel_delta_ug[i];
  }
  s.residual_biomass_density = s.total_biomass_density - s.base_biomass_density;
}

void measure_dispersion_range() {
  Store& s = store;
  const double* e = s.nbss_size_bounds;
  double ch_lo = s.mean_i - s.dispersion;
  if (ch_lo < 3) ch_lo = 3;
  double ch_hi = s.mean_i + s.dispersion;
  if (ch_hi > 50) ch_hi = 50;
  double esd_lo = esd_at(ch_lo);
  double esd_hi = esd_at(ch_hi);
  if (s.centroid_esd == 0) s.centroid_esd = 1.0;
  s.disp_esd = ((s.centroid_esd - esd_lo) + (esd_hi - s.centroid_esd)) / 2;
  s.dispersion_coeff = s.disp_esd / s.centroid_esd;
  double span = e[s.nbss_base_last] - e[s.nbss_base_first];
  s.disp_total = span == 0 ? 0.0 : s.disp_esd / span;
}

}  // namespace

void analyse_residuals() {
  normalise();
  locate_base_centre();
  double nbss_sum = sum_residuals();
  locate_centroid(nbss_sum);
  measure_peak();
  sum_biomass_densities();
  measure_dispersion_range();
}

}  // namespace veka
