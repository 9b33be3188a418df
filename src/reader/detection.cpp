// Profile detection: the eight variants that follow a descending or an
// ascending cast through the profile scan and the start search, and the
// tests that find the start and the end of the analysed cast. Arguments 7 and
// 8 choose the variant (each 1 or more than 1), argument 23 the direction.
//
// Reads   depth, prev_depth [m], elapsed_time [s], ctd_scan_rate [1/s],
//         dive_direction, reader_phase, depth_floor, start_depth,
//         end_depth [m], arguments 7 and 8
// Writes  ctd_rate [m/s], dive_sign, descent_run, ascent_run, top_depth,
//         bottom_depth [m], bottom_time, start_time [s], profile_turned,
//         prev_depth [m], current_bin
#include <cmath>

#include "common/numbers.h"
#include "common/rounding.h"
#include "reader/reader.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

// The run counters stop counting once they hold a mark.
constexpr int32_t kStartMark = 100;
constexpr double kEndDepthMark = 101.0;
// The cast has turned once it is this far above its deepest point [m].
constexpr double kTurnRise = 5.0;
constexpr double kMaxTrackedRate = 10.0;    // [m/s]
constexpr double kMaxTrackedDepth = 500.0;  // [m]
constexpr double kTimeMargin = 0.75;        // [s]

bool is_descending() {
  return store.dive_direction == 1;
}

// Depths outside these bounds, and scans faster than a lowered instrument
// can move, say nothing about the cast.
bool worth_tracking() {
  const Store& s = store;
  return std::abs(s.ctd_rate) < kMaxTrackedRate && s.depth > s.depth_floor &&
         s.depth <= kMaxTrackedDepth;
}

void count_descent(DepthChoice start, DepthChoice end) {
  Store& s = store;
  bool counts = true;
  if (end == DepthChoice::one) {
    counts = s.depth > s.depth_floor;
    if (start == DepthChoice::above_one) {
      s.top_depth = start_depth_argument();
      counts = counts && s.depth >= s.top_depth;
    }
  }
  if (s.descent_run >= kStartMark) return;
  if (s.dive_sign == 1.0 && counts) {
    ++s.descent_run;
  } else if (s.dive_sign < 1.0) {
    s.descent_run = 0;
  }
}

void count_ascent() {
  Store& s = store;
  if (s.ascent_run >= kStartMark) return;
  if (s.dive_sign == 1.0 && s.depth > s.depth_floor) {
    s.ascent_run += 1.0;
  } else if (s.dive_sign < 1.0) {
    s.ascent_run = 0.0;
  }
}

void track_descending_cast(DepthChoice start, DepthChoice end) {
  Store& s = store;
  // With a given start depth and the end found by turning, top_depth is
  // that start depth and the descent starts once the cast passes it.
  bool given_top = start == DepthChoice::above_one && end == DepthChoice::one;
  if (!given_top && s.depth < s.top_depth && s.descent_run < kStartMark) s.top_depth = s.depth;
  if (s.depth > s.bottom_depth && s.profile_turned == 0) {
    s.bottom_depth = s.depth;
    s.bottom_time = s.elapsed_time;
  }
  if (given_top) {
    if (s.depth >= s.top_depth && s.descent_run >= 2 && s.descent_run < kStartMark &&
        s.profile_turned == 0) {
      s.start_time = s.elapsed_time;
      s.descent_run = kStartMark;
    }
  } else if (s.descent_run >= 4 && s.descent_run < kStartMark && s.profile_turned == 0) {
    s.start_time = s.elapsed_time;
    s.descent_run = kStartMark;
    s.top_depth = s.depth;
  }
  if (s.bottom_depth - s.depth > kTurnRise && s.profile_turned == 0 &&
      s.descent_run == kStartMark) {
    s.profile_turned = 1;
  }
  if (end == DepthChoice::above_one && s.depth >= end_depth_argument() && s.profile_turned == 0) {
    s.profile_turned = 1;
  }
}

