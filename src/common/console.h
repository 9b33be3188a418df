// The operator's console: progress lines and problem messages go to the
// standard output with CR LF line ends; waits read one line of the standard
// input. Output is buffered and flushed before every wait and at the end, so
// a long batch does not pay for a system call per line.
#pragma once

#include <string>
#include <string_view>

namespace veka::console {

// Text without a line end; the next output continues the same line.
void write(std::string_view text);

// Ends the current line (CR LF).
void end_line();

// Text followed by a line end.
void line(std::string_view text);

// Wait for the operator: reads and discards one line of the standard input.
// Returns at once at the end of the input, so a run with its input from
// /dev/null never blocks.
void wait_for_enter();

// Writes out everything buffered so far.
void flush();

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
