// Spectrum channels: 68 channels of 0.1 log10 units of sphere biomass, whose
// ESD edges grow by about 1.0798 from 90 um. The class densities are spread
// over the channels as if each 15 um class were filled evenly, so every
// channel holds the density of exactly its ESD range.
//
// Reads   flow_scale, biomass_density, mep_biomass_density [ug/m3]
// Writes  nbss_size_bounds [um], channel_delta_ug [ug], nbss_log_bounds
//         [log10 ug], channel_biomass, mep_channel_biomass [ug/m3]
#include "profile/nbss_channels.h"

#include <cmath>

#include "common/sphere.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kChannelEdges[kChannels + 1] = {
    0.0,     90.0,    97.18,   104.93,  113.3,   122.34,  132.1,   142.64,  154.01,  166.3,
    179.57,  193.9,   209.35,  226.07,  244.09,  263.57,  284.59,  307.3,   331.82,  358.28,
    386.85,  417.74,  451.07,  487.04,  525.88,  567.83,  613.14,  662.05,  714.89,  771.88,
    833.47,  900.0,   971.77,  1049.31, 1133.0,  1223.36, 1321.0,  1426.33, 1540.13, 1663.0,
    1795.71, 1938.86, 2093.67, 2260.67, 2441.0,  2635.6,  2846.0,  3073.0,  3318.0,  3583.0,
    3869.0,  4177.0,  4511.0,  4870.0,  5259.0,  5678.0,  6131.0,  6621.0,  7149.0,  7719.0,
    8335.0,  9000.0,  9718.0,  10493.0, 11330.0, 12234.0, 13210.0, 14264.0, 15401.0};

constexpr double kClassWidth = 15.0;

// Biomass [ug] of a sphere of diameter `edge` [um].
double sphere_biomass_at(double edge) {
  double h = (edge / 10000) / 2;
  return kSphereFactor * store.flow_scale * (h * h * h);
}

// Walks the class boundaries E (upper edge of class c) up the channel
// edges. The first class that reaches into the spectrum is class 7 (90 to
// 105 um); channel 2 of the all-particle spectrum takes its share of it,
// the multi-element spectrum leaves that share out.
void rebin(const double* density, double* channel, bool first_share, int32_t last_channel) {
  const double* e = store.nbss_size_bounds;
  for (int32_t i = 1; i <= last_channel; ++i) channel[i] = 0.0;
  double E = 105.0;
  int32_t c = 7;
  if (first_share) channel[2] = (e[2] - (E - kClassWidth)) / kClassWidth * density[7];
  for (int32_t i = 3; i <= last_channel; ++i) {
    double lo_e = e[i - 1];
    double hi_e = e[i];
    if (lo_e > E && hi_e > E) {
      E = E + kClassWidth;
      c = c + 1;
    }
    if (lo_e < E && E < hi_e && hi_e <= E + kClassWidth) {
      // The channel straddles the boundary E.
      channel[i] +=
          ((hi_e - E) / kClassWidth) * density[c + 1] + ((E - lo_e) / kClassWidth) * density[c];
    }
    if (lo_e <= E && E - kClassWidth < lo_e && hi_e < E) {
      // The channel lies inside class c.
      channel[i] += ((hi_e - lo_e) / kClassWidth) * density[c];
    }
    if (lo_e <= E && E - kClassWidth < lo_e && hi_e > E + kClassWidth) {
      // The channel spans whole classes.
      channel[i] += ((E - lo_e) / kClassWidth) * density[c];
      while (E + kClassWidth < hi_e) {
        E = E + kClassWidth;
        c = c + 1;
        channel[i] += density[c];
      }
      channel[i] += ((hi_e - E) / kClassWidth) * density[c + 1];
    }
  }
}

}  // namespace

void set_channel_scale(int32_t last_channel) {
  Store& s = store;
  for (int32_t i = 1; i <= last_channel; ++i) s.nbss_size_bounds[i] = kChannelEdges[i];
  for (int32_t i = 2; i <= last_channel; ++i) {
    s.channel_delta_ug[i] =
        (sphere_biomass_at(s.nbss_size_bounds[i]) - sphere_biomass_at(s.nbss_size_bounds[i - 1])) *
        1000000;
  }
  for (int32_t i = 1; i <= last_channel; ++i) s.nbss_log_bounds[i] = -0.657 + 0.1 * (i - 1);
}

void rebin_densities(int32_t last_channel) {
  Store& s = store;
  rebin(s.biomass_density, s.channel_biomass, true, last_channel);
  rebin(s.mep_biomass_density, s.mep_channel_biomass, false, last_channel);
}

double log_normalised(double channel_biomass, int32_t channel) {
  return std::log(channel_biomass / store.channel_delta_ug[channel]) / kLn10;
}

double nbss_value(double channel_biomass, int32_t channel) {
  return channel_biomass != 0 ? log_normalised(channel_biomass, channel) : kEmptyChannel;
}

}  // namespace veka
