// Cost of the multi-element stages on a full store: 500000 element records
// of a simulated recording, a mix of small particles of two to eight
// elements, some long strings and a few implausible ones, spread over 300
// steps with measured flow.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "common/console.h"
#include "driver/file_defaults.h"
#include "mep/analysis.h"
#include "mep/sort.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kRecords = 500000;
constexpr int32_t kProfileSteps = 300;

int32_t particle_elements(std::mt19937& random) {
  const int32_t roll = std::uniform_int_distribution<int32_t>(1, 100)(random);
  if (roll <= 35) return 2;
  if (roll <= 60) return 3;
  if (roll <= 75) return 4;
  if (roll <= 90) return std::uniform_int_distribution<int32_t>(5, 8)(random);
  if (roll <= 98) return std::uniform_int_distribution<int32_t>(9, 20)(random);
  return std::uniform_int_distribution<int32_t>(21, 35)(random);
}

// Element records in file order: each particle's elements run downwards
// from the flagged first one, with 16-bit time stamps.
std::vector<MepElement> simulated_recording() {
  std::mt19937 random(20041122);
  std::uniform_int_distribution<int32_t> gap(50, 400);
  std::uniform_int_distribution<int32_t> offset(0, 24);
  std::uniform_int_distribution<int32_t> duration(8, 48);
  std::uniform_int_distribution<int32_t> size(20, 1500);
  std::uniform_int_distribution<int32_t> percent(1, 100);
  std::vector<MepElement> records;
  records.reserve(kRecords);
  int64_t clock = 0;
  while (static_cast<int32_t>(records.size()) < kRecords) {
    const int32_t count = particle_elements(random);
    const int32_t top = std::uniform_int_distribution<int32_t>(count, 120)(random);
    const int32_t step =
        1 + static_cast<int32_t>(records.size() * int64_t{kProfileSteps} / kRecords);
    clock += gap(random);
    for (int32_t i = 0; i < count && static_cast<int32_t>(records.size()) < kRecords; ++i) {
      int32_t length = duration(random);
      if (percent(random) <= 3) length = std::uniform_int_distribution<int32_t>(100, 400)(random);
      int32_t amplitude = size(random);
      if (percent(random) == 1) amplitude = 0;
      const int32_t time = static_cast<int32_t>((clock + offset(random)) % 65536);
      records.push_back({top - i, time, length, amplitude + (i == 0 ? 32768 : 0), step});
    }
  }
  return records;
}

const std::vector<MepElement>& recording() {
  static const std::vector<MepElement> records = simulated_recording();
  return records;
}

void load_recording(double shape_file_option) {
  reset_store();
  Store& s = store;
  set_processing_constants();
  s.exp_fl = 16.0;
  s.set_flow = 1;
  s.unit_factor_g = 1.0;
  s.flow_scale = 1.0;
  s.range_hi = kProfileSteps;
  s.shape_file_option = shape_file_option;
  s.output_base_name = "/tmp/vekabench_mep";
  s.file_number_text = "1";
  for (int32_t k = 1; k <= kProfileSteps; ++k) {
    s.flow_lines[k] = 10;
    s.ctd[k][kCtdFlowCount] = 10.0;
    s.ctd[k][kCtdFlowTime] = 140.0 + k % 50;
  }
  s.arguments = std::vector<std::string>(62, "0");
  const std::vector<MepElement>& records = recording();
  s.mep_count = static_cast<int32_t>(records.size());
  for (int32_t i = 1; i <= s.mep_count; ++i) s.mep_elements[i] = records[i - 1];
}

void BM_SortMeps(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    load_recording(0);
    console::Capture quiet;
    state.ResumeTiming();
    sort_meps();
  }
}
BENCHMARK(BM_SortMeps)->Unit(benchmark::kMillisecond);

void BM_AnalyseMeps(benchmark::State& state) {
  const double option = static_cast<double>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    load_recording(option);
    console::Capture quiet;
    sort_meps();
    state.ResumeTiming();
    analyse_meps();
    state.PauseTiming();
    state.counters["analysed"] = store.drawn_particle_count;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AnalyseMeps)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace veka
