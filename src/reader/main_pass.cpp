// Main pass: reads the data file from the start of the analysed range to
// its end and accumulates it into steps. A CTD line counts in the step of its
// depth; an SEP block in the step of the last CTD line (depth modes) or of
// the previous block's time count (time mode); an MEP element line is stored
// with that step. Steps outside 1..500 take nothing.
//
// Reads   data_file, smode, count_first, count_last, dfct, scan_interval [s],
//         ctd_scan_rate [1/s], ctd_maker_text, sep_values_per_line,
//         l5_value_count, mep_value_count, end_depth [m], arguments 7 and 8
// Writes  ctd[k][kCtdScans..kCtdAnalog5], ctd[k][kCtdFlowCount],
//         ctd[k][kCtdFlowTime], bin_counts[k][c] and sep_counts_as_read[k][c]
//         (the same counts), sep_step_first, sep_step_last, sep_frames[k],
//         flow_lines[k], l5_values[k][1..7],
//         mep_elements, mep_count, depth,
//         prev_depth [m], elapsed_time [s], tctr, current_bin, bad_ctd_run
#include <algorithm>

#include "common/rounding.h"
#include "reader/reader.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kDeepestStep = 500.0;  // [m]
constexpr int32_t kMepFields = 4;

// An implausible line, like a line the tokenizer rejected, is replaced by
// the previous line's values at the previous depth.
void check_plausibility() {
  Store& s = store;
  if (s.ctd_line_bad == 0) s.bad_ctd_run = 0;
  if (ctd_values_implausible(s.ctd_values)) s.ctd_line_bad = 1;
  if (s.ctd_line_bad == 1) {
    s.ctd_values[1] = s.depth;
    s.ctd_values[2] = s.ctd_c_value;
    s.ctd_values[3] = s.ctd_t_value;
    s.ctd_values[4] = 0.0;
  }
  if (s.bad_ctd_run > s.bad_ctd_limit) report_too_many_bad_ctd_lines();
}

void add_ctd_line_to_step() {
  Store& s = store;
  if (!is_step(s.current_bin)) return;
  double* row = s.ctd[s.current_bin];
  row[kCtdScans] += 1.0;
  row[kCtdTemperature] += s.ctd_t_value;
  row[kCtdConductivity] += s.ctd_c_value;
  row[kCtdSalinity] += s.ctd_s_value;
  row[kCtdRate] += s.ctd_rate;
  for (int i = 0; i < kCtdAnalogChannels; ++i) row[kCtdAnalog1 + i] += ctd_field(kFieldA1 + i);
}

// Returns whether the line ends the data.
bool read_ctd_line() {
  Store& s = store;
  s.ctd_line_bad = 0;
  if (!read_ctd_line_values(false, s.ctd_line_bad)) return false;
  if (checks_ctd_plausibility()) check_plausibility();
  s.data_file.skip_line();
  take_ctd_line_values();
  s.current_bin = round_to_int(s.depth);
  update_ctd_rate();
  add_ctd_line_to_step();
  apply_spike_filter();
  s.prev_depth = s.depth;
  round_depth_and_time();
  if (s.depth > kDeepestStep) {
    report_deep_scan();
    return false;
  }
  return s.smode == 2 && end_test_passes();
}

// The four fields of an MEP line after its blank; a missing one reads 0.
void read_mep_fields(int32_t fields[kMepFields + 1]) {
  Store& s = store;
  LineReader line(s.data_file);
  const int32_t wanted = s.mep_value_count;
  int32_t plain[kMepFields];
  if (wanted >= 1 && wanted <= kMepFields &&
      read_plain_counts(line, wanted, plain, s.token_text, s.next_char)) {
    std::copy(plain, plain + wanted, fields + 1);
    return;
  }
  for (int32_t field = 1; field <= s.mep_value_count; ++field) {
    int c = read_field(line);
    if (field <= kMepFields) fields[field] = count_value(s.token_text);
    if (c == ' ' && s.token_text.empty()) report_empty_mep_field();
    if (c == DataFile::kEmpty && field < s.mep_value_count) report_short_mep_line();
  }
}

void read_mep_line() {
  Store& s = store;
  ++s.mep_count;
  if (s.data_file.read_char() != ' ') report_missing_mep_blank();
  int32_t fields[kMepFields + 1] = {};
  read_mep_fields(fields);
  if (s.mep_count <= kMepRecords) {
    s.mep_elements[s.mep_count] = {fields[1], fields[2], fields[3], fields[4], s.current_bin};
  }
  s.data_file.skip_line();
}

void note_sep_step(int32_t step) {
  Store& s = store;
  if (s.sep_step_first == 0 || step < s.sep_step_first) s.sep_step_first = step;
  if (step > s.sep_step_last) s.sep_step_last = step;
}

