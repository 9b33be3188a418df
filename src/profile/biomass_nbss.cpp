// Biomass and size spectra: biomass per step and class, the profile-mean
// biomass density per class, its re-binning into the 68 spectrum channels,
// and the normalised biomass size spectrum (NBSS) of all particles and of
// multi-element particles alone; then the spectrum fits. With argument 60
// at 3 or -3 the transmission correction first rescales the small classes.
//
// Reads   bin_counts, mep_bin_counts, ctd[k][kCtdVolume] [m3], diameter_class_um,
//         flow_scale, range_lo..range_hi, arguments 60 and 61
// Writes  bin_biomass, mep_bin_biomass [mg], tot_volume [m3],
//         biomass_density, mep_biomass_density [ug/m3], nbss_bin_count,
//         the channel scale, channel_biomass, mep_channel_biomass [ug/m3],
//         nbss_values, mep_nbss_values (log10 ug/m3 per ug; -5.0 when
//         empty), nbss_first, nbss_last, first_empty_channel, and
//         everything the fits and the transmission correction write
// Console "Problem with choice of tm3 - NBSS last channel" with a wait,
//         should the last fitted channel fall outside the spectrum.
#include "profile/biomass_nbss.h"

#include "common/console.h"
#include "profile/class_biomass.h"
#include "profile/nbss_channels.h"
#include "profile/nbss_fits.h"
#include "profile/transmission.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kFixedLastChannel = 31;

// nbss_last follows the unbroken run of filled channels from channel 4.
void compute_nbss_values() {
  Store& s = store;
  s.nbss_first = 4;
  s.nbss_last = 3;
  for (int32_t i = 1; i <= kChannels; ++i) {
    s.nbss_values[i] = nbss_value(s.channel_biomass[i], i);
    if (s.channel_biomass[i] != 0 && i == s.nbss_last + 1) s.nbss_last = s.nbss_last + 1;
  }
  if (s.nbss_last < 2 || s.nbss_last > kChannels) {
    console::problem("Problem with choice of tm3 - NBSS last channel");
    console::wait_for_enter();
  }
  for (int32_t i = 2; i <= kChannels; ++i) {
    s.mep_nbss_values[i] = nbss_value(s.mep_channel_biomass[i], i);
  }
  if (analysis_option() == AnalysisOption::opacity_limit) s.nbss_last = kFixedLastChannel;
}

void find_first_empty_channel() {
  Store& s = store;
  s.first_empty_channel = kChannels;
  for (int32_t i = 2; i <= kChannels; ++i) {
    if (s.nbss_values[i] == kEmptyChannel) {
      s.first_empty_channel = i - 1;
      return;
    }
  }
}

}  // namespace

void compute_biomass_and_spectra() {
  Store& s = store;
  const AnalysisOption option = analysis_option();
  if (option == AnalysisOption::transmission_correction ||
      option == AnalysisOption::transmission_complement) {
    correct_transmission();
  }
  compute_step_biomass(kClasses);
  compute_biomass_densities(kClasses);
  s.nbss_bin_count = kChannels;
  set_channel_scale(kChannels);
  rebin_densities(kChannels);
  compute_nbss_values();
  find_first_empty_channel();
  fit_nbss();
}

}  // namespace veka
