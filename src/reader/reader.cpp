// Data-file reader: the order of its passes, the start of the analysed range,
// the end of data and what follows from it (the profile's step range, the
// 25-step bounds of the reports, the SEP counts per millimetre class), and
// the line pieces that the passes share.
//
// Reads   data_file, smode, start_depth [m], dive_direction, ctd_rate,
//         the values of the last CTD line, mep_count, arguments 7, 8, 23, 60,
//         bin_counts[sep_step_first..sep_step_last][1..400]
// Writes  ctd[start step][kCtdScans..kCtdAnalog5], start_depth,
//         end_depth [m], start_index, end_index, range_lo, range_hi, range_low, range_high,
//         sep_counts_by_mm[1..7], profile_number; bin_counts[k][1..400]
//         and sep_counts_as_read cleared for argument 60 = 2, 5 or 6.
#include "reader/reader.h"

#include <algorithm>
#include <limits>
#include <string>

#include "common/console.h"
#include "common/fatal.h"
#include "common/format.h"
#include "common/rounding.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kSepClassesByMm = 400;  // size channels that go into sep_counts_by_mm
constexpr int kFileNameIndent = 34;

// A step that the reader hands on as a range bound lies inside the arrays.
int32_t limited_to_steps(int32_t step) {
  return std::clamp(step, 1, kSteps);
}

void print_start_line() {
  const Store& s = store;
  console::end_line();
  if (s.smode < 2) {
    console::line("1-Found Start Time" + int_field(s.tctr, 8) + " Depth" +
                  real_field(s.depth, 5, 1) + " dint" + int_field(s.current_bin, 5) + " Dive_dirn" +
                  real_field(s.dive_sign, 4, 0) + " Temp" + real_field(s.ctd_t_value, 7, 3) +
                  " Sal" + real_field(s.ctd_c_value, 7, 3) + "Search endtime" +
                  int_field(s.count_last, 6));
  } else {
    console::line("1-Found Start Depth" + real_field(s.depth, 5, 1) + " Time/count" +
                  int_field(s.start_tctr, 8) + " Dive_dirn" + real_field(s.dive_sign, 4, 0) +
                  " Temp" + real_field(s.ctd_t_value, 7, 3) + " Sal" +
                  real_field(s.ctd_c_value, 7, 3) + "Search end_depth" +
                  real_field(s.end_depth, 6, 0) + " Start_depth" + real_field(s.start_depth, 8, 1) +
                  " End_depth" + real_field(s.end_depth, 8, 1) + " dints" +
                  int_field(s.start_index, 6) + " dinte" + int_field(s.end_index, 6) +
                  real_field(s.start_time, 8, 2) + real_field(s.bottom_time, 8, 2));
  }
}

void print_end_lines() {
  const Store& s = store;
  std::string quoted = real_field(s.ctd_t_value, 8, 3) + real_field(s.ctd_c_value, 8, 3) +
                       "  Stored MEPs" + int_field(s.mep_count, 6) + " Profile" +
                       int_field(s.run_label_number, 3);
  if (s.smode < 2) {
    console::line("2-Found End Time  " + int_field(s.tctr, 8) + " Depth" +
                  real_field(s.depth, 8, 3) + quoted);
  } else {
    console::line("2-Found End Depth" + real_field(s.depth, 8, 3) + " Time/ct" +
                  int_field(s.tctr, 8) + quoted);
  }
}

// The reports show the profile in 25 m (or 25 step) blocks.
void set_report_range() {
  Store& s = store;
  int32_t lower = 0;
  int32_t upper = 0;
  if (s.start_index != s.end_index) {
    upper = 25 * round_to_int(std::max(s.start_index, s.end_index) / 25.0 + 0.5);
    lower = 25 * round_to_int(std::min(s.start_index, s.end_index) / 25.0 - 0.5);
  }
  if (lower < 25) lower = 1;
  s.range_low = lower;
  s.range_high = upper;
}

[[noreturn]] void stop_for_too_many_meps() {
  console::end_line();
  console::end_line();
  console::problem("Too many MEP-elements (" + int_field(store.mep_count, 12) +
                   ") to process - must reduce the (time)range of analyses.");
  console::line("Press \"enter\" to halt program");
  console::wait_for_enter();
  throw ProgramStop(1);
}

