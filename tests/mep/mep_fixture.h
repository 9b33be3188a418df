// Shared set-up of the multi-element tests: a store with the per-file MEP
// settings, the standard command line, and particles written straight into
// mep_sorted as the sort leaves them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/file_defaults.h"
#include "store/store.h"
#include "support/support.h"

namespace veka::mep_testing {

struct Record {
  int32_t element;
  int32_t time;
  int32_t duration;
  int32_t size;
};

// A fresh store with the settings the per-file defaults give, expected
// transit count exp_fl, constant flow, and arguments 60 and 61 as given.
inline void start_mep_file(double exp_fl, const std::string& argument60 = "0",
                           const std::string& argument61 = "0") {
  reset_store();
  auto arguments = support::standard_arguments("in/", "W", "out/");
  arguments[60] = argument60;
  arguments[61] = argument61;
  support::load_arguments(arguments);
  Store& s = store;
  set_processing_constants();
  s.exp_fl = exp_fl;
  s.unit_factor_g = 1.0;
  s.flow_scale = 1.0;
  s.range_hi = 500;
  s.file_number_text = "7";
  s.top_depth = 12.4;
  s.bottom_depth = 80.0;
}

// Appends one particle to mep_sorted; returns the index of its first record.
inline int32_t add_particle(const std::vector<Record>& records, int32_t step = 1,
                            int32_t particle = 0) {
  Store& s = store;
  const int32_t first = s.mep_count + 1;
  if (particle == 0) particle = first == 1 ? 1 : s.mep_sorted[first - 1].particle + 1;
  const int32_t count = static_cast<int32_t>(records.size());
  for (const Record& r : records) {
    s.mep_sorted[++s.mep_count] = {r.element, r.time, r.duration, r.size, step, particle, count};
  }
  return first;
}

// A particle of `count` short, small elements side by side.
inline std::vector<Record> small_particle(int32_t count, int32_t size = 10) {
  std::vector<Record> records;
  for (int32_t e = 0; e < count; ++e) records.push_back({e, 0, 1, size});
  return records;
}

// Makes the particle starting at `first` the particle in hand.
inline void hold_particle(int32_t first, double transit_count) {
  store.particle_first_record = first;
  store.particle_element_count = store.mep_sorted[first].element_count;
  store.mep_transit_count = transit_count;
}

}  // namespace veka::mep_testing
