// Cost of the per-file reset of the store after a small file has used a
// profile of 100 steps and a few thousand element records.
#include <benchmark/benchmark.h>

#include "store/store.h"

namespace veka {

static void touch_like_a_small_file() {
  for (int k = 1; k <= 100; ++k) {
    for (int b = 1; b <= 1100; ++b) {
      store.bin_counts[k][b] = 1.0;
      store.mep_bin_counts[k][b] = 1.0;
      store.bin_biomass[k][b] = 1.0;
      store.mep_bin_biomass[k][b] = 1.0;
    }
    store.ctd[k][kCtdScans] = 1.0;
  }
  for (int i = 1; i <= 5000; ++i) {
    store.mep_elements[i].size = 1;
    store.mep_sorted[i].size = 1;
  }
}

static void BM_ResetAfterSmallFile(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    touch_like_a_small_file();
    state.ResumeTiming();
    reset_store();
  }
}
BENCHMARK(BM_ResetAfterSmallFile)->Unit(benchmark::kMillisecond);

static void BM_ResetUntouched(benchmark::State& state) {
  for (auto _ : state) reset_store();
}
BENCHMARK(BM_ResetUntouched)->Unit(benchmark::kMillisecond);

}  // namespace veka
