// One recording through the whole per-file pipeline, as a batch run
// processes a data file, but inside the calling process: the console is kept
// in memory with no operator input (every wait returns at once), and the
// reports go to a given folder. The fuzz target and the corpus replay test
// share it.
//
// Input layout: the bytes are the data file. When they begin with "!", the
// first line instead holds argument overrides "N=VALUE" separated by blanks
// (for example "!4=1 5=2260 6=2320 7=0 8=0" for a time-count run), and the
// data file is the rest. Only arguments that neither name files nor choose
// file numbers can be overridden; arguments 11 and 26 only with a positive
// number, since the program stops at once on the others (a division by zero
// in the run parameters). Tokens that do not fit are ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veka::fuzz {

enum class Outcome {
  completed,  // the reports were written
  fatal,      // a fatal error ended the file
  stopped,    // the program stop (too many multi-element records)
};

struct RunResult {
  Outcome outcome;
  std::vector<std::string> files_written;  // names in the folder, sorted
  std::string console;
};

// The argument line of a run in `folder`, with `input`'s overrides applied.
std::vector<std::string> run_arguments(std::string_view input, const std::string& folder);

// Writes the data file into `folder` (an existing folder, with a trailing
// "/"), processes it and removes every file made there again.
RunResult run_recording(std::string_view input, const std::string& folder);

}  // namespace veka::fuzz
