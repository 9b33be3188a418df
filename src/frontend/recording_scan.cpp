#include "frontend/recording_scan.h"

#include <algorithm>
#include <climits>

#include "common/rounding.h"
#include "driver/file_defaults.h"
#include "reader/tokenizers.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr double kFrameSeconds = 0.5;  // one SEP block every half second
constexpr int kL5TimeCountField = 3;

struct FieldCount {
  int32_t fields = 0;
  bool empty_field = false;
  double kept = 0.0;  // the value of the field asked for
};

// The fields of the rest of an SEP, L5 or MEP line, as the reader's field
// tokenizer splits them.
FieldCount count_fields(int32_t keep) {
  FieldCount count;
  LineReader line(store.data_file);
  for (;;) {
    const int end = read_field(line);
    ++count.fields;
    if (store.token_text.empty()) count.empty_field = true;
    if (count.fields == keep) count.kept = real_value(store.token_text);
    if (end == DataFile::kEmpty) return count;
  }
}

class Scanner {
 public:
  Scanner(const std::string& file_name, int depth_field);
  RecordingScan finish();
  void read_line();

 private:
  void read_ctd_line();
  void read_sep_line();
  void read_mep_line();
  void note_time_count(int32_t count);
  void note_depth(double depth);

  RecordingScan scan_;
  DataFile& file_ = store.data_file;
  const int depth_field_;
  int next_sep_line_ = 1;  // of the block being read
  int64_t all_ctd_lines_ = 0;
  int64_t ctd_lines_at_first_l5_ = 0;
  int64_t ctd_lines_at_last_l5_ = 0;
  std::vector<std::string> header_;  // the lines of the header block at the top
  bool in_header_ = true;
};

Scanner::Scanner(const std::string& file_name, int depth_field) : depth_field_(depth_field) {
  scan_.file = file_name;
  set_processing_constants();
  // More values than any line holds: the tokenizer then counts every value.
  store.ctd_field_count = INT32_MAX;
  file_.open(file_name);
  scan_.bytes = file_.size();
}

void Scanner::read_line() {
  const std::string_view line = file_.rest_of_line();
  const int tag = file_.read_char();
  ++scan_.lines;
  const bool header = tag == '#' || tag == '*';
  if (!header) in_header_ = false;
  if (in_header_) header_.emplace_back(line);
  if (tag != 'L') next_sep_line_ = 1;
  if (header) {
    ++scan_.counts.header;
  } else if (tag == 'C') {
    read_ctd_line();
  } else if (tag == 'L') {
    read_sep_line();
  } else if (tag == 'M') {
    read_mep_line();
  } else if (tag == DataFile::kEmpty) {
    ++scan_.counts.empty;
  } else {
    ++scan_.counts.other;
  }
  file_.skip_line();
}

void Scanner::read_ctd_line() {
  ++all_ctd_lines_;
  const CtdLineEnd end = read_ctd_values(true);
  if (end == CtdLineEnd::abandoned) return;
  const int32_t values = store.field_index;
  ++scan_.ctd_values_per_line[values];
  if (depth_field_ > values) return;
  // A line that ends inside its last value leaves that value unstored, in
  // the token text.
  const bool last_in_token = depth_field_ == values && end == CtdLineEnd::short_value;
  note_depth(last_in_token ? real_value(store.token_text) : store.ctd_values[depth_field_]);
}

void Scanner::read_sep_line() {
  const int number = file_.read_char() - '0';
  const bool blank = file_.read_char() == ' ';
  if (number < 1 || number > 5 || !blank) {
    ++scan_.counts.damaged;
    next_sep_line_ = 1;
    return;
  }
  const bool status_line = number == 5;
  const FieldCount count = count_fields(status_line ? kL5TimeCountField : 0);
  const int32_t wanted = status_line ? store.l5_value_count : store.sep_values_per_line;
  if (count.fields != wanted || count.empty_field) {
    ++scan_.counts.damaged;
    next_sep_line_ = 1;
    return;
  }
  if (!status_line) {
    next_sep_line_ = number == next_sep_line_ ? number + 1 : (number == 1 ? 2 : 1);
    return;
  }
  ++scan_.counts.l5;
  if (next_sep_line_ == 5) ++scan_.counts.sep_blocks;
  next_sep_line_ = 1;
  note_time_count(round_to_int(count.kept));
}

void Scanner::read_mep_line() {
  const bool blank = file_.read_char() == ' ';
  const FieldCount count = count_fields(0);
  if (blank && count.fields == store.mep_value_count && !count.empty_field) {
    ++scan_.counts.mep_records;
  } else {
    ++scan_.counts.damaged;
  }
}

void Scanner::note_time_count(int32_t count) {
  if (!scan_.first_time_count) {
    scan_.first_time_count = count;
    ctd_lines_at_first_l5_ = all_ctd_lines_;
  }
  scan_.last_time_count = count;
  ctd_lines_at_last_l5_ = all_ctd_lines_;
}

void Scanner::note_depth(double depth) {
  if (!scan_.shallowest || depth < *scan_.shallowest) scan_.shallowest = depth;
  if (!scan_.deepest || depth > *scan_.deepest) {
    scan_.deepest = depth;
    scan_.deepest_time_count = scan_.last_time_count;
  }
}

RecordingScan Scanner::finish() {
  // CTD lines of another value count than most are damaged.
  int64_t usual = 0;
  for (const auto& [values, lines] : scan_.ctd_values_per_line) usual = std::max(usual, lines);
  scan_.counts.ctd = usual;
  scan_.counts.damaged += all_ctd_lines_ - usual;
  // A rate needs time between the first and the last L5 line, and scans in it.
  const int64_t scans = ctd_lines_at_last_l5_ - ctd_lines_at_first_l5_;
  if (scan_.first_time_count && *scan_.last_time_count > *scan_.first_time_count && scans > 0) {
    scan_.scan_rate = static_cast<double>(scans) / *scan_.time_span_seconds();
  }
  scan_.station = parse_station_header(header_);
  file_.close();
  return scan_;
}

}  // namespace

std::optional<double> RecordingScan::time_span_seconds() const {
  if (!first_time_count) return std::nullopt;
  return (static_cast<double>(*last_time_count) - *first_time_count) * kFrameSeconds;
}

RecordingScan scan_recording(const std::string& file_name, int depth_field) {
  Scanner scanner(file_name, depth_field);
  while (!store.data_file.at_end()) scanner.read_line();
  return scanner.finish();
}

}  // namespace veka
