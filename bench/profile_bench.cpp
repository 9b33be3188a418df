// Cost of the profile processing of a full 500-step depth profile: zero
// filling and water volume, multi-element means, biomass and spectra with
// the fits, and the size-class totals; and of the parabola search alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "common/console.h"
#include "driver/file_defaults.h"
#include "profile/biomass_nbss.h"
#include "profile/mep_means.h"
#include "profile/nbss_fits.h"
#include "profile/totals.h"
#include "profile/water_volume.h"
#include "profile/zero_filling.h"
#include "store/store.h"

namespace veka {

namespace {

// A cast from 1 to 500 m with a falling size spectrum that reaches far
// enough for the parabola search, a few steps without CTD scans or frames,
// and multi-element particles in the large classes.
void set_up_profile() {
  reset_store();
  Store& s = store;
  s.arguments.assign(62, "0");
  s.smode = 2;
  s.start_index = 1;
  s.end_index = 500;
  s.exp_sp = 1.0;
  s.set_flow = 1;
  s.ctd_scan_rate = 24.0;
  s.tunnel_area = 0.0049;
  s.flow_scale = 1.0;
  s.range_low = 25.0;
  s.range_high = 475.0;
  s.speed_curve[1] = {0.198996019, -2.603059062, 0.892897609, 0.006191239, -0.0013};
  s.speed_curve[2] = {30.113624222688, -1.4243159638326, 1.4125878289, 0.252430015529, -0.05};
  for (int j = 1; j <= kClasses; ++j) s.diameter_class_um[j] = 15.0 * j;
  const double low[6] = {0, 100, 250, 500, 1000, 2000};
  const double high[6] = {0, 250, 500, 1000, 2000, 4000};
  for (int r = 1; r <= 5; ++r) {
    s.diameter_bin_low[r] = low[r];
    s.diameter_bin_high[r] = high[r];
  }
  s.diameter_range_low_mm = 0.1;
  s.diameter_range_high_mm = 4.0;
  for (int k = 1; k <= kSteps; ++k) {
    bool gap = k % 97 == 0;
    s.ctd[k][kCtdScans] = gap ? 0.0 : 24.0;
    s.sep_frames[k] = gap ? 0.0 : 2.0;
    s.flow_lines[k] = gap ? 0.0 : 2.0;
    s.ctd[k][kCtdFlowCount] = gap ? 0.0 : 20.0;
    s.ctd[k][kCtdFlowTime] = gap ? 0.0 : 400.0 + k;
    s.ctd[k][kCtdMepParticles] = 2.0;
    s.ctd[k][kCtdInverseArea] = 3.0;
    s.ctd[k][kCtdOpacity] = 1.0;
    for (int b = 1; b <= 128; ++b) s.bin_counts[k][b] = 200000.0 * std::pow(b, -2.2);
    for (int b = 100; b <= 400; b += 3) {
      s.bin_counts[k][b] += 1.0;
      s.mep_bin_counts[k][b] = 1.0;
      s.mep_step_counts[k][b] = 1.0;
      s.mep_step_biomass[k][b] = 0.01;
      s.mep_opaque_bin_counts[k][b] = 0.5;
    }
  }
}

void process_profile() {
  fill_zeros();
  compute_water_volume();
  compute_mep_means();
  compute_biomass_and_spectra();
  compute_size_class_totals();
}

void BM_ProfileProcessing(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    set_up_profile();
    console::Capture capture;
    state.ResumeTiming();
    process_profile();
    state.PauseTiming();
    if (store.nbss_last < 40) state.SkipWithError("the synthetic spectrum ends too early");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ProfileProcessing)->Unit(benchmark::kMillisecond);

void BM_ParabolaSearch(benchmark::State& state) {
  set_up_profile();
  {
    console::Capture capture;
    process_profile();
  }
  for (auto _ : state) search_parabola();
}
BENCHMARK(BM_ParabolaSearch)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace veka
