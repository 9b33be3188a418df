// Writes one recording: the header, then CTD scans, single-element frames
// and multi-element records interleaved in the order the instrument
// produced them, along a planned track through a station's water column.
#pragma once

#include <cstdint>

#include "vekasim/damage.h"
#include "vekasim/header.h"
#include "vekasim/sink.h"
#include "vekasim/track.h"

namespace vekasim {

struct RecordingPlan {
  Station station;
  Track track;
  std::uint64_t seed;
  int scan_rate;             // CTD scans per second
  double abundance;          // plankton relative to a productive shelf station
  double analysed_from;      // [s] part of the recording that a time-range
  double analysed_to;        //     analysis is meant to cover
  long first_time_count;     // frame counter at the first frame
  std::uint64_t size_limit;  // [bytes]; 0 writes the whole track
  DamagePlan damage;
};

// Readers keep at most this many multi-element records of a file.
constexpr long kReaderMepLimit = 500000;

struct RecordingSummary {
  long mep_records = 0;
  // What the recording holds, as planned before any damage: its frames and
  // their first and last time count, its CTD scans with the shallowest and
  // deepest depth written and the time count of the last frame before the
  // deepest scan (-1 before the first frame).
  long frames = 0;
  long first_time_count = 0;
  long last_time_count = 0;
  long ctd_scans = 0;
  double shallowest = 0.0;  // [m]
  double deepest = 0.0;     // [m]
  long deepest_time_count = -1;
  // Time counts of the first and last frame within the analysed part,
  // the last one held back so that at most kReaderMepLimit multi-element
  // records lie between them; 0 when no frame lies in that part.
  long range_first = 0;
  long range_last = 0;
};

RecordingSummary write_recording(RecordingPlan plan, RecordingSink& sink);

}  // namespace vekasim
