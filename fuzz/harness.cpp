#include "harness.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/console.h"
#include "common/fatal.h"
#include "common/numbers.h"
#include "driver/batch.h"
#include "store/store.h"

namespace veka::fuzz {

namespace {

namespace fs = std::filesystem;

constexpr char kDataSet[] = "F";
constexpr int32_t kFileNumber = 1;
constexpr size_t kValueCapacity = 16;

// A descending cast with profile detection, the usual set-up of a cruise.
std::vector<std::string> cast_arguments(const std::string& folder) {
  // clang-format off
  return {
      "vekaproc", folder, kDataSet, folder,
      "2", "0", "0", "1", "1", "r1", "0", "24",                     // 4..11
      "D", "C", "T", "S", "A1", "x", "x", "x", "x", "x", "x",       // 12..22
      "1", "0.8", "1", "1", "0",                                    // 23..27
      "0.5", "2.0", "2.0", "5.0", "5.0", "30.0",                    // 28..33
      "0.2", "1.0", "0.5", "2.0", "0.3", "3.0",                     // 34..39
      "0.5", "2.0", "1.0", "3.0", "3.0", "20.0",                    // 40..45
      "100", "250", "250", "500", "500", "1000", "1000", "2000", "2000", "4000",  // 46..55
      "0", "1", "1", "0", "0", "0",                                 // 56..61
  };
  // clang-format on
}

// Folders, names and the file-number range stay fixed, so that a run never
// writes outside its folder and always processes exactly one file.
bool is_overridable(int number, const std::string& value) {
  if (number == 11 || number == 26) return parse_real(value).value_or(0.0) > 0.0;
  return (number >= 4 && number <= 8) || (number >= 12 && number <= 56) || number == 60 ||
         number == 61;
}

void apply_override(std::string_view token, std::vector<std::string>& arguments) {
  size_t equals = token.find('=');
  if (equals == std::string_view::npos) return;
  std::optional<int32_t> number = parse_integer(token.substr(0, equals));
  std::string value(token.substr(equals + 1));
  if (!number || value.empty() || value.size() > kValueCapacity) return;
  if (is_overridable(*number, value)) arguments[*number] = value;
}

// The override line (without its "!" and line end) and the data file.
struct InputParts {
  std::string_view overrides;
  std::string_view data;
};

InputParts split_input(std::string_view input) {
  if (input.empty() || input.front() != '!') return {{}, input};
  size_t end = input.find('\n');
  if (end == std::string_view::npos) return {input.substr(1), {}};
  std::string_view line = input.substr(1, end - 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return {line, input.substr(end + 1)};
}

void write_data_file(const std::string& name, std::string_view data) {
  std::ofstream out(name, std::ios::binary);
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

Outcome process_data_file() {
  try {
    reset_store();
    store.file_number = kFileNumber;
    store.file_number_text = file_number_text_for(kDataSet, kFileNumber);
    process_file();
    return Outcome::completed;
  } catch (const FatalError&) {
    return Outcome::fatal;
  } catch (const ProgramStop&) {
    return Outcome::stopped;
  }
}

// A run that ended early may leave the shape file open; the reset closes it
// while its file is still there.
void close_open_files() {
  try {
    reset_store();
  } catch (const FatalError&) {
  }
}

std::vector<std::string> take_files(const std::string& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
    fs::remove_all(entry.path());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> run_arguments(std::string_view input, const std::string& folder) {
  std::vector<std::string> arguments = cast_arguments(folder);
  std::string_view line = split_input(input).overrides;
  while (!line.empty()) {
    size_t blank = line.find(' ');
    apply_override(line.substr(0, blank), arguments);
    line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
  }
  return arguments;
}

RunResult run_recording(std::string_view input, const std::string& folder) {
  store.arguments = run_arguments(input, folder);
  // Each run starts its own batch summary and gridding file.
  store.batch_started = 0;
  store.gridding_started = 0;
  write_data_file(folder + kDataSet + std::to_string(kFileNumber) + ".dat",
                  split_input(input).data);
  RunResult result{};
  {
    console::Capture capture;
    result.outcome = process_data_file();
    close_open_files();
    result.console = capture.text();
  }
  result.files_written = take_files(folder);
  return result;
}

}  // namespace veka::fuzz
