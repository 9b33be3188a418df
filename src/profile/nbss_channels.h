// The logarithmic biomass channels of the size spectrum: their edges,
// biomass widths and abscissae, and the re-binning of the 15 um class
// densities into them.
#pragma once

#include <cstdint>

namespace veka {

// ln 10 as the spectrum takes it: log10 x = ln x / kLn10, 10^x = exp(kLn10 x).
constexpr double kLn10 = 2.30258509;

// The NBSS value of a channel without biomass.
constexpr double kEmptyChannel = -5.0;

// nbss_size_bounds[1..last], channel_delta_ug[2..last], nbss_log_bounds[1..last].
void set_channel_scale(int32_t last_channel);

// channel_biomass and mep_channel_biomass of channels 1..last, from zero.
void rebin_densities(int32_t last_channel);

// log10 of the channel's biomass density per unit of biomass width.
double log_normalised(double channel_biomass, int32_t channel);

// The NBSS value of a channel: log_normalised, or kEmptyChannel without
// biomass.
double nbss_value(double channel_biomass, int32_t channel);

}  // namespace veka
