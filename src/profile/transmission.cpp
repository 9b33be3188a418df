// Transmission correction: builds a provisional spectrum from classes
// 1..400 (channels up to 55), takes the mean offset between the
// all-particle and the multi-element NBSS over channels 37..47, where
// multi-element particles should account for everything, and from the
// offset a factor by which the counts of classes 1..400 are scaled
// (argument 60 = 3) or by whose complement they are scaled (-3). Argument 61
// = 0 keeps the offset but changes no count.
//
// Reads   bin_counts, mep_bin_counts, ctd[k][kCtdVolume] [m3], flow_scale,
//         range_lo..range_hi, arguments 60 and 61
// Writes  trans_delta_nbss, trans_empty_channels, trans_correction;
//         bin_counts[k][1..400] of the profile steps; the biomass and
//         spectrum arrays as working storage (the biomass stage computes
//         them afresh afterwards)
#include "profile/transmission.h"

#include <cmath>

#include "profile/class_biomass.h"
#include "profile/nbss_channels.h"
#include "profile/profile_range.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kCorrectedClasses = 400;
constexpr int32_t kLastChannel = 55;
constexpr int32_t kFirstLargeChannel = 37;
constexpr int32_t kLastLargeChannel = 47;
constexpr int32_t kReferenceChannel = 12;  // 193.9 to 209.35 um

void provisional_spectrum() {
  Store& s = store;
  compute_step_biomass(kCorrectedClasses);
  compute_biomass_densities(kCorrectedClasses);
  set_channel_scale(kLastChannel);
  rebin_densities(kLastChannel);
  for (int32_t i = 1; i <= kLastChannel; ++i)
    s.nbss_values[i] = nbss_value(s.channel_biomass[i], i);
  for (int32_t i = 2; i <= kLastChannel; ++i) {
    s.mep_nbss_values[i] = kEmptyChannel;
    if (s.mep_channel_biomass[i] > 0) {
      s.mep_nbss_values[i] = log_normalised(s.mep_channel_biomass[i], i);
    }
  }
}

// Mean NBSS difference over the large channels that hold multi-element
// biomass.
void measure_offset() {
  Store& s = store;
  for (int32_t i = kFirstLargeChannel; i <= kLastLargeChannel; ++i) {
    if (s.mep_channel_biomass[i] > 0) {
      s.trans_delta_nbss = s.trans_delta_nbss + (s.nbss_values[i] - s.mep_nbss_values[i]);
    } else {
      s.trans_empty_channels = s.trans_empty_channels + 1;
    }
  }
  double n = kLastLargeChannel - kFirstLargeChannel + 1 - s.trans_empty_channels;
  if (n == 0) n = 1.0;
  s.trans_delta_nbss = s.trans_delta_nbss / n;
}

// The all-particle spectrum lowered by the offset stands for what the
// multi-element particles would show; the biomass above it in channel 12
// is what transmission lost.
void derive_correction() {
  Store& s = store;
  for (int32_t i = 2; i <= kLastChannel; ++i) {
    if (s.nbss_values[i] > 0) s.mep_nbss_values[i] = s.nbss_values[i] - s.trans_delta_nbss;
  }
  for (int32_t i = 2; i <= kLastChannel; ++i) {
    s.mep_channel_biomass[i] = 0;
    if (s.mep_nbss_values[i] > 0) {
      s.mep_channel_biomass[i] =
          s.channel_biomass[i] - std::exp(kLn10 * s.mep_nbss_values[i]) * s.channel_delta_ug[i];
    }
  }
  const int32_t r = kReferenceChannel;
  s.trans_correction =
      s.channel_biomass[r] == 0 ? 1.0 : s.mep_channel_biomass[r] / s.channel_biomass[r];
  if (s.trans_delta_nbss == 0) s.trans_correction = 1.0;
  if (s.trans_empty_channels > 10) {
    // No large channel holds multi-element biomass: nothing to compare.
    s.trans_correction = 1.0;
    s.trans_delta_nbss = 0;
  }
}

void scale_small_classes(double factor) {
  Store& s = store;
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    double* counts = s.bin_counts[k];
    for (int32_t j = 1; j <= kCorrectedClasses; ++j) counts[j] = counts[j] * factor;
  }
}

}  // namespace

void correct_transmission() {
  Store& s = store;
  provisional_spectrum();
  measure_offset();
  s.trans_correction = 0;
  if (argument_real(61) == 0) return;
  derive_correction();
  const AnalysisOption option = analysis_option();
  if (option == AnalysisOption::transmission_correction) scale_small_classes(s.trans_correction);
  if (option == AnalysisOption::transmission_complement) {
    if (s.trans_correction == 1.0) s.trans_correction = 0.99;
    scale_small_classes(1 - s.trans_correction);
  }
}

}  // namespace veka
