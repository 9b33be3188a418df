// Reports of a data file, in this order: the data report (with the console
// summary written between its spectrum and its step table), the batch
// summary line and the gridding lines; and, before the first data file, the
// claim on the run's batch summary and gridding file.
//
// Reads   output_base_name, version_label, range_lo/range_hi and the
//         reader's range_low/range_high
// Writes  range_high_25 (the reader's range_high, rounded up to 25 steps,
//         before clipping); range_low/range_high clipped to the profile.
#include "report/reports.h"

#include <algorithm>

#include "common/console.h"
#include "common/rounding.h"
#include "common/run_file.h"
#include "common/text_output.h"
#include "report/batch_summary.h"
#include "report/console_summary.h"
#include "report/data_report.h"
#include "report/gridding_file.h"
#include "store/store.h"

namespace veka {

namespace {

// The depth window of the filtered totals is printed within the profile.
void clip_step_window() {
  Store& s = store;
  s.range_high = std::min(s.range_high, static_cast<double>(s.range_hi));
  s.range_low = std::max(s.range_low, static_cast<double>(s.range_lo));
}

}  // namespace

void write_reports() {
  Store& s = store;
  s.range_high_25 = round_to_int(s.range_high);
  TextOutput report(data_report_name(), TextOutput::Mode::replace);
  console::line("");
  console::line(data_report_name() + "     " + s.version_label);
  clip_step_window();
  write_report_totals(report);
  write_console_summary();
  write_report_tables(report);
  report.close();
  // Both run files end at the same data file, whatever stops this one.
  RunFileUpdate update;
  write_batch_summary_line();
  write_gridding_lines();
  update.keep();
}

void claim_run_files() {
  store.batch_summary_file.claim(batch_summary_name());
  store.gridding_file.claim(gridding_file_name());
}

}  // namespace veka
