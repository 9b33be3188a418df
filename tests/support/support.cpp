#include "support/support.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/console.h"
#include "driver/run_parameters.h"
#include "store/store.h"

namespace veka::support {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "vekatest-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make a scratch folder");
  path_ = std::string(name.data()) + "/";
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void write_file(const std::string& name, const std::string& content) {
  std::ofstream out(name, std::ios::binary);
  out << content;
}

std::string read_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool file_exists(const std::string& name) {
  return fs::exists(name);
}

std::vector<std::string> standard_arguments(const std::string& input_folder,
                                            const std::string& data_set,
                                            const std::string& output_folder) {
  return {
      "vekaproc", input_folder, data_set, output_folder, "2",   "0",
      "0",        "1",          "1",      "r1",          "0",   "24",  // 4..11
      "D",        "C",          "T",      "S",           "A1",  "x",
      "x",        "x",          "x",      "x",           "x",            // 12..22 CTD letters
      "1",        "1.0",        "1",      "1",           "0",            // 23..27
      "0.5",      "2.0",        "2.0",    "5.0",         "5.0", "30.0",  // 28..33 lengths
      "0.2",      "1.0",        "0.5",    "2.0",         "0.3", "3.0",   // 34..39 diameters
      "0.5",      "2.0",        "1.0",    "3.0",         "3.0", "20.0",  // 40..45 ratios
      "100",      "250",        "250",    "500",         "500", "1000",
      "1000",     "2000",       "2000",   "4000",                     // 46..55
      "0",        "1",          "1",      "0",           "0",   "0",  // 56..61
  };
}

static std::string shell_quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

ProcessResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& input, const std::string& working_folder) {
  ScratchDir scratch;
  std::string input_file = scratch.path() + "stdin.txt";
  write_file(input_file, input);
  std::string command;
  if (!working_folder.empty()) command = "cd " + shell_quoted(working_folder) + " && ";
  command += shell_quoted(program);
  for (size_t i = 1; i < arguments.size(); ++i) command += " " + shell_quoted(arguments[i]);
  const std::string error_file = scratch.path() + "stderr.txt";
  command += " < " + shell_quoted(input_file) + " 2> " + shell_quoted(error_file);
  ProcessResult result{-1, "", ""};
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.error = read_file(error_file);
  return result;
}

RunningProgram::RunningProgram(const std::string& program,
                               const std::vector<std::string>& arguments) {
  int to_child[2];
  int from_child[2];
  if (pipe2(to_child, O_CLOEXEC) != 0 || pipe2(from_child, O_CLOEXEC) != 0) {
    throw std::runtime_error("no pipe");
  }
  std::vector<std::string> argv_text = arguments;
  argv_text[0] = program;
  std::vector<char*> argv;
  for (std::string& text : argv_text) argv.push_back(text.data());
  argv.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(to_child[0], STDIN_FILENO);
    dup2(from_child[1], STDOUT_FILENO);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(to_child[0]);
  close(from_child[1]);
  input_ = to_child[1];
  output_ = from_child[0];
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    finish();
  }
}

bool RunningProgram::read_more() {
  char buffer[4096];
  ssize_t n = read(output_, buffer, sizeof buffer);
  if (n <= 0) return false;
  text_.append(buffer, static_cast<size_t>(n));
  return true;
}

bool RunningProgram::wait_for_output(const std::string& text) {
  while (text_.find(text) == std::string::npos) {
    if (!read_more()) return false;
  }
  return true;
}

ProcessResult RunningProgram::finish() {
  if (input_ >= 0) close(input_);
  input_ = -1;
  while (read_more()) {
  }
  close(output_);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), text_, ""};
}

void load_arguments(const std::vector<std::string>& arguments) {
  store.arguments = arguments;
}

void start_file(const std::vector<std::string>& arguments, int number) {
  reset_store();
  load_arguments(arguments);
  store.file_number = number;
  store.file_number_text = std::to_string(number);
  console::Capture quiet;
  read_run_parameters();
}

}  // namespace veka::support
