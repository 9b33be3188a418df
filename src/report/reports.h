// Reports: the data report with the console summary, the batch summary line and the gridding lines.
#pragma once

namespace veka {

void write_reports();

}  // namespace veka
