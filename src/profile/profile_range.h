// The profile's run of steps, as the profile stages loop over it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "store/store.h"

namespace veka {

// range_lo and range_hi from the reader's first and last step, which come in
// cast order (an ascending cast ends on a smaller step than it starts).
inline void set_profile_range() {
  store.range_lo = std::min(store.start_index, store.end_index);
  store.range_hi = std::max(store.start_index, store.end_index);
}

// The profile's first and last step inside the arrays: the reader keeps its
// steps in 1..500, but a loop must never step outside the tables whatever
// the range holds.
inline int32_t first_profile_step() {
  return std::max<int32_t>(store.range_lo, 1);
}
inline int32_t last_profile_step() {
  return std::min<int32_t>(store.range_hi, kSteps);
}

}  // namespace veka
