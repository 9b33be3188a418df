// The profile's run of steps, as the profile stages loop over it, and the
// classes of a step that hold data.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

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

namespace detail {

// The bits of rows[first..first+n-1] of all rows, or-ed together: zero when
// every value there is +0.
template <int32_t n, typename... Rows>
uint64_t or_of_bits(int32_t first, const Rows*... rows) {
  uint64_t lanes[n] = {};
  const auto add = [&](const double* row) {
    uint64_t bits[n];
    std::memcpy(bits, row + first, sizeof bits);
    for (int32_t i = 0; i < n; ++i) lanes[i] |= bits[i];
  };
  (add(rows), ...);
  uint64_t any = 0;
  for (int32_t i = 0; i < n; ++i) any |= lanes[i];
  return any;
}

}  // namespace detail

// The highest class in 1..last at which any of the rows holds anything but
// +0, or 0 when none does. Most of a step's 1100 classes are empty, and a
// term of +0 (or +0 times or over a finite number) leaves a sum that is not
// -0 as it was; since every sum of the profile starts at +0, a sum over
// these rows may stop at this class with the same result.
template <typename... Rows>
int32_t last_class_with_data(int32_t last, const Rows*... rows) {
  constexpr int32_t kBlock = 8;  // tested at once, in vector registers
  int32_t j = last;
  for (; j >= kBlock; j -= kBlock) {
    if (detail::or_of_bits<kBlock>(j - kBlock + 1, rows...) != 0) break;
  }
  while (j >= 1 && detail::or_of_bits<1>(j, rows...) == 0) --j;
  return j;
}

}  // namespace veka
