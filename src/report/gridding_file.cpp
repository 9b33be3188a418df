// Gridding file: for every data file of a run one line per profile step
// with the count concentrations of the five reporting ranges, tagged with a
// time value of the file, for gridding and contouring programs. The first
// data file of a run creates the file and writes the heading; later files
// append (common/run_file.h).
//
// Reads   arguments 2, 3, 9 (name), diameter_bin_low/high [um],
//         sample_record_count, range_lo, range_hi, range_conc[k][1..5] [1/m3]
// Writes  gridding_started, grid_time_base, grid_time_offset, grid_time_rate
#include "report/gridding_file.h"

#include <cstdint>

#include "common/format.h"
#include "report/report_fields.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

// The same for every line of a data file: 0.007 x half the sample records,
// less 268.
double file_time() {
  Store& s = store;
  s.grid_time_base = 268.0;
  s.grid_time_offset = 0.0;
  s.grid_time_rate = -0.007;
  return -(s.grid_time_base + s.grid_time_offset + s.grid_time_rate * s.sample_record_count / 2);
}

// Concentrations of a step; a step outside the arrays reads as zero.
std::string step_line(double time, int step) {
  static const double kNoStep[11] = {};
  const double* concentrations = is_step(step) ? store.range_conc[step] : kNoStep;
  return real_field(time, 10, 0) + "," + int_field(step, 5) +
         range_values(concentrations, 8, 1, ",", "");
}

}  // namespace

std::string gridding_file_name() {
  return argument_text(3) + "a_Surfer_" + argument_text(2) + "_" + argument_text(9) + ".csv";
}

void write_gridding_lines() {
  Store& s = store;
  bool afresh = s.gridding_started == 0;
  std::string lines;
  if (afresh) {
    s.gridding_started = 1;
    lines = "Time,Depth," + diameter_ranges(4, "/") + "\r\n";
  }
  double time = file_time();
  for (int64_t step = s.range_lo; step <= s.range_hi; ++step) {
    lines += step_line(time, static_cast<int>(step)) + "\r\n";
  }
  s.gridding_file.add(gridding_file_name(), lines, afresh);
}

}  // namespace veka
