// Per-file defaults: counts the sample records of the data file in a quick
// pre-scan and leaves the file open at its first line for the reader, gives
// every processing setting and accumulator its starting value, and derives
// the expected transit count exp_fl from the expected speed exp_sp through
// the two speed curves (with a warning when exp_sp lies beyond them).
//
// Reads   data_file_name, exp_sp [m/s], start_depth [m]
// Writes  data_file (open), recording_header (its opening "#" and "*"
//         lines), sample_record_count, speed_curve[1..2], exp_fl,
//         diameter_class_um[1..1100] [um], mep_cubic_a, mep_cubic_b, the MEP
//         and reader settings, prev_depth, elapsed_time, profile_number.
#include "driver/file_defaults.h"

#include <cmath>
#include <string_view>

#include "common/console.h"
#include "common/format.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kHeaderLinesSkipped = 45;

void set_mep_settings() {
  Store& s = store;
  s.long_element_factor = 1.2;
  s.opacity_duration_factor = 1.5;
  s.mean_inverse_area_limit = 200.0;
  s.mep_span_factor = 1.5;
  s.mep_span_limit = 30.0;
  s.transit_blend_weight = 0.5;
  s.transit_band_high = 3.0;
  s.transit_band_low = 1.0 / 3.0;
  s.dark_size = 35;
  s.full_width_size = 40;
  s.mep_max_elements = 30;
  s.shape_image_width = 250;
  s.mep_duration_limit = 1000;
}

// First character of the next line (kEmpty for an empty line or the end of
// the file); the rest of the line is skipped.
int next_line_tag() {
  DataFile& file = store.data_file;
  int tag = file.read_char();
  file.skip_line();
  return tag;
}

// A sample record is a group of five consecutive lines beginning with "L";
// lines of other kinds between the groups are passed over, and a "#" line
// hides the header block of 45 lines after it. The count ends at an empty
// line or where the fifth line of a group does not begin with "L".
void count_sample_records() {
  Store& s = store;
  for (;;) {
    s.line_tag = next_line_tag();
    if (s.line_tag == '#') {
      for (int i = 0; i < kHeaderLinesSkipped; ++i) s.data_file.skip_line();
    }
    if (s.line_tag == DataFile::kEmpty) return;
    if (s.line_tag != 'L') continue;
    s.sample_record_count += 1.0;
    for (int i = 0; i < 4; ++i) {
      s.line_tag = next_line_tag();
      if (s.line_tag == DataFile::kEmpty) return;
    }
    if (s.line_tag != 'L') return;
  }
}

// The comment lines that open the recording, kept for the exports' station
// metadata so that the data file is read only once.
void keep_recording_header() {
  DataFile& file = store.data_file;
  for (std::string_view line = file.rest_of_line();
       !line.empty() && (line[0] == '#' || line[0] == '*'); line = file.rest_of_line()) {
    store.recording_header.emplace_back(line);
    file.skip_line();
  }
  file.rewind();
}

void set_reader_settings() {
  Store& s = store;
  s.sep_values_per_line = 32;
  s.sep_lines_per_block = 4;
  s.l5_value_count = 7;
  s.mep_value_count = 4;
  s.profile_number = 1;
  s.prev_depth = s.start_depth;
  s.elapsed_time = 0.0;
  // The accumulators of the later stages are already zero after the reset.
}

void fill_diameter_classes() {
  for (int i = 1; i <= kClasses; ++i) store.diameter_class_um[i] = 15.0 * i;
}

void set_speed_curves() {
  store.speed_curve[1] = {0.198996019, -2.603059062, 0.892897609, 0.006191239, -0.0013};
  store.speed_curve[2] = {30.113624222688, -1.4243159638326, 1.4125878289, 0.252430015529, -0.05};
}

// Searches transit counts from high to low speed: the result is the
// largest count in 3..210 whose speed exceeds exp_sp.
void search_curve(const SpeedCurve& curve, int highest, int lowest) {
  Store& s = store;
  for (int t = highest; t >= lowest; --t) {
    s.curve_root = std::sqrt(static_cast<double>(t));
    s.curve_speed = curve.speed_at_root(s.curve_root);
    if (s.exp_fl_found == 0 && s.curve_speed > s.exp_sp) {
      s.exp_fl = s.curve_root * s.curve_root;
      s.exp_fl_found = 1;
    }
  }
}

void find_expected_transit_count() {
  Store& s = store;
  s.exp_fl = 0.0;
  s.exp_fl_found = 0;
  search_curve(s.speed_curve[1], 210, 13);
  search_curve(s.speed_curve[2], 12, 3);
  if (s.exp_fl_found == 0) {
    console::problem("Expected Speed is out of range -exp_fl" + real_field(s.exp_fl, 8, 2) +
                     " exp_sp" + real_field(s.exp_sp, 8, 2));
    console::wait_for_enter();
  }
  s.exp_fl_found = 0;
}

void set_cubics() {
  Store& s = store;
  const double a[4] = {54.58634681, 0.507553898, -7.459811e-05, 4.88e-09};
  const double b[4] = {0.18060595529787837, 0.00025458972297562, -1.09879495e-09, 9.54e-15};
  for (int i = 0; i < 4; ++i) {
    s.mep_cubic_a[i] = a[i];
    s.mep_cubic_b[i] = b[i];
  }
}

}  // namespace

void set_processing_constants() {
  set_mep_settings();
  set_reader_settings();
  fill_diameter_classes();
  set_speed_curves();
  set_cubics();
}

void prepare_file_defaults() {
  Store& s = store;
  s.data_file.open(s.data_file_name);
  keep_recording_header();
  count_sample_records();
  s.data_file.rewind();
  set_processing_constants();
  find_expected_transit_count();
}

}  // namespace veka
