// The reader's checks of damaged lines and their messages, and the depth
// spike filter. Each message quotes the values involved: D, T and C are
// depth, ctd_t_value and ctd_c_value as they stand, that is, the values of
// the last accepted CTD line.
#include <cmath>
#include <string>

#include "common/console.h"
#include "common/format.h"
#include "reader/reader.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kMaxTemperature = 35.0;   // [degC]
constexpr double kMaxConductivity = 50.0;  // [mS/cm]
constexpr double kSpikeJump = 3.0;         // [m]
constexpr double kSpikeScanRate = 25.0;    // [1/s]
constexpr double kSpikeSettling = 2.0;     // [s]

std::string values_1_to_3() {
  const Store& s = store;
  return real_field(s.ctd_values[1], 9, 3) + real_field(s.ctd_values[2], 8, 3) +
         real_field(s.ctd_values[3], 8, 3);
}

std::string temperature_and_conductivity() {
  return real_field(store.ctd_t_value, 8, 3) + real_field(store.ctd_c_value, 8, 3);
}

std::string profile_field() {
  return " Profile" + int_field(store.profile_number, 3);
}

std::string tctr_field(int32_t count) {
  return " tctr" + int_field(count, 8);
}

// The number 0 and dive_sign in the two-digit scientific form.
std::string zero_and_dive_sign() {
  return sci_field(0.0) + sci_field(store.dive_sign);
}

std::string character_text(int c) {
  return c == DataFile::kEmpty ? std::string() : std::string(1, static_cast<char>(c));
}

std::string token() {
  return std::string(store.token_text.view());
}

void line_and_wait(const std::string& text) {
  console::problem(text);
  console::wait_for_enter();
}

// Values 1, 2 and 3 of the MEP element record before the current one.
std::string previous_mep_record() {
  int32_t previous = store.mep_count - 1;
  MepElement record{};
  if (previous >= 1 && previous <= kMepRecords) record = store.mep_elements[previous];
  return int_field(record.element, 3) + int_field(record.time, 8) + int_field(record.duration, 4);
}

}  // namespace

void report_first_pass_ctd_line(CtdLineEnd end) {
  const Store& s = store;
  switch (end) {
    case CtdLineEnd::extra_data:
      console::problem(int_field(s.field_index, 0) + real_field(s.depth, 8, 2) +
                       "Extra data in CTD line at depth0" + values_1_to_3() + " " + token() +
                       tctr_field(s.tctr) + " dq1" + int_field(s.bad_ctd_run, 4));
      break;
    case CtdLineEnd::ended_before_value:
      console::problem("Short of data in CTD line at depth1" + real_field(s.depth, 8, 3) +
                       values_1_to_3() + " " + token() + "  tctr" + int_field(s.tctr, 8));
      break;
    case CtdLineEnd::short_value:
      console::problem("Missing CTD data at depth1a " + real_field(s.saved_ctd_values[1], 9, 3) +
                       real_field(s.saved_ctd_values[2], 8, 3) +
                       real_field(s.saved_ctd_values[3], 8, 3) + real_field(s.ctd_values[4], 8, 3) +
                       "dq1" + int_field(s.bad_ctd_run, 4) + real_field(s.elapsed_time, 10, 3) +
                       " " + int_field(s.field_index, 0) + " Num_ctd" +
                       int_field(s.ctd_field_count, 8) + tctr_field(s.tctr));
      break;
    default:
      // An empty value needs a line end before it starts, which these
      // phases have already reported as a short line.
      break;
  }
}

void report_long_bad_ctd_run() {
  line_and_wait("Check 2 Lines after Line 5");
}

void report_main_pass_ctd_line(CtdLineEnd end) {
  const Store& s = store;
  std::string quoted = temperature_and_conductivity();
  switch (end) {
    case CtdLineEnd::extra_data:
      console::problem("Extra data in CTD line at depth" + real_field(s.depth, 8, 3) + quoted +
                       "  tctr" + int_field(s.tctr, 8));
      break;
    case CtdLineEnd::short_value:
      console::problem("Found EOL 1-Missing CTD data at depth " + real_field(s.depth, 9, 3) +
                       quoted + tctr_field(s.start_tctr));
      break;
    case CtdLineEnd::empty_value:
      console::problem("Found EOL 2-Missing CTD data at depth " + real_field(s.depth, 9, 3) +
                       quoted + tctr_field(s.start_tctr));
      break;
    default:
      break;
  }
}

