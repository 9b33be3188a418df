// Batch driver: the stages of every data file of the run, then the operator's prompt.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace veka {

// True for the known-bad files of a data set, which are passed over silently.
bool is_skipped_file(const std::string& data_set, int32_t file_number);

// The file number as it enters the file names: at most 3 characters, with
// leading zeros for the data sets "HF3" and "HFXLine".
std::string file_number_text_for(const std::string& data_set, int32_t file_number);

// The stages of one data file, from the run parameters to the reports; the
// store is reset and file_number_text set before.
void process_file();

// The whole run; returns the exit code. `after_each_file`, when given, runs
// after each processed file's outputs, while the store holds its results.
int run_batch(const std::function<void()>& after_each_file = {});

// Runs `run` (the batch) and turns each way it can end into the exit code:
// its own code, the code of a stop, or 1 for a fatal error, with the fatal
// error's one-line report on the console ("Out of memory" when memory ran
// out, "Unexpected error: ..." for anything else). `also_tell`, when given,
// hears the report of an early end too.
int run_to_exit_code(const std::function<int()>& run,
                     const std::function<void(const std::string&)>& also_tell = {});

}  // namespace veka
