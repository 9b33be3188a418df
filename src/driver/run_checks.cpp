#include "driver/run_checks.h"

#include <string>

#include "common/fatal.h"
#include "driver/batch.h"
#include "driver/run_parameters.h"
#include "report/reports.h"
#include "store/arguments.h"

namespace veka {

namespace {

constexpr size_t kFileNameCapacity = 90;

void refuse_name_leaving_folder(const char* what, int argument) {
  const std::string& text = argument_text(argument);
  if (text.find('/') == std::string::npos && text.find("..") == std::string::npos) return;
  fatal(std::string(what) + " (argument " + std::to_string(argument) +
        ") must not hold \"/\" or \"..\": " + text);
}

void refuse_long_name(const char* what, const char* arguments, const std::string& name) {
  if (name.size() <= kFileNameCapacity) return;
  fatal(std::string(what) + " longer than " + std::to_string(kFileNameCapacity) + " characters (" +
        arguments + "): " + name);
}

void check_names(int32_t first, int32_t last) {
  refuse_name_leaving_folder("Data-set name", 2);
  refuse_name_leaving_folder("Run label", 9);
  if (first > last) return;
  // File-number texts grow with the digits and are cut at three characters,
  // so the longest ones are at the ends of the range or at 100.
  for (int32_t number : {first, last, first < 100 && last >= 100 ? 100 : first}) {
    std::string text = file_number_text_for(argument_text(2), number);
    refuse_long_name("Data file name", "arguments 1, 2 and the file number",
                     data_file_name_for(text));
    refuse_long_name("Report base name", "arguments 3, 2, the file number and 9",
                     output_base_name_for(text));
  }
}

}  // namespace

void start_run(int32_t first, int32_t last) {
  check_names(first, last);
  if (first <= last) claim_run_files();
}

}  // namespace veka
