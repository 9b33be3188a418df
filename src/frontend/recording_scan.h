// Inspect: one quick read of a recording, through the reader's tokenizers,
// that says what is in it before any setting is chosen: its lines by kind,
// the range of the L5 time counts, the depths of the CTD lines, the CTD
// values per line and the scan rate they imply, and the station lines of
// its header. Nothing is written and nothing of the file changes.
//
// Reads   the named data file; uses the store's data file and tokenizer
//         scratch (data_file, token_text, ctd_values, ctd_field_count),
//         so it runs only between the files of a batch, never inside one.
// Writes  nothing to the store that a file's processing keeps.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "export/station.h"

namespace veka {

struct LineCounts {
  int64_t header = 0;       // "#" and "*" lines
  int64_t ctd = 0;          // "C" lines of the usual value count
  int64_t sep_blocks = 0;   // complete L1..L5 blocks
  int64_t l5 = 0;           // well-formed L5 lines
  int64_t mep_records = 0;  // well-formed "M" lines
  int64_t other = 0;        // any other first character
  int64_t empty = 0;        // the reader's data end at the first of them
  int64_t damaged = 0;      // C, L and M lines the reader would complain about
};

struct RecordingScan {
  std::string file;
  uint64_t bytes = 0;
  int64_t lines = 0;
  LineCounts counts;
  std::map<int, int64_t> ctd_values_per_line;  // value count -> lines
  std::optional<int32_t> first_time_count;     // of the L5 lines
  std::optional<int32_t> last_time_count;
  std::optional<double> shallowest;           // [m] of the CTD lines
  std::optional<double> deepest;              // [m]
  std::optional<int32_t> deepest_time_count;  // of the last L5 line before the deepest scan
  std::optional<double> scan_rate;            // [1/s] CTD lines per second of time count
  Station station;

  // Time counts of the SEP frames: two a second.
  std::optional<double> time_span_seconds() const;
};

// Scans the named recording; `depth_field` is the position (1..11) of the
// depth among the values of a CTD line. A file that cannot be read is fatal
// ("File not found").
RecordingScan scan_recording(const std::string& file_name, int depth_field);

// The scan for people, and the same fields as one JSON object.
std::string scan_report(const RecordingScan& scan);
std::string scan_json(const RecordingScan& scan);

// "time counts 1447 to 2900 and depths 1.503 to 26.312 m", or what of the
// recording has.
std::string scan_ranges(const RecordingScan& scan);

}  // namespace veka