void report_too_many_bad_ctd_lines() {
  line_and_wait("Too many bad CTD lines at depth,temp,sal" + real_field(store.depth, 8, 3) +
                temperature_and_conductivity());
}

bool checks_ctd_plausibility() {
  return store.ctd_maker_text == "AML";
}

bool ctd_values_implausible(const double values[]) {
  return values[3] > kMaxTemperature || values[2] > kMaxConductivity;
}

bool is_depth_spike(double depth, double prev_depth, double scan_rate, double elapsed_time) {
  return std::abs(depth - prev_depth) > kSpikeJump && scan_rate == kSpikeScanRate &&
         elapsed_time > kSpikeSettling;
}

void apply_spike_filter() {
  Store& s = store;
  if (is_depth_spike(s.depth, s.prev_depth, s.ctd_scan_rate, s.elapsed_time)) {
    console::problem(real_field(s.depth, 8, 2) + real_field(s.prev_depth, 8, 2) +
                     "yyxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
    for (int i = 0; i < 4; ++i) console::end_line();
    s.depth = s.prev_depth;
  }
}

void report_deep_scan() {
  const Store& s = store;
  console::write(real_field(s.depth, 8, 2) + " " + int_field(s.dive_direction, 7) +
                 real_field(s.dive_sign, 8, 0));
}

void report_bad_sep_line_number(int32_t k) {
  line_and_wait("Problem SEP Line -L" + int_field(k, 1) + " after depth" +
                real_field(store.depth, 7, 3) + " at prog line 80(+1)" +
                temperature_and_conductivity() + profile_field() + zero_and_dive_sign());
}

void report_missing_sep_blank() {
  line_and_wait("Problem reading Sizes after depth" + real_field(store.depth, 7, 3) +
                " at prog line 80(+3)" + temperature_and_conductivity() + profile_field());
}

void report_short_sep_line(int32_t k, int32_t channel) {
  const Store& s = store;
  line_and_wait("Problem SEP1 line L" + int_field(k, 2) + " at depth " + real_field(s.depth, 7, 3) +
                " at prog line 79" + int_field(channel, 0) + int_field(s.sep_values_per_line, 5) +
                "p" + character_text(s.next_char) + "p" + temperature_and_conductivity() +
                int_field(s.tctr, 8));
}

void report_empty_sep_count(int32_t k) {
  line_and_wait("Problem SEP2 line L" + int_field(k, 2) + " at depth " +
                real_field(store.depth, 7, 3) + " at prog line 79" +
                temperature_and_conductivity() + profile_field() + " tctr" +
                int_field(store.tctr, 7));
}

void report_missing_sep_line(int32_t k) {
  line_and_wait("Problem in reading SEP Line - L" + int_field(k + 1, 1) + " at depth" +
                real_field(store.depth, 9, 4) + " at Prog line 81(+1)" +
                temperature_and_conductivity() + profile_field() + zero_and_dive_sign());
}

void report_missing_l5_blank() {
  line_and_wait("Problem2 SEP L5 - L" + int_field(store.sep_line_number, 1) + " at depth" +
                real_field(store.depth, 7, 3) + " at prog line 17(+2)" +
                temperature_and_conductivity() + profile_field());
}

void report_short_l5_line(bool main_pass) {
  line_and_wait("Problem SEP L5 " + int_field(store.sep_line_number, 3) + " at depth " +
                real_field(store.depth, 7, 3) +
                (main_pass ? " at prog line 83" : " at prog line 303") +
                temperature_and_conductivity() + profile_field());
}

void report_missing_mep_blank() {
  console::problem("Problem MEP after depth1" + real_field(store.depth, 9, 4) +
                   temperature_and_conductivity() + tctr_field(store.tctr));
}

void report_empty_mep_field() {
  console::problem("Problem MEP line at depth2 " + real_field(store.depth, 9, 4) +
                   temperature_and_conductivity() + tctr_field(store.tctr) + previous_mep_record());
}

void report_short_mep_line() {
  console::problem("Problem MEP line at depth2a " + real_field(store.depth, 9, 4) +
                   temperature_and_conductivity() + tctr_field(store.tctr) + previous_mep_record());
}

}  // namespace veka