// Index m holds the single-element counts of m-1 to m millimetres. The sums
// are kept wide so that absurd counts saturate instead of wrapping. Only
// the steps that SEP counts went into are summed: every other step of
// bin_counts is still 0 from the reset, and a count of 0 adds nothing.
void count_sep_by_mm() {
  Store& s = store;
  int64_t sums[36] = {};
  for (int b = std::max(s.sep_step_first, 1); b <= s.sep_step_last; ++b) {
    const double* counts = s.bin_counts[b];
    for (int c = 1; c <= kSepClassesByMm; ++c) {
      sums[trunc_to_int(15 * c / 1000.0) + 1] += round_to_int(counts[c]);
    }
  }
  for (int m = 1; m <= 7; ++m) {
    int64_t total = s.sep_counts_by_mm[m] + sums[m];
    s.sep_counts_by_mm[m] = static_cast<int32_t>(std::clamp<int64_t>(
        total, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  }
}

// The counts as read go too: they are the particles the analysis counts.
// The steps without SEP counts hold none to clear.
void clear_sep_counts() {
  for (int b = std::max(store.sep_step_first, 1); b <= store.sep_step_last; ++b) {
    double* counts = store.bin_counts[b];
    std::fill(counts + 1, counts + kSepClassesByMm + 1, 0.0);
  }
  store.sep_counts_as_read.clear();
}

}  // namespace

double ctd_field(const double values[], int code) {
  const int32_t position = store.ctd_field_position[code];
  return position >= 1 && position <= kCtdFields ? values[position] : 0.0;
}

double ctd_field(int code) {
  return ctd_field(store.ctd_values, code);
}

double time_slice(int32_t tctr) {
  const Store& s = store;
  return static_cast<double>(static_cast<int64_t>(tctr) - s.count_first) * s.dfct + 0.5001;
}

void take_ctd_line_values() {
  Store& s = store;
  s.depth = std::max(ctd_field(kFieldD), 1.0);
  s.ctd_t_value = ctd_field(kFieldT);
  s.ctd_c_value = ctd_field(kFieldC);
  s.ctd_s_value = ctd_field(kFieldS);
}

void round_depth_and_time() {
  Store& s = store;
  s.depth = round_to_fraction(s.depth, 10.0);
  s.elapsed_time = round_to_fraction(s.elapsed_time, 100.0);
}

bool read_ctd_line_values(bool first_two_phases, int32_t& bad) {
  Store& s = store;
  s.elapsed_time += s.scan_interval;
  const CtdLineEnd end = read_ctd_values(first_two_phases);
  if (end == CtdLineEnd::abandoned) {
    s.data_file.skip_line();
    return false;
  }
  if (end != CtdLineEnd::complete) {
    if (first_two_phases) {
      report_first_pass_ctd_line(end);
    } else {
      report_main_pass_ctd_line(end);
    }
    bad = 1;
    ++s.bad_ctd_run;
  }
  return true;
}

void read_l5_values(double values[kL5Values + 1], bool main_pass) {
  Store& s = store;
  if (s.data_file.read_char() != ' ') report_missing_l5_blank();
  const int32_t fields = s.l5_value_count;
  LineReader line(s.data_file);
  for (int32_t field = 1; field <= fields; ++field) {
    int c = read_field(line);
    if (field <= kL5Values) values[field] = real_value(s.token_text);
    if (c == DataFile::kEmpty) {
      if (field < fields) report_short_l5_line(main_pass);
      if (s.token_text.empty()) report_short_l5_line(main_pass);
    }
  }
}

void initialise_reader() {
  Store& s = store;
  s.reader_phase = 0;
  s.top_depth = 10000.0;
  s.bottom_depth = -1.0;
  s.descent_run = 0;
  s.ascent_run = 0.0;
  s.profile_turned = 0;
  s.eof_seen = 0;
  s.ctd_lines_seen = 0;
  s.l5_lines_seen = 0;
  s.bad_ctd_run = 0;
  s.bad_ctd_limit = 20;
  const bool descending = s.dive_direction == 1;
  const bool given_start = depth_choice(start_depth_argument()) == DepthChoice::above_one;
  s.depth_floor = (!descending && given_start) ? s.start_depth : 4.0;
  if (descending) s.prev_depth = 1.0;
}

void handle_start() {
  Store& s = store;
  if (s.smode == 0) {
    s.depth = 1.0;
  } else if (s.smode == 2) {
    s.count_first = s.start_tctr;
  }
  s.current_bin = round_to_int(s.depth);
  if (is_step(s.current_bin)) {
    double* row = s.ctd[s.current_bin];
    row[kCtdScans] += 1.0;
    row[kCtdTemperature] = s.ctd_t_value;
    row[kCtdConductivity] = s.ctd_c_value;
    row[kCtdSalinity] = s.ctd_s_value;
    row[kCtdRate] = s.ctd_rate;
    for (int i = 0; i < kCtdAnalogChannels; ++i) row[kCtdAnalog1 + i] = ctd_field(kFieldA1 + i);
  }
  if (s.eof_seen == 0) s.start_depth = s.depth;
  s.start_index = limited_to_steps(round_to_int(s.start_depth));
  s.reader_phase = 2;
  print_start_line();
}

void finish_reading() {
  Store& s = store;
  print_end_lines();
  ++s.profile_number;
  s.end_depth = s.depth;
  s.end_index = limited_to_steps(round_to_int(s.end_depth));
  console::line(" Found End-of-file - Finished    Dints" + int_field(s.start_index, 8) + " Dinte" +
                int_field(s.end_index, 8));
  s.range_lo = std::min(s.start_index, s.end_index);
  s.range_hi = std::max(s.start_index, s.end_index);
  set_report_range();
  if (s.mep_count > kMepRecords) stop_for_too_many_meps();
  count_sep_by_mm();
  const AnalysisOption option = analysis_option();
  if (option == AnalysisOption::opacity_limit || option == AnalysisOption::opaque_only ||
      option == AnalysisOption::translucent_only) {
    clear_sep_counts();
  }
  s.data_file.close();
  console::end_line();
  console::line(std::string(kFileNameIndent, ' ') + s.data_file_name);
  // The last two steps of an ascending cast found by itself are left out.
  if (argument_text(7) == "1" && argument_text(8) == "1" && argument_text(23) == "0") {
    s.range_hi -= 2;
  }
}

void read_data_file() {
  initialise_reader();
  find_start();
  handle_start();
  read_main_pass();
  finish_reading();
}

}  // namespace veka
