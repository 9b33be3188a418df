// Zero filling: in the depth mode with profile detection, a step that the
// instrument passed without sending data gets a copy of the nearest step
// that has data, so that no later stage divides by an empty step. Three
// passes look at three kinds of data on their own: the CTD channels, the
// particle counts and the flow sums. A leading run of empty steps is filled
// from the first step with data; an empty step further down copies the step
// above it, so a gap takes the values of the last step before it.
//
// Reads   start_index, end_index, smode, tctr, ctd[k][kCtdScans],
//         sep_frames[k], flow_lines[k]
// Writes  range_lo, range_hi (every mode); in smode 2 also stst,
//         ctd[k][kCtdScans..kCtdAnalog5], ctd[k][kCtdFlowCount],
//         ctd[k][kCtdFlowTime], bin_counts[k][1..400], mep_bin_counts[k][1..400], sep_frames[k],
//         flow_lines[k] of the empty steps in range_lo..range_hi
// Console progress lines, the numbers of the filled steps, and a message
//         with a wait for every step of an over-long leading empty run.
#include "profile/zero_filling.h"

#include <string>

#include "common/console.h"
#include "common/format.h"
#include "common/rounding.h"
#include "profile/profile_range.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kCopiedClasses = 400;
constexpr int kLeadingRunLimit = 13;

// The leading empty run may reach up to half the profile, but never more
// than 13 steps, before each further empty step is reported.
void set_scan_limit() {
  Store& s = store;
  int32_t half = round_to_int((s.range_hi - s.range_lo) / 2.0);
  s.stst = half >= kLeadingRunLimit ? s.range_lo + kLeadingRunLimit : s.range_lo + half;
}

std::string zero_data_message(int line_number) {
  return "Too many depths with zero data - Line " + std::to_string(line_number);
}

// One pass over the profile: `empty(k)` tells a step without data,
// `copy(to, from)` fills a step, `report(i)` writes the message for an
// over-long leading run, and `announce(k)` writes a filled step's number in
// the forward fill. A pass whose profile holds no data at all reports every
// step beyond the limit (up to one past the end) and fills nothing.
template <typename Empty, typename Copy, typename Report, typename Announce>
void fill_pass(Empty empty, Copy copy, Report report, Announce announce, bool forward_from_start) {
  const Store& s = store;
  int32_t lo = first_profile_step();
  int32_t hi = last_profile_step();
  int32_t first = lo;
  while (first <= hi && empty(first)) {
    ++first;
    if (first > s.stst) {
      report(first);
      console::wait_for_enter();
    }
  }
  if (first > hi) return;
  for (int32_t k = lo; k < first; ++k) copy(k, first);
  for (int32_t k = (forward_from_start ? lo : first) + 1; k <= hi; ++k) {
    if (!empty(k)) continue;
    announce(k);
    copy(k, k - 1);
  }
}

void fill_ctd_channels() {
  Store& s = store;
  fill_pass([&](int32_t k) { return s.ctd[k][kCtdScans] == 0; },
            [&](int32_t to, int32_t from) {
              for (int c = kCtdScans; c <= kCtdAnalog5; ++c) s.ctd[to][c] = s.ctd[from][c];
            },
            [](int32_t) { console::problem(zero_data_message(85)); },
            [](int32_t k) { console::write(int_field(k, 4)); }, false);
}

void fill_particle_counts() {
  Store& s = store;
  fill_pass([&](int32_t k) { return s.sep_frames[k] == 0; },
            [&](int32_t to, int32_t from) {
              for (int b = 1; b <= kCopiedClasses; ++b) {
                s.bin_counts[to][b] = s.bin_counts[from][b];
                s.mep_bin_counts[to][b] = s.mep_bin_counts[from][b];
              }
              s.sep_frames[to] = s.sep_frames[from];
              s.flow_lines[to] = s.flow_lines[from];
              s.ctd[to][kCtdFlowCount] = s.ctd[from][kCtdFlowCount];
              s.ctd[to][kCtdFlowTime] = s.ctd[from][kCtdFlowTime];
            },
            [&](int32_t i) {
              console::problem(zero_data_message(86) + " tctr" + int_field(s.tctr, 8) + " depth" +
                               int_field(i, 8) + " stst" + int_field(s.stst, 9));
            },
            [](int32_t) {}, false);
  // Closes the list of step numbers that the CTD pass left open.
  console::end_line();
}

void fill_flow_sums() {
  Store& s = store;
  fill_pass([&](int32_t k) { return s.flow_lines[k] == 0; },
            [&](int32_t to, int32_t from) {
              s.ctd[to][kCtdFlowCount] = s.ctd[from][kCtdFlowCount];
              s.ctd[to][kCtdFlowTime] = s.ctd[from][kCtdFlowTime];
              s.flow_lines[to] = s.flow_lines[from];
            },
            [](int32_t) { console::problem(zero_data_message(87)); },
            [](int32_t k) { console::write(int_field(k, 8)); }, true);
  console::end_line();
}

}  // namespace

void fill_zeros() {
  Store& s = store;
  console::line("Started filling zeros - Depths");
  set_profile_range();
  if (s.smode != 0 && s.smode != 1) {
    set_scan_limit();
    fill_ctd_channels();
    fill_particle_counts();
    fill_flow_sums();
  }
  console::line("Finished filling zeros");
}

}  // namespace veka
