// The operator's console: progress lines and problem messages go to the
// standard output with CR LF line ends; waits read one line of the standard
// input. Output is buffered and flushed before every wait and at the end, so
// a long batch does not pay for a system call per line. A run without an
// operator can send the text to a file instead and let the waits pass.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace veka::console {

// Text without a line end; the next output continues the same line.
void write(std::string_view text);

// Ends the current line (CR LF).
void end_line();

// Text followed by a line end.
void line(std::string_view text);

// A problem in the data: a line like any other, and counted.
void problem(std::string_view text);
// Problem messages since the program started.
int problem_count();

// Wait for the operator: reads and discards one line of the standard input.
// Returns at once at the end of the input, so a run with its input from
// /dev/null never blocks.
void wait_for_enter();

// Writes out everything buffered so far.
void flush();

// From now on the text goes to `file` (the caller closes it, after a last
// flush), and with nullptr to the standard output again.
void send_to(std::FILE* file);

// The file descriptor the text goes to; safe to read in a signal handler.
int descriptor();

// From now on waits return at once, as at the end of the input.
void skip_waits();

// Routes the console to memory while it lives (for tests): output is kept
// in text(), waits read their lines from `input`.
class Capture {
 public:
  explicit Capture(std::string input = "");
  ~Capture();
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  // Everything written since the capture started (flushing is not needed).
  std::string text() const;
  // Number of waits so far.
  int waits() const;
};

}  // namespace veka::console
