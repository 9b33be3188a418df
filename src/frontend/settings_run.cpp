#include "frontend/settings_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/console.h"
#include "common/fatal.h"
#include "common/format.h"
#include "driver/batch.h"
#include "frontend/recording_scan.h"
#include "reader/reader.h"
#include "store/store.h"

namespace veka {

namespace {

namespace fs = std::filesystem;

// The run's own lines for people, and its tallies.
class RunReport {
 public:
  RunReport(std::FILE* terminal, std::string log) : terminal_(terminal), log_(std::move(log)) {}

  // After each data file, from the store.
  void file_done();
  void summary() const;
  int warnings() const { return warnings_; }
  void tell_fatal(const std::string& report) const;

 private:
  void say(const std::string& line) const;
  void warn_without_samples();

  std::FILE* terminal_;
  std::string log_;  // empty when the console goes to the terminal
  int files_ = 0;
  int warnings_ = 0;
  int problems_before_ = 0;
  double particles_ = 0.0;
  double water_ = 0.0;  // [m3]
};

std::string console_place(const std::string& log) {
  return log.empty() ? "the console text is on the standard output" : "console log " + log;
}

std::string analysed_range() {
  const Store& s = store;
  if (s.depth_mode == 1) {
    return "depths " + std::to_string(s.range_lo) + " to " + std::to_string(s.range_hi) + " m";
  }
  return "time counts " + std::to_string(s.count_first) + " to " + std::to_string(s.count_last);
}

bool holds_sample_records() {
  for (int k = 1; k <= kSteps; ++k) {
    if (store.sep_frames[k] > 0.0) return true;
  }
  return false;
}

std::string plural(int64_t n, const std::string& noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

void RunReport::say(const std::string& line) const {
  std::fputs((line + "\n").c_str(), terminal_);
  std::fflush(terminal_);
}

void RunReport::file_done() {
  const Store& s = store;
  const int problems = console::problem_count() - problems_before_;
  problems_before_ = console::problem_count();
  ++files_;
  particles_ += s.total_counts;
  water_ += s.total_volume;
  say(int_field(s.file_number, 4) + " " + s.data_file_name + ": " + analysed_range() + ", " +
      real_field(s.total_counts, 0, 0) + " particles, " + real_field(s.total_volume, 0, 3) +
      " m3, NBSS slope " + real_field(s.linear_slope, 0, 2) + ", " + plural(problems, "problem"));
  if (!holds_sample_records()) warn_without_samples();
}

void RunReport::warn_without_samples() {
  ++warnings_;
  const std::string name = store.data_file_name;
  const std::string range = analysed_range();
  // The scan uses the store's reader scratch, which this file no longer needs.
  const RecordingScan scan = scan_recording(name, store.ctd_field_position[kFieldD]);
  std::fputs(("vekaproc: warning: " + name + ": the analysed range (" + range +
              ") holds no sample record; the recording has " + scan_ranges(scan) + "\n")
                 .c_str(),
             stderr);
}

void RunReport::summary() const {
  say("vekaproc: " + plural(files_, "file") + " processed: " + real_field(particles_, 0, 0) +
      " particles, " + real_field(water_, 0, 3) + " m3 of water, " +
      plural(console::problem_count(), "problem") + ", " + plural(warnings_, "warning") + "; " +
      console_place(log_));
}

void RunReport::tell_fatal(const std::string& report) const {
  const std::string& file = store.data_file_name;
  std::fputs(("vekaproc: " + (file.empty() ? "" : file + ": ") + report + "; " +
              console_place(log_) + "\n")
                 .c_str(),
             stderr);
}

const RunReport* trap_report = nullptr;

void tell_trap(const char* report) {
  if (trap_report != nullptr) trap_report->tell_fatal(report);
}

int run_pipeline(RunReport& report) {
  trap_report = &report;
  install_float_traps(tell_trap);
  install_stop_signal_handlers();
  console::skip_waits();
  return run_to_exit_code(
      [&] { return run_batch([&] { report.file_done(); }); },
      [&](const std::string& fatal_report) { report.tell_fatal(fatal_report); });
}

bool make_folder(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (!error) return true;
  std::fputs(
      ("vekaproc: cannot make the output folder " + folder + ": " + error.message() + "\n").c_str(),
      stderr);
  return false;
}

}  // namespace

std::string console_log_name(const ArgumentLine& line) {
  // Named like the run's other per-run files, from arguments 3, 2 and 9.
  return line.arguments[2] + "a_Console_" + line.arguments[1] + "_" + line.arguments[8] + ".txt";
}

int run_settings(const SettingsRun& run) {
  const ArgumentLine& line = run.line;
  if (!make_folder(line.arguments[2])) return 1;
  const std::string log_name = run.console_on_terminal ? "" : console_log_name(line);
  std::FILE* log = nullptr;
  if (!log_name.empty()) {
    log = std::fopen(log_name.c_str(), "wb");
    if (log == nullptr) {
      std::fputs(("vekaproc: cannot write the console log " + log_name + ": " +
                  std::strerror(errno) + "\n")
                     .c_str(),
                 stderr);
      return 1;
    }
  }
  store.arguments = {run.program};
  store.arguments.insert(store.arguments.end(), line.arguments.begin(), line.arguments.end());
  store.arguments.insert(store.arguments.end(), line.options.begin(), line.options.end());
  console::send_to(log);
  RunReport report(run.console_on_terminal ? stderr : stdout, log_name);
  int code = run_pipeline(report);
  console::send_to(nullptr);
  if (log != nullptr && std::fclose(log) != 0) {
    report.tell_fatal("Input/output error writing the console");
    return 1;
  }
  if (code != 0) return code;
  report.summary();
  return run.strict && report.warnings() > 0 ? 3 : 0;
}

}  // namespace veka