// An ascending cast is recorded from its way down: the descent is followed
// to the bottom, and the cast ends at the surface (or at the end depth).
// descent_run is 1 once the bottom is passed.
void track_ascending_cast(DepthChoice end) {
  Store& s = store;
  if (s.depth < s.top_depth && s.ascent_run < kStartMark) s.top_depth = s.depth;
  if (s.depth > s.bottom_depth && s.descent_run == 0) {
    s.bottom_depth = s.depth;
    s.bottom_time = s.elapsed_time;
  }
  if (s.ascent_run >= 4 && s.ascent_run < kStartMark && s.descent_run == 0) {
    s.start_time = s.elapsed_time;
    s.ascent_run = kStartMark;
    s.top_depth = s.depth;
  }
  if (s.bottom_depth - s.depth > kTurnRise && s.descent_run == 0 && s.ascent_run == kStartMark) {
    s.descent_run = 1;
  }
  if (end == DepthChoice::above_one && s.descent_run == 1 && s.ascent_run == kStartMark &&
      s.depth <= s.end_depth) {
    s.bottom_depth = s.depth;
    s.bottom_time = s.elapsed_time;
    s.ascent_run = kEndDepthMark;
  }
}

void check_surface_reached(DepthChoice end) {
  Store& s = store;
  bool end_marked = end != DepthChoice::above_one || s.ascent_run == kEndDepthMark;
  if (s.depth <= s.depth_floor && s.descent_run == 1 && end_marked) {
    s.profile_turned = 1;
    s.start_time = s.elapsed_time;
  }
}

}  // namespace

DepthChoice depth_choice(int32_t argument) {
  if (argument < 0) return DepthChoice::none;
  if (argument == 0) return DepthChoice::zero;
  if (argument == 1) return DepthChoice::one;
  return DepthChoice::above_one;
}

int32_t start_depth_argument() {
  return argument_integer(7);
}

int32_t end_depth_argument() {
  // end_depth_text is cut from an argument that converted as an integer, so
  // it is always a number itself.
  return parse_integer(store.end_depth_text).value_or(0);
}

void update_ctd_rate() {
  Store& s = store;
  s.ctd_rate = (s.depth - s.prev_depth) * s.ctd_scan_rate;
  s.dive_sign = s.ctd_rate > 0.0 ? 1.0 : (s.ctd_rate < 0.0 ? -1.0 : 0.0);
}

bool detect_profile() {
  Store& s = store;
  DepthChoice start = depth_choice(start_depth_argument());
  DepthChoice end = depth_choice(end_depth_argument());
  if (!selects_variant(start) || !selects_variant(end)) return false;
  update_ctd_rate();
  if (is_descending()) {
    count_descent(start, end);
  } else {
    count_ascent();
  }
  s.prev_depth = s.depth;
  s.current_bin = round_to_int(s.depth);
  if (s.reader_phase != 0) return true;
  if (worth_tracking()) {
    if (is_descending()) {
      track_descending_cast(start, end);
    } else {
      track_ascending_cast(end);
    }
  }
  if (!is_descending()) check_surface_reached(end);
  return true;
}

bool start_test_passes() {
  const Store& s = store;
  const int32_t r = round_to_int(s.depth);
  const bool searching = s.reader_phase == 1;
  DepthChoice start = depth_choice(start_depth_argument());
  DepthChoice end = depth_choice(end_depth_argument());
  if (is_descending()) {
    // With both depths given the start needs no profile scan.
    if (start == DepthChoice::above_one && end == DepthChoice::above_one && r == s.start_depth) {
      return true;
    }
    return searching && r == s.start_depth && s.elapsed_time >= s.start_time - kTimeMargin &&
           s.dive_sign == 1.0;
  }
  if (start == DepthChoice::one && end == DepthChoice::one) {
    return searching && r == s.start_depth && s.elapsed_time >= s.bottom_time - kTimeMargin;
  }
  return searching && r <= s.start_depth && s.elapsed_time > s.bottom_time - kTimeMargin &&
         s.dive_sign == -1.0;
}

bool end_test_passes() {
  const Store& s = store;
  if (round_to_int(s.depth) != s.end_depth) return false;
  DepthChoice start = depth_choice(start_depth_argument());
  DepthChoice end = depth_choice(end_depth_argument());
  const bool zero_start = start == DepthChoice::zero;
  const bool zero_end = end == DepthChoice::zero;
  const bool variant = selects_variant(start) && selects_variant(end);
  const bool after_bottom = s.elapsed_time > s.bottom_time - kTimeMargin;
  if (is_descending()) {
    bool untimed = (zero_start && (zero_end || end == DepthChoice::above_one)) ||
                   (start == DepthChoice::above_one && (zero_end || end == DepthChoice::above_one));
    return untimed || (variant && after_bottom);
  }
  if ((zero_start && end != DepthChoice::none) || (start == DepthChoice::above_one && zero_end)) {
    return true;
  }
  if (start == DepthChoice::one && end == DepthChoice::one) {
    return s.elapsed_time >= s.bottom_time - kTimeMargin;
  }
  return variant && after_bottom;
}

}  // namespace veka
