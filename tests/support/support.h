// Helpers shared by the tests: scratch folders, files, a standard argument
// line, and running the built programs as a user would.
#pragma once

#include <string>
#include <vector>

namespace veka::support {

// A fresh folder under the system's temporary folder, removed at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  // The folder with a trailing "/", as the program expects folder prefixes.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void write_file(const std::string& name, const std::string& content);
std::string read_file(const std::string& name);
bool file_exists(const std::string& name);

// A complete, sensible 61-argument command line: entry 0 is the program,
// entries 1..61 the arguments. Input and output folders end with "/".
std::vector<std::string> standard_arguments(const std::string& input_folder,
                                            const std::string& data_set,
                                            const std::string& output_folder);

struct ProcessResult {
  int exit_code;
  std::string output;  // standard output
  std::string error;   // standard error
};

// Runs `program` with the arguments 1.. of `arguments` and `input` as its
// standard input, in `working_folder` when one is given.
ProcessResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input = "", const std::string& working_folder = "");

// A program started with pipes to its standard input and output, for tests
// that act on it while it runs (signals, files changed under it). Its
// standard error is the test's own.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::vector<std::string>& arguments);
  ~RunningProgram();  // ends the program if it still runs
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  int pid() const { return pid_; }
  // Reads the output until it holds `text`; false when the output ends first.
  bool wait_for_output(const std::string& text);
  // Closes the standard input, reads the rest of the output and waits for the
  // end; the exit code is 128 + the signal for a program a signal ended.
  ProcessResult finish();

 private:
  bool read_more();

  int pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string text_;
};

// Loads the arguments into the store, as the program entry does.
void load_arguments(const std::vector<std::string>& arguments);

// The first stages of data file `number` as the driver runs them: the
// per-file reset and the run parameters of `arguments` (header not shown).
void start_file(const std::vector<std::string>& arguments, int number);

}  // namespace veka::support
