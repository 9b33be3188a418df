// The profile's run of steps, as the profile stages loop over it, and the
// run of classes that holds its data.
#pragma once

#include <algorithm>
#include <cmath>
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

// A value that is +0.0 and nothing else: all its bits are clear.
inline bool is_plain_zero(double x) {
  return x == 0 && !std::signbit(x);
}

// The last class above `last` whose value in `row` is not +0.0, or `last`.
// The classes are looked at sixteen at a time, from the top, by their bits.
inline int32_t last_class_in_row(const double* row, int32_t last) {
  constexpr int32_t kChunk = 16;
  for (int32_t top = kClasses; top > last; top -= kChunk) {
    const int32_t bottom = std::max(last + 1, top - kChunk + 1);
    uint64_t bits = 0;
    for (int32_t j = bottom; j <= top; ++j) {
      uint64_t value;
      std::memcpy(&value, &row[j], sizeof value);
      bits |= value;
    }
    if (bits == 0) continue;
    for (int32_t j = top; j >= bottom; --j) {
      if (!is_plain_zero(row[j])) return j;
    }
  }
  return last;
}

// The last class whose value in some profile step of `table` is not +0.0
// (0 when there is none). A class loop may stop there wherever the classes
// above would only add a finite multiple of +0.0 to sums that started at
// +0.0: such a term is a zero, and a rounded sum of zeros and other terms
// that started at +0.0 is never -0.0, so adding a zero leaves it as it is.
template <typename Table>
int32_t last_class_with_data(const Table& table) {
  int32_t last = 0;
  for (int32_t k = first_profile_step(); k <= last_profile_step(); ++k) {
    last = last_class_in_row(table[k], last);
  }
  return last;
}

}  // namespace veka
