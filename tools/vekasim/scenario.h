// What each scenario records, and the processing command line that suits it.
#pragma once

#include <string>
#include <vector>

#include "vekasim/options.h"
#include "vekasim/recording.h"

namespace vekasim {

struct OutputFile {
  std::string path;
  int file_number;  // the series number; 0 outside a series
};

std::vector<OutputFile> output_files(const Options& options);

RecordingPlan plan_recording(const Options& options, int file_number);

// The 61 processing arguments for the recording, joined by blanks.
std::string processing_arguments(const Options& options, const RecordingSummary& summary);

}  // namespace vekasim
