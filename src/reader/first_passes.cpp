// Profile scan and start search, the first two passes over the data file.
// The profile scan (phase 0) reads the whole recording and follows the cast
// to its top, bottom and turning point; the start search (phase 1) reads it
// again from line 1 up to the start of the analysed range: a time count of
// an L5 line, or the start depth of the cast. The first three CTD lines of
// each pass are passed over.
//
// Reads   data_file, smode, count_first, scan_interval [s], dive_direction,
//         arguments 7 and 8, the detection state
// Writes  depth, prev_depth [m], ctd_t_value, ctd_c_value, ctd_s_value,
//         elapsed_time [s], tctr, start_tctr, count_first, start_depth,
//         end_depth [m], top_depth [m], eof_seen, bad_ctd_run, reader_phase;
//         clears ctd[k][kCtdScans] at the end of the profile scan.
#include "common/console.h"
#include "common/format.h"
#include "common/rounding.h"
#include "reader/reader.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kHeaderLinesSkipped = 10;
constexpr int kFirstCtdLinesPassedOver = 3;

bool is_data_tag(int tag) {
  return tag == 'C' || tag == 'L' || tag == 'M';
}

// A header block starts at a "#" line. Its first lines are not looked at;
// then every line starting with "#" or "*" belongs to it, and a line whose
// characters 5 and 6 read "La" takes two more lines with it. The block
// ends at the first other line, with line_tag holding that line's first
// character and the file left where the block's reading stopped.
void read_header_block() {
  Store& s = store;
  DataFile& file = s.data_file;
  file.skip_line();
  for (int i = 0; i < kHeaderLinesSkipped; ++i) file.skip_line();
  for (;;) {
    s.line_tag = file.read_char();
    for (int i = 2; i <= 5; ++i) s.header_char5 = file.read_char();
    s.header_char6 = file.read_char();
    if (s.header_char5 == 'L' && s.header_char6 == 'a') {
      for (int i = 0; i < 3; ++i) {
        s.line_tag = file.read_char();
        file.skip_line();
      }
    }
    if (is_data_tag(s.line_tag)) return;
    if (s.line_tag != '#' && s.line_tag != '*') return;
    file.skip_line();
  }
}

// A CTD line of the first two phases; returns whether it is the start.
bool read_first_pass_ctd_line() {
  Store& s = store;
  if (!read_ctd_line_values(true, s.line_flag)) return false;
  if (s.line_flag == 0) {
    take_ctd_line_values();
    apply_spike_filter();
    s.bad_ctd_run = 0;
  } else {
    s.depth = s.prev_depth;
    s.line_flag = 0;
    if (s.bad_ctd_run > s.bad_ctd_limit) {
      s.bad_ctd_run = 0;
      report_long_bad_ctd_run();
    }
  }
  bool used = detect_profile();
  s.data_file.skip_line();
  if (!used) return false;
  round_depth_and_time();
  return s.smode == 2 && start_test_passes();
}

// An "L" line of the start search; only L5 lines count. Returns whether its
// time count is the start.
bool search_l5_line() {
  Store& s = store;
  if (s.data_file.read_char() != '5') {
    s.data_file.skip_line();
    return false;
  }
  s.sep_line_number = 5;
  double values[kL5Values + 1] = {};
  read_l5_values(values, false);
  s.data_file.skip_line();
  s.tctr = round_to_int(values[3]);
  ++s.l5_lines_seen;
  // While no depth is known the range starts one count later.
  if (s.smode != 0 && s.tctr == s.count_first && s.depth == 0.0 && s.l5_lines_seen == 1) {
    ++s.count_first;
  }
  if (s.smode == 2) s.start_tctr = s.tctr;
  return s.smode < 2 && s.tctr == s.count_first;
}

void end_profile_scan() {
  Store& s = store;
  DepthChoice start = depth_choice(start_depth_argument());
  DepthChoice end = depth_choice(end_depth_argument());
  const bool descending = s.dive_direction == 1;
  const bool variant = selects_variant(start) && selects_variant(end);
  if (descending) {
    s.start_depth = round_even(s.top_depth);
    s.end_depth = round_even(s.bottom_depth);
  } else if (start == DepthChoice::zero && end == DepthChoice::zero) {
    s.start_depth = round_even(s.bottom_depth + 0.501);
    s.end_depth = round_even(s.top_depth);
  }
  if (descending && start == DepthChoice::one && end == DepthChoice::one) s.top_depth = s.depth;
  if (!descending && variant) {
    s.end_depth = round_even(s.depth);
    s.start_depth = round_even(s.bottom_depth);
    if (s.eof_seen == 1) s.start_time = s.elapsed_time;
  }
  console::write("xxxxxx" + real_field(s.top_depth, 8, 1) + real_field(s.bottom_depth, 8, 1) +
                 real_field(s.start_depth, 8, 1) + real_field(s.end_depth, 8, 1) +
                 real_field(s.elapsed_time, 8, 3) + real_field(s.bottom_time, 8, 2) +
                 real_field(s.start_time, 8, 2));
  s.descent_run = 0;
  s.profile_turned = 0;
  s.eof_seen = 0;
  s.ctd_lines_seen = 0;
  s.bad_ctd_run = 0;
  s.elapsed_time = 0.0;
  s.reader_phase = 1;
  s.data_file.rewind();
  s.current_bin = 0;
  for (int k = 1; k <= kSteps; ++k) s.ctd[k][kCtdScans] = 0.0;
}

}  // namespace

void find_start() {
  Store& s = store;
  DataFile& file = s.data_file;
  // The time mode's profile scan uses no line: CTD lines are read only in
  // the other modes and L5 lines only in the start search, and the scan
  // ends, with the end of data seen, at the first empty line or the end of
  // the file, which the start search reaches again on its own. Ending it
  // at once leaves everything as reading up to there would.
  if (s.smode == 0) {
    s.eof_seen = 1;
    end_profile_scan();
  }
  for (;;) {
    s.line_tag = file.read_char();
    if (s.profile_turned == 1) {
      end_profile_scan();
      continue;
    }
    if (s.line_tag == '#') read_header_block();
    const int tag = s.line_tag;
    if (tag == 'L' && s.reader_phase == 1) {
      if (search_l5_line()) return;
    } else if (tag == 'C' && s.smode > 0 && s.ctd_lines_seen >= kFirstCtdLinesPassedOver) {
      if (read_first_pass_ctd_line()) return;
    } else if (tag == DataFile::kEmpty) {
      s.eof_seen = 1;
      if (s.reader_phase == 1) return;
      end_profile_scan();
    } else {
      if (tag == 'C') ++s.ctd_lines_seen;
      file.skip_line();
    }
  }
}

}  // namespace veka