// The counts of line k run on from `channel` up to channel 32·k, and at
// least one count is read. A short line is filled up with empty counts.
void read_sep_counts(int32_t k, int32_t& channel) {
  Store& s = store;
  const int32_t last = s.sep_values_per_line * k;
  const bool inside = is_step(s.current_bin);
  if (inside) note_sep_step(s.current_bin);
  double* counts = inside ? s.bin_counts[s.current_bin] : nullptr;
  double* as_read =
      inside && s.keeps_counts_as_counted ? s.sep_counts_as_read[s.current_bin] : nullptr;
  LineReader line(s.data_file);
  const int32_t wanted = last - channel;
  int32_t plain[kClasses];
  if (wanted >= 1 && wanted <= kClasses &&
      read_plain_counts(line, wanted, plain, s.token_text, s.next_char)) {
    if (counts != nullptr) {
      const int32_t stored = std::min(wanted, kClasses - channel);
      for (int32_t i = 0; i < stored; ++i) counts[channel + 1 + i] += plain[i];
      if (as_read != nullptr) {
        for (int32_t i = 0; i < stored; ++i) as_read[channel + 1 + i] += plain[i];
      }
    }
    channel = last;
    return;
  }
  do {
    int c = read_field(line);
    ++channel;
    if (counts != nullptr && channel <= kClasses) {
      const int32_t count = count_value(s.token_text);
      counts[channel] += count;
      if (as_read != nullptr) as_read[channel] += count;
    }
    if (c == DataFile::kEmpty) {
      if (channel < last) report_short_sep_line(k, channel);
      if (s.token_text.empty()) report_empty_sep_count(k);
    }
  } while (channel < last);
}

// The status line of an SEP block; returns whether it ends the data.
bool read_l5_line() {
  Store& s = store;
  const int32_t bin = s.current_bin;
  const bool inside = is_step(bin);
  if (inside) s.sep_frames[bin] += 1.0;
  double values[kL5Values + 1] = {};
  read_l5_values(values, true);
  if (inside) {
    for (int i = 1; i <= kL5Values; ++i) s.l5_values[bin][i] = values[i];
  }
  s.data_file.skip_line();
  if (inside && values[4] > 0.0) {
    s.ctd[bin][kCtdFlowCount] += values[4];
    s.ctd[bin][kCtdFlowTime] += values[5];
    s.flow_lines[bin] += 1.0;
  }
  s.tctr = round_to_int(values[3]);
  if (s.smode == 0) {
    if (s.tctr == s.count_last) return true;
    // The next block belongs to the time slice of this count.
    double slice = time_slice(s.tctr);
    s.current_bin = round_to_int(slice);
    s.depth = slice;
    if (is_step(s.current_bin)) s.ctd[s.current_bin][kCtdScans] += 1.0;
  } else if (s.smode == 1 && values[3] == s.count_last) {
    return true;
  }
  return false;
}

// An SEP block: L1..L4 lines of counts, then the L5 status line. A line of
// the block that does not start with "L" is read as if it did. Returns
// whether the block ends the data.
bool read_sep_block() {
  Store& s = store;
  DataFile& file = s.data_file;
  int32_t channel = 0;
  for (;;) {
    const int number = file.read_char();
    if (number == DataFile::kEmpty) return true;
    const int32_t k = (number >= '0' && number <= '9') ? number - '0' : 0;
    s.sep_line_number = k;
    if (k == 5) return read_l5_line();
    if (number == ' ' || k > 4) report_bad_sep_line_number(k);
    if (file.read_char() != ' ') report_missing_sep_blank();
    read_sep_counts(k, channel);
    file.skip_line();
    s.line_tag = file.read_char();
    if (s.line_tag == DataFile::kEmpty) return true;
    if (s.line_tag != 'L') report_missing_sep_line(k);
  }
}

// With no end depth, or a start depth and no end depth, an empty line ends
// the data as it stands.
bool ends_at_empty_line_unrounded() {
  DepthChoice start = depth_choice(start_depth_argument());
  DepthChoice end = depth_choice(end_depth_argument());
  return end == DepthChoice::zero &&
         (start == DepthChoice::zero || start == DepthChoice::above_one);
}

}  // namespace

void read_main_pass() {
  Store& s = store;
  DataFile& file = s.data_file;
  for (;;) {
    s.line_tag = file.read_char();
    const int tag = s.line_tag;
    if (tag == DataFile::kEmpty && ends_at_empty_line_unrounded()) return;
    if (tag == 'C' && s.smode > 0) {
      if (read_ctd_line()) return;
    } else if (tag == 'M') {
      read_mep_line();
    } else if (tag == 'L') {
      if (read_sep_block()) return;
    } else if (tag == DataFile::kEmpty) {
      round_depth_and_time();
      return;
    } else {
      file.skip_line();
    }
  }
}

}  // namespace veka
