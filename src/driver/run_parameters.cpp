// Run parameters: converts the positional command-line arguments into the
// store for every data file, derives the time-bin factor, the tunnel area
// and the file names, and prints the console header that echoes them.
//
// Reads   the command line (arguments 1..9, 11..56), file_number_text
// Writes  every run parameter of the store, data_file_name,
//         output_base_name, and header lines 1 to 10 on the console.
#include "driver/run_parameters.h"

#include <cmath>
#include <string>

#include "common/console.h"
#include "common/format.h"
#include "common/rounding.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr size_t kLabelCapacity = 4;
constexpr char kDataFileExtension[] = "dat";
constexpr size_t kCtdStringCapacity = 49;

std::string cut(const std::string& text, size_t capacity) {
  return text.substr(0, capacity);
}

void read_ctd_field_letters() {
  Store& s = store;
  for (int k = 1; k <= kCtdFields; ++k) {
    int code = ctd_field_code(argument_text(k + 11));
    if (code > 0) s.ctd_field_position[code] = k;
  }
  std::string header = "CTD String";
  for (int i = 1; i <= kCtdFields; ++i) header += int_field(s.ctd_field_position[i], 3);
  console::line(header);
  std::string joined;
  for (int k = 12; k <= 22; ++k) joined += argument_text(k);
  s.ctd_string = cut(joined, kCtdStringCapacity);
}

void read_modes_and_names() {
  Store& s = store;
  s.run_label = cut(argument_text(9), kLabelCapacity);
  switch (argument_integer(4)) {
    case 1:
      s.smode = 0, s.depth_mode = 0;
      break;
    case 0:
      s.smode = 1, s.depth_mode = 1;
      break;
    case 2:
      s.smode = 2, s.depth_mode = 1;
      break;
    default:
      s.smode = 0, s.depth_mode = 0;
  }
  s.count_first = argument_integer(5);
  s.count_last = argument_integer(6);
  s.start_depth = argument_integer(7);
  s.end_depth = argument_integer(8);
  s.end_depth_text = cut(argument_text(8), kLabelCapacity);
  s.dive_direction = argument_integer(23) == 0 ? -1 : 1;
  s.direction_label = argument_text(23) == "1" ? "Descending" : " Ascending";
  s.speed_source_label = argument_text(25) == "1" ? " VEKA Speed" : " Const. Speed";
  s.data_file_name = data_file_name_for(s.file_number_text);
  s.output_base_name = output_base_name_for(s.file_number_text);
}

void read_speed_settings() {
  Store& s = store;
  s.set_flow_value = argument_real(25);
  s.exp_sp = argument_real(24);
  s.set_flow = s.set_flow_value == 0.0 ? 0 : 1;
  TimeBinFactor factor = time_bin_factor(s.count_first, s.count_last);
  s.dfct = factor.dfct;
  s.dfctx = factor.dfctx;
  s.flow_scale = 1.0 / std::sqrt(argument_real(26));
  s.range_low = 1.0;
  s.range_high = 500.0;
}

void read_shape_bounds_and_diameter_bins() {
  Store& s = store;
  for (int i = 1; i <= 6; ++i) s.shape_length_bounds[i] = argument_real(27 + i);
  for (int i = 1; i <= 6; ++i) s.shape_diameter_bounds[i] = argument_real(33 + i);
  for (int i = 1; i <= 6; ++i) s.shape_ratio_bounds[i] = argument_real(39 + i);
  for (int i = 1; i <= 5; ++i) {
    s.diameter_bin_low[i] = argument_real(44 + 2 * i);
    s.diameter_bin_high[i] = argument_real(45 + 2 * i);
  }
  s.ctd_field_count = 0;
  for (int i = 1; i <= kCtdFields; ++i) {
    if (s.ctd_field_position[i] > 0) ++s.ctd_field_count;
  }
  for (int i = 1; i <= 5; ++i) {
    console::line(
        real_field(s.shape_length_bounds[i], 8, 3) + real_field(s.shape_diameter_bounds[i], 8, 3) +
        real_field(s.shape_ratio_bounds[i], 8, 3) + "    " +
        real_field(s.diameter_bin_low[i], 8, 0) + real_field(s.diameter_bin_high[i], 8, 0));
  }
  console::line(
      real_field(s.shape_length_bounds[6], 8, 3) + real_field(s.shape_diameter_bounds[6], 8, 3) +
      real_field(s.shape_ratio_bounds[6], 8, 3) + " Num_ctd=" + int_field(s.ctd_field_count, 3));
  s.diameter_range_low_mm = s.diameter_bin_low[1] / 1000;
  s.diameter_range_high_mm = s.diameter_bin_high[5] / 1000;
}

void read_instrument_settings() {
  Store& s = store;
  s.ctd_maker_text = "AML";
  s.ctd_scan_rate = argument_real(11);
  s.tunnel_factor = argument_integer(27) == 1 ? 2.5 : 1.0;
  s.tunnel_area = 0.0049 * s.tunnel_factor;
  console::line("Tunnel area" + real_field(s.tunnel_area, 9, 4) + " ctd_num" +
                int_field(s.ctd_num, 3) + " CTD ScanRate" + real_field(s.ctd_scan_rate, 8, 2));
  s.shape_file_option = argument_integer(56);
  s.scan_interval = 1.0 / s.ctd_scan_rate;
  s.unit_factor_g = 1.0;
  console::line("");
  console::line(s.data_file_name + "  y  " + argument_text(2) + " " + s.output_base_name + " " +
                s.run_label + int_field(s.count_first, 5) + int_field(s.count_last, 5) + " exp_sp" +
                real_field(s.exp_sp, 5, 2) + " set_flow" + int_field(s.set_flow, 5) + " dfct" +
                real_field(s.dfct, 5, 1) + " dfctx" + real_field(s.dfctx, 8, 1) + " smode" +
                int_field(s.smode, 3));
}

}  // namespace

std::string data_file_name_for(const std::string& file_number_text) {
  return argument_text(1) + argument_text(2) + file_number_text + "." + kDataFileExtension;
}

std::string output_base_name_for(const std::string& file_number_text) {
  return argument_text(3) + argument_text(2) + file_number_text + "_" + argument_text(9);
}

TimeBinFactor time_bin_factor(int32_t count_first, int32_t count_last) {
  int64_t span = static_cast<int64_t>(count_last) - count_first;
  int32_t k = round_to_int(static_cast<double>(span + 1) / 500 + 0.5);
  int32_t m = round_to_int((k - 0.00001) / 2 + 0.5);
  double dfct = 1.0 / static_cast<double>(2 * static_cast<int64_t>(m));
  return {dfct, 0.5 / dfct};
}

void read_run_parameters() {
  Store& s = store;
  s.version_label = "V1.3 Nov.22/04";
  s.data_file_extension = kDataFileExtension;
  s.run_label_number = 2;
  s.run_label = std::to_string(s.run_label_number);
  read_ctd_field_letters();
  read_modes_and_names();
  read_speed_settings();
  read_shape_bounds_and_diameter_bins();
  read_instrument_settings();
}

}  // namespace veka
