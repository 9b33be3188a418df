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

}  // namespace veka
