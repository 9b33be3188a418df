// Fatal errors end the run at once: a file that cannot be opened, read or
// written, an argument that is not a number where one is expected, and a
// floating-point invalid operation, division by zero or overflow. The report
// is one line on the console (continuing a line left open) and the exit
// code is 1; no further file is processed and there is no final prompt.
#pragma once

#include <stdexcept>
#include <string>

namespace veka {

// Thrown by fatal(); the program entry writes the message and exits with 1.
class FatalError : public std::runtime_error {
 public:
  explicit FatalError(const std::string& message) : std::runtime_error(message) {}
};

// Thrown when the program ends early on purpose after telling the operator
// why (more multi-element records than the store holds).
class ProgramStop : public std::runtime_error {
 public:
  explicit ProgramStop(int exit_code) : std::runtime_error("program stop"), exit_code_(exit_code) {}
  int exit_code() const { return exit_code_; }

 private:
  int exit_code_;
};

[[noreturn]] void fatal(const std::string& message);

// The one-line report of a failed file operation, from errno: "File not
// found", "Path not found", "File access denied", "Disk full", "File name
// too long" or "Input/output error".
[[noreturn]] void fatal_file_error(int error_number, bool creating);

// Makes invalid operations, divisions by zero and overflows trap, and turns
// the trap into the fatal report ("Invalid floating point operation",
// "Floating point division by zero", "Floating point overflow").
// Underflow and inexact results stay silent. `also_tell`, when given, is
// called with the report after it went to the console, so that a console
// sent to a file is not the only place that knows.
void install_float_traps(void (*also_tell)(const char* report) = nullptr);

// Makes SIGINT and SIGTERM end the run the way a fatal error does: what is
// unfinished is undone (discard_unfinished_outputs), one line is written
// ("Interrupted (SIGINT)", "Terminated (SIGTERM)") and the exit code is 130
// or 143. Text still buffered for the console is dropped, since a handler
// cannot safely take it. SIGPIPE and SIGXFSZ are ignored, so that a console
// nobody reads any more, or a file that may not grow, is a failed write
// that ends the run with exit code 1.
void install_stop_signal_handlers();

}  // namespace veka
