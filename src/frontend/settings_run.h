// A run from a settings file, for people watching it: the same pipeline as a
// 61-argument command line, run on exactly the arguments the settings give,
// without an operator. The console text goes byte for byte to the run's
// console log, <output folder>a_Console_<data set>_<run label>.txt (or to
// the standard output with `console_on_terminal`); the terminal gets one
// line per data file and a summary. A file whose analysed range holds no
// sample record is named in a warning on the standard error together with
// the time counts and depths the recording does have.
//
// Reads   the arguments and options of the settings, the data files
// Writes  the run's outputs and its console log; the output folder is made
//         when it is missing.
#pragma once

#include <string>

#include "frontend/settings_file.h"

namespace veka {

struct SettingsRun {
  ArgumentLine line;
  std::string program;  // the program's name, argument 0 of the pipeline
  bool console_on_terminal = false;
  bool strict = false;  // warnings end the run with exit code 3
};

// The exit code: 0 done, 1 a fatal error (as the 61-argument command line
// has it), 3 done with warnings when strict.
int run_settings(const SettingsRun& run);

// Where the console text of a run goes.
std::string console_log_name(const ArgumentLine& line);

}  // namespace veka
