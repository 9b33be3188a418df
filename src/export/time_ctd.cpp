// CTD means of the time intervals, for the exports only. The time mode's
// reader reads no CTD line, so its reports carry no CTD column; the exports
// read the recording once more, in one pass of their own, and give the tow's
// intervals their depth, temperature, conductivity, salinity and analog
// channels. The pass keeps the reader's timing: the analysed range starts
// at the first L5 line whose time count is count_first and ends at the one
// whose count is count_last (or at an empty line), and every line belongs
// to the interval of the last L5 line's count. CTD lines are read with the
// reader's tokenizer and checked by its rules: an incomplete line, or one
// beyond the instrument's plausibility limits, is left out of the means (the
// reader would repair it with the previous values, salinity 0); a depth
// spike keeps the previous depth, as the reader's filter does. Nothing is
// printed, nothing waits, and nothing in the store changes.
//
// Reads   the data file again (data_file_name), count_first, count_last,
//         dfct, ctd_field_count, ctd_field_position, ctd_maker_text,
//         ctd_scan_rate [1/s], scan_interval [s]
// Writes  nothing.
#include "export/time_ctd.h"

#include <utility>

#include "common/rounding.h"
#include "reader/reader.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int kL5TimeCount = 3;  // the field of an L5 line that holds the time count

// The time count of an L5 line, after its "L5".
int32_t time_count(DataFile& file) {
  file.read_char();  // the blank after "L5"
  LineReader line(file);
  TokenText text;
  for (int field = 1; field <= kL5TimeCount; ++field) read_field(line, text);
  return round_to_int(real_value(text));
}

// One pass over the recording, line by line.
class TimeModePass {
 public:
  TimeModePass() { ctd_.intervals.resize(kSteps + 1); }

  TimeModeCtd run(DataFile& file) {
    for (;;) {
      int tag = file.read_char();
      if (tag == DataFile::kEmpty) break;  // an empty line or the end ends the data
      if (tag == 'L' && file.read_char() == '5' && read_l5_line(file)) break;
      if (tag == 'C' && step_ >= 0) read_ctd_line(file);
      file.skip_line();
    }
    return std::move(ctd_);
  }

 private:
  // Returns whether the line ends the analysed range.
  bool read_l5_line(DataFile& file) {
    const Store& s = store;
    int32_t count = time_count(file);
    if (!ctd_.first_time_count) ctd_.first_time_count = count;
    if (step_ < 0) {
      if (count == s.count_first) step_ = 1;
      return false;
    }
    if (count == s.count_last) return true;
    step_ = round_to_int(time_slice(count));
    return false;
  }

  void read_ctd_line(DataFile& file) {
    const Store& s = store;
    elapsed_time_ += s.scan_interval;
    CtdLineEnd end;
    {
      LineReader line(file);
      end = read_ctd_values(line, s.ctd_field_count, false,
                            {values_, saved_values_, text_, field_index_, token_chars_});
    }
    if (end != CtdLineEnd::complete) return;
    if (checks_plausibility_ && ctd_values_implausible(values_)) return;
    double depth = ctd_field(values_, kFieldD);
    if (prev_depth_ && is_depth_spike(depth, *prev_depth_, s.ctd_scan_rate, elapsed_time_)) {
      depth = *prev_depth_;
    }
    prev_depth_ = depth;
    if (!is_step(step_)) return;
    IntervalCtd& interval = ctd_.intervals[step_];
    interval.scans += 1.0;
    for (int code = 1; code <= kCtdFields; ++code) {
      interval.sums[code] += code == kFieldD ? depth : ctd_field(values_, code);
    }
  }

  TimeModeCtd ctd_;
  const bool checks_plausibility_ = checks_ctd_plausibility();
  int32_t step_ = -1;  // before the analysed range
  double elapsed_time_ = 0.0;
  std::optional<double> prev_depth_;
  // The tokenizer's state.
  double values_[kCtdFields + 1] = {};
  double saved_values_[4] = {};
  TokenText text_{};
  int32_t field_index_ = 0;
  int32_t token_chars_ = 0;
};

}  // namespace

std::optional<double> TimeModeCtd::mean(int step, int field) const {
  if (step < 0 || static_cast<size_t>(step) >= intervals.size()) return std::nullopt;
  const IntervalCtd& interval = intervals[step];
  if (interval.scans < 1.0) return std::nullopt;
  return interval.sums[field] / interval.scans;
}

bool TimeModeCtd::any() const {
  for (const IntervalCtd& interval : intervals) {
    if (interval.scans > 0.0) return true;
  }
  return false;
}

TimeModeCtd read_time_mode_ctd() {
  DataFile file;
  file.open(store.data_file_name);
  return TimeModePass().run(file);
}

}  // namespace veka
