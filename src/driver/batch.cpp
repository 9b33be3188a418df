// Batch driver: runs the stages of the pipeline for every file number of the
// run, one file after the other with the same run parameters, skipping the
// known-bad files of a few data sets, and ends with the operator's prompt.
//
// Reads   arguments 2 (data-set name), 57 and 58 (first and last file number),
//         the export options after argument 61 (export/options.h)
// Writes  file_number, file_number_text; the final prompt on the console.
#include "driver/batch.h"

#include <exception>
#include <new>
#include <utility>
#include <vector>

#include "common/console.h"
#include "common/fatal.h"
#include "driver/file_defaults.h"
#include "driver/run_checks.h"
#include "driver/run_parameters.h"
#include "export/exports.h"
#include "export/options.h"
#include "mep/analysis.h"
#include "mep/sort.h"
#include "profile/biomass_nbss.h"
#include "profile/mep_means.h"
#include "profile/totals.h"
#include "profile/water_volume.h"
#include "profile/zero_filling.h"
#include "reader/reader.h"
#include "report/binning.h"
#include "report/reports.h"
#include "store/arguments.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr size_t kFileNumberTextCapacity = 3;

}  // namespace

void process_file() {
  read_run_parameters();
  console::line(store.data_file_name);
  prepare_file_defaults();
  read_data_file();
  fill_zeros();
  compute_water_volume();
  sort_meps();
  analyse_meps();
  compute_mep_means();
  compute_biomass_and_spectra();
  compute_size_class_totals();
  configure_and_bin();
  write_reports();
}

bool is_skipped_file(const std::string& data_set, int32_t file_number) {
  static const std::vector<std::pair<std::string, std::vector<int32_t>>> kBadFiles = {
      {"HFXLine", {42, 72}},     {"HF3S_", {58}},    {"HL3F_", {1}},
      {"HL4S_", {69, 70}},       {"HL5S_", {2, 15}}, {"HF5F_", {14, 32}},
      {"HFL2F_", {36, 41, 139}},
  };
  for (const auto& [name, numbers] : kBadFiles) {
    if (name != data_set) continue;
    for (int32_t number : numbers) {
      if (number == file_number) return true;
    }
  }
  return false;
}

std::string file_number_text_for(const std::string& data_set, int32_t file_number) {
  std::string text = std::to_string(file_number).substr(0, kFileNumberTextCapacity);
  if (data_set == "HF3" || data_set == "HFXLine") {
    if (file_number < 10) {
      text = "00" + std::to_string(file_number);
    } else if (file_number < 100) {
      text = "0" + std::to_string(file_number);
    }
  }
  return text.substr(0, kFileNumberTextCapacity);
}

int run_batch(const std::function<void()>& after_each_file) {
  const ExportOptions options = read_export_options();
  store.keeps_counts_as_counted = options.shows_spectrum();
  ExportRun exports(options);
  int32_t first = argument_integer(57);
  int32_t last = argument_integer(58);
  const std::string& data_set = argument_text(2);
  start_run(first, last);
  for (int64_t number = first; number <= last; ++number) {
    store.file_number = static_cast<int32_t>(number);
    reset_store();
    if (is_skipped_file(data_set, store.file_number)) continue;
    store.file_number_text = file_number_text_for(data_set, store.file_number);
    process_file();
    exports.write_file_outputs();
    if (after_each_file) after_each_file();
  }
  console::write("      Done  - press \"enter\"");
  console::flush();
  console::wait_for_enter();
  return 0;
}

namespace {

// The fatal report continues a console line left open, like any other text.
int end_with(const std::string& report, const std::function<void(const std::string&)>& also_tell) {
  try {
    console::line(report);
    console::flush();
  } catch (...) {
    // The console itself failed, or memory ran out; the exit code still tells.
  }
  if (also_tell) also_tell(report);
  return 1;
}

}  // namespace

int run_to_exit_code(const std::function<int()>& run,
                     const std::function<void(const std::string&)>& also_tell) {
  try {
    int code = run();
    console::flush();
    return code;
  } catch (const FatalError& error) {
    return end_with(error.what(), also_tell);
  } catch (const ProgramStop& stop) {
    console::flush();
    if (also_tell) also_tell("the run stopped early");
    return stop.exit_code();
  } catch (const std::bad_alloc&) {
    return end_with("Out of memory", also_tell);
  } catch (const std::exception& error) {
    return end_with("Unexpected error: " + std::string(error.what()), also_tell);
  } catch (...) {
    return end_with("Unexpected error", also_tell);
  }
}

}  // namespace veka
