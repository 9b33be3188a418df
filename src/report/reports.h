// Reports: the data report with the console summary, the batch summary line
// and the gridding lines, and the run's hold on the last two.
#pragma once

namespace veka {

void write_reports();

// Takes the run's batch summary and gridding file, where they exist, before
// any data file is read: a run that another run's files would receive is
// refused before it writes anything ("Run file in use by another run: NAME").
void claim_run_files();

}  // namespace veka
