// Checks of the whole run, made once before any data file is read, and the
// run's claim on its batch summary and gridding file. Every file name of
// the run must fit in 90 characters (a longer one used to be cut into
// another path), and the data-set name and the run label must keep the
// names inside their folders; a name that does not is refused with one line
// naming the arguments and the limit, before anything is read or written.
//
// Reads   arguments 1, 2, 3 and 9, the file-number range first..last
// Writes  the run's hold on its run files (report/reports.h)
#pragma once

#include <cstdint>

namespace veka {

void start_run(int32_t first, int32_t last);

}  // namespace veka
