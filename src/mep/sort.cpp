// Multi-element sorting: makes the 16-bit element time stamps monotonic,
// groups the element records into particles by the start flag that the
// counter sets on a particle's first element, numbers the particles, puts
// each particle's records into ascending element order and marks implausible
// particles as rejected.
//
// Reads   mep_elements[1..mep_count] (element, time [counts], duration
//         [counts], size (+32768 on a first element), step), mep_count,
//         mep_duration_limit [counts]
// Writes  mep_elements[i].time (unwrapped), mep_sorted[1..mep_count]
//         (flag removed, particle number, element_count, element -1 when
//         rejected), mep_reject_count; console progress.
#include "mep/sort.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/console.h"
#include "common/format.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kStartFlag = 32768;
constexpr int32_t kStartFlagThreshold = 32000;
constexpr int64_t kTimeWrap = 65536;
constexpr int64_t kWrapMargin = 3000;
constexpr int64_t kLargestTimeSpread = 1450;
constexpr int32_t kLargestSize = 4096;

// Unwrapped times of a very long recording leave the 32-bit range; they wrap
// around it instead of overflowing, and per-particle differences survive.
int32_t wrap_to_32_bits(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

void unwrap_times(int32_t n) {
  if (n < 1) return;
  int64_t previous = store.mep_elements[1].time;
  int64_t wraps = 0;
  for (int32_t i = 1; i <= n; ++i) {
    int64_t t = store.mep_elements[i].time;
    if (t + kWrapMargin < previous) ++wraps;
    if (t - previous > kTimeWrap - kWrapMargin) --wraps;
    previous = t;
    store.mep_elements[i].time = wrap_to_32_bits(t + kTimeWrap * wraps);
  }
}

void set_element_count(int32_t last, int32_t count) {
  for (int32_t i = last - count + 1; i <= last; ++i) store.mep_sorted[i].element_count = count;
}

// Records before the first flagged one join the first particle's count but
// keep particle number 0.
void group_by_start_flag(int32_t n) {
  int32_t particles = 0;
  int32_t open = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const MepElement& raw = store.mep_elements[i];
    SortedMepElement& sorted = store.mep_sorted[i];
    sorted = {raw.element, raw.time, raw.duration, raw.size, raw.step, 0, 0};
    if (raw.size > kStartFlagThreshold) {
      if (particles >= 1) {
        set_element_count(i - 1, open);
        open = 0;
      }
      ++particles;
      sorted.size = raw.size - kStartFlag;
    }
    ++open;
    sorted.particle = particles;
  }
  set_element_count(n, open);
}

// element_count of record p, or 0 once p has run past the last record (the
// walks below look one record ahead).
int32_t count_at(int32_t p, int32_t n) {
  return p <= n ? store.mep_sorted[p].element_count : 0;
}

// Each particle's records in reverse order. The particles' runs of records
// cover 1..n without overlapping, so each is reversed where it lies.
void reverse_particles(int32_t n) {
  int32_t p = 1;
  int32_t c = count_at(1, n);
  while (p < n) {
    for (int32_t low = p, high = p + c - 1; low < high; ++low, --high) {
      std::swap(store.mep_sorted[low], store.mep_sorted[high]);
    }
    p += c;
    c = count_at(p, n);
    if (c == 0) ++p;
  }
}

bool has_repeated_element(int32_t first, int32_t count) {
  static std::vector<int32_t> elements;
  elements.clear();
  for (int32_t i = first; i < first + count; ++i) elements.push_back(store.mep_sorted[i].element);
  std::sort(elements.begin(), elements.end());
  return std::adjacent_find(elements.begin(), elements.end()) != elements.end();
}

bool is_implausible(int32_t first, int32_t count) {
  if (has_repeated_element(first, count)) return true;
  int64_t earliest = store.mep_sorted[first].time;
  int64_t latest = earliest;
  for (int32_t i = first; i < first + count; ++i) {
    const SortedMepElement& r = store.mep_sorted[i];
    earliest = std::min<int64_t>(earliest, r.time);
    latest = std::max<int64_t>(latest, r.time);
    if (r.size == 0 || r.size > kLargestSize || r.duration > store.mep_duration_limit) return true;
  }
  return latest - earliest > kLargestTimeSpread;
}

void reject_implausible_particles(int32_t n) {
  store.mep_reject_count = 0;
  int32_t p = 1;
  int32_t c = count_at(1, n);
  while (p < n) {
    if (is_implausible(p, c)) {
      for (int32_t i = p; i < p + c; ++i) store.mep_sorted[i].element = -1;
      ++store.mep_reject_count;
    }
    p += c;
    c = count_at(p, n);
  }
}

}  // namespace

void sort_meps() {
  const int32_t n = store.mep_count;
  console::line(" Started Sorting Multi element bugs");
  console::line("STarted Multi-Bug Loop");
  unwrap_times(n);
  group_by_start_flag(n);
  console::line("Final Multi-bug time" + int_field(store.mep_elements[n].time, 9) +
                " # multi-bugs" + int_field(store.mep_sorted[n].particle, 8) + " nm" +
                int_field(n, 8));
  reverse_particles(n);
  reject_implausible_particles(n);
  console::line("Finished sorting MEPs" + int_field(store.mep_sorted[n].particle, 8) +
                " bugs at nm=" + int_field(n, 8) +
                "  MEP_rejects=" + int_field(store.mep_reject_count, 8));
}

}  // namespace veka
