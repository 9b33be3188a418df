// Run parameters taken from the command line for every file, and the
// per-file settings and constants given before the reader starts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/ctd_fields.h"
#include "store/records.h"

namespace veka {

struct RunParameters {
  std::string file_number_text;  // at most 3 characters
  std::string version_label;
  std::string data_file_extension;
  int32_t run_label_number;
  std::string run_label;         // argument 9, at most 4 characters
  std::string data_file_name;    // at most 90 characters
  std::string output_base_name;  // at most 90 characters
  std::string speed_source_label;
  std::string direction_label;
  std::string ctd_maker_text;
  std::string ctd_string;      // arguments 12..22 joined, at most 49 characters
  std::string end_depth_text;  // argument 8, at most 4 characters

  int32_t smode;        // 0 time bins, 1 depth bins over a time range, 2 depth with detection
  int32_t depth_mode;   // 1 in the depth modes
  int32_t count_first;  // first and last time count of the analysed range
  int32_t count_last;
  double start_depth;                          // [m]; 0 and 1 select detection variants
  double end_depth;                            // [m]
  double ctd_scan_rate;                        // [scans/s]
  int32_t ctd_field_position[kCtdFields + 1];  // [CtdField] -> position on a CTD line, 0 if none
  int32_t ctd_field_count;
  int32_t dive_direction;  // +1 descending cast, -1 ascending
  double exp_sp;           // expected flow speed [m/s]
  double set_flow_value;
  int32_t set_flow;   // 1: speed from the measured transit counts
  double flow_scale;  // 1 / sqrt(argument 26)
  double tunnel_factor;
  double tunnel_area;               // [m2]
  double shape_length_bounds[7];    // [1..6] mm
  double shape_diameter_bounds[7];  // [1..6] mm
  double shape_ratio_bounds[7];     // [1..6]
  double diameter_bin_low[6];       // [1..5] um
  double diameter_bin_high[6];      // [1..5] um
  double shape_file_option;
  double range_low;  // replaced by the reader
  double range_high;
  double dfct;           // time bins per time count
  double dfctx;          // time counts per bin / 2
  double scan_interval;  // [s per scan]
  double diameter_range_low_mm;
  double diameter_range_high_mm;
  double unit_factor_g;
  int32_t ctd_num;  // never set; printed only
};

struct FileSettings {
  double sample_record_count;  // five-line sample records found by the pre-scan
  SpeedCurve speed_curve[3];   // [1] transit counts 13..210, [2] counts 3..12
  double exp_fl;               // expected transit count; 0 when exp_sp is out of range
  int32_t exp_fl_found;
  double curve_root;
  double curve_speed;
  double mep_cubic_a[4];  // element size -> element diameter [um]
  double mep_cubic_b[4];  // summed size -> equivalent spherical diameter [mm]

  double long_element_factor;
  double opacity_duration_factor;
  double mean_inverse_area_limit;
  double mep_span_factor;
  double mep_span_limit;
  double transit_blend_weight;
  double transit_band_high;
  double transit_band_low;
  int32_t dark_size;
  int32_t full_width_size;
  int32_t mep_max_elements;
  int32_t shape_image_width;
  int32_t mep_duration_limit;

  int32_t sep_values_per_line;
  int32_t sep_lines_per_block;
  int32_t l5_value_count;
  int32_t mep_value_count;

  // The "#" and "*" lines that open the data file, without their line ends,
  // kept for the exports.
  std::vector<std::string> recording_header;
};

}  // namespace veka
