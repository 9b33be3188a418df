// State of the data-file reader: the tokenizers' scratch, the passes over
// the file, the cast detection and the range it found.
#pragma once

#include <cstdint>
#include <string>

namespace veka {

struct ReaderState {
  // Scratch of the tokenizers. Characters are held as codes; DataFile::kEmpty
  // stands for the empty result at the end of a line.
  int line_tag;
  int next_char;
  std::string token_text;  // at most 8 characters
  int header_char5;
  int header_char6;
  int32_t field_index;
  int32_t token_chars;
  int32_t sep_line_number;

  int32_t reader_phase;  // 0 profile scan, 1 start search, 2 main pass
  double depth;          // [m]
  double prev_depth;     // [m]
  double ctd_rate;       // [m/s]
  double dive_sign;
  double ctd_t_value;
  double ctd_c_value;
  double ctd_s_value;
  double elapsed_time;   // [s]
  int32_t current_bin;
  int32_t tctr;
  int32_t start_tctr;
  int32_t descent_run;
  double ascent_run;
  int32_t profile_turned;
  double top_depth;
  double bottom_depth;
  double depth_floor;
  double bottom_time;
  double start_time;
  int32_t eof_seen;
  int32_t ctd_lines_seen;
  int32_t mep_count;
  int32_t start_index;  // "dints"
  int32_t end_index;    // "dinte"
  int32_t profile_number;
  int32_t range_lo;     // first and last step of the profile
  int32_t range_hi;
  double l5_values[501][8];  // [step][1..7] of the last L5 line in the step

  int32_t ctd_line_bad;
  int32_t line_flag;
  int32_t bad_ctd_run;
  int32_t bad_ctd_limit;
};

}  // namespace veka
