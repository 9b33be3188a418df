// Data-file reader: reads the open data file to its end, decides which part
// of the recording is analysed (a time-count range, or one cast between a
// start and an end depth that it can find by itself) and accumulates the CTD
// scans, SEP blocks and MEP element records of that part into steps.
//
// Reads   data_file (open at line 1), smode, count_first, count_last,
//         start_depth, end_depth [m], dive_direction, ctd_scan_rate [1/s],
//         scan_interval [s], dfct, ctd_field_position, ctd_field_count,
//         ctd_maker_text, prev_depth [m], arguments 7, 8, 23 and 60
// Writes  ctd[k][kCtdScans..kCtdAnalog5] (scans, sums of T, C, S, descent
//         rate [m/s], A1..A5), ctd[k][kCtdFlowCount], ctd[k][kCtdFlowTime]
//         (flow count and time sums), bin_counts[k][1..400], sep_step_first,
//         sep_step_last, sep_frames[k], flow_lines[k],
//         l5_values[k][1..7], mep_elements[1..mep_count], sep_counts_by_mm[1..7], tctr,
//         start_index, end_index, range_lo, range_hi, range_low, range_high;
//         closes data_file. Damaged lines are reported on the console, most
//         with a wait for Enter; more than 500000 MEP element records stop
//         the program (ProgramStop(1)) after a wait.
#pragma once

#include <cstdint>

#include "reader/tokenizers.h"

namespace veka {

void read_data_file();

// ---- Pieces of the reader, shared by its sources ----

// The passes, in their order.
void initialise_reader();
void find_start();      // profile scan and start search, up to the start
void handle_start();    // the start line and the first step
void read_main_pass();  // up to the end of data
void finish_reading();  // end of data, range and post-processing

// Arguments 7 and 8 choose the detection: 0, 1 or more than 1. A negative
// value is none of these and selects no rule at all.
enum class DepthChoice { none, zero, one, above_one };
DepthChoice depth_choice(int32_t argument);
// A detection variant needs both arguments at 1 or more.
inline bool selects_variant(DepthChoice choice) {
  return choice == DepthChoice::one || choice == DepthChoice::above_one;
}
int32_t start_depth_argument();  // argument 7
int32_t end_depth_argument();    // argument 8, as its 4-character text

// ctd_rate [m/s] from depth and prev_depth, and its sign dive_sign.
void update_ctd_rate();
// Profile detection on a CTD line of the first two phases (depth and
// prev_depth set); returns whether a variant used the line.
bool detect_profile();
// After a used line of the first two phases, smode 2.
bool start_test_passes();
// After a main-pass CTD line, smode 2.
bool end_test_passes();

// The value of the current CTD line for a field code (CtdField); a letter
// missing from the command line reads 0. The same of other values by
// position ([1..11]).
double ctd_field(int code);
double ctd_field(const double values[], int code);
// The time mode's slice of a time count, (tctr - count_first) * dfct +
// 0.5001; rounded, the step of the blocks that follow the count.
double time_slice(int32_t tctr);
// depth (at least 1 m), ctd_t_value, ctd_c_value and ctd_s_value from the
// values of the line.
void take_ctd_line_values();
void apply_spike_filter();
void round_depth_and_time();
// A CTD line, one scan after the previous one: its values, with a damaged
// line reported, counted in bad_ctd_run and marked in `bad`. False for a
// line that the tokenizer abandoned, which is then passed over.
bool read_ctd_line_values(bool first_two_phases, int32_t& bad);

// The blank after "L5" and the seven values of an L5 line into
// values[1..7], with their checks; `main_pass` selects the program line
// that the message of a short line shows.
constexpr int32_t kL5Values = 7;
void read_l5_values(double values[kL5Values + 1], bool main_pass);

// ---- Checks and their console messages ----
// The plausibility rule of the instrument the run names (ctd_maker_text
// "AML"): values 2 and 3 of a CTD line, by position, are its conductivity
// [mS/cm] and temperature [degC], and a line beyond 50 mS/cm or 35 degC is
// implausible.
bool checks_ctd_plausibility();
bool ctd_values_implausible(const double values[]);
// A depth [m] more than 3 m from the previous one, at 25 scans per second
// and after the first 2 s [elapsed_time, s] of data, is a spike.
bool is_depth_spike(double depth, double prev_depth, double scan_rate, double elapsed_time);

// A CTD line that the tokenizer rejected, in the first two phases and in the
// main pass; and a run of rejected lines longer than bad_ctd_limit (waits).
void report_first_pass_ctd_line(CtdLineEnd end);
void report_main_pass_ctd_line(CtdLineEnd end);
void report_long_bad_ctd_run();
void report_too_many_bad_ctd_lines();
void report_deep_scan();  // a main-pass depth beyond 500 m
// SEP lines (all wait): a blank or a number above 4 after "L", no blank
// after the number, a count at the line end before channel 32·k, an empty
// count at the line end, a block line that does not start with "L".
void report_bad_sep_line_number(int32_t k);
void report_missing_sep_blank();
void report_short_sep_line(int32_t k, int32_t channel);
void report_empty_sep_count(int32_t k);
void report_missing_sep_line(int32_t k);
// L5 lines (wait): no blank after "L5"; a value at the line end before the
// seventh, or an empty one there.
void report_missing_l5_blank();
void report_short_l5_line(bool main_pass);
// MEP lines (no wait): no blank after "M", an empty field before a blank, a
// field at the line end before the fourth.
void report_missing_mep_blank();
void report_empty_mep_field();
void report_short_mep_line();

}  // namespace veka
