// State of the data-file reader: the tokenizers' scratch, the passes over
// the file, the cast detection and the range it found.
#pragma once

#include <cstdint>
#include <string_view>

namespace veka {

// The value a tokenizer is collecting: at most 8 characters are kept, the
// rest of a longer value is dropped.
struct TokenText {
  static constexpr int kCapacity = 8;
  char chars[kCapacity];
  int32_t length;

  void clear() { length = 0; }
  void append(int c) {
    if (length < kCapacity) chars[length++] = static_cast<char>(c);
  }
  bool empty() const { return length == 0; }
  std::string_view view() const { return {chars, static_cast<size_t>(length)}; }
};

struct ReaderState {
  // Scratch of the tokenizers. Characters are held as codes; DataFile::kEmpty
  // stands for the empty result at the end of a line.
  int line_tag;
  int next_char;
  TokenText token_text;
  int header_char5;
  int header_char6;
  int32_t field_index;
  int32_t token_chars;
  int32_t sep_line_number;
  double saved_ctd_values[4];  // [1..3] values 1..3 before the last value stored

  int32_t reader_phase;  // 0 profile scan, 1 start search, 2 main pass
  double depth;          // [m]
  double prev_depth;     // [m]
  double ctd_rate;       // [m/s]
  double dive_sign;
  double ctd_t_value;
  double ctd_c_value;
  double ctd_s_value;
  double elapsed_time;  // [s]
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
  int32_t l5_lines_seen;  // L5 lines of the start search
  int32_t mep_count;
  int32_t start_index;  // "dints"
  int32_t end_index;    // "dinte"
  int32_t profile_number;
  int32_t range_lo;  // first and last step of the profile
  int32_t range_hi;
  double l5_values[501][8];  // [step][1..7] of the last L5 line in the step
  // The first and last step that SEP counts went into (0 while none did).
  int32_t sep_step_first;
  int32_t sep_step_last;

  int32_t ctd_line_bad;
  int32_t line_flag;
  int32_t bad_ctd_run;
  int32_t bad_ctd_limit;
};

}  // namespace veka
