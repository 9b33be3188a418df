#include "common/console.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "common/fatal.h"

namespace veka::console {

namespace {

struct Sink {
  std::FILE* output = nullptr;  // the standard output when null
  bool waits_read_input = true;
  int problems = 0;
  std::string pending;     // written but not yet flushed
  bool capturing = false;  // tests keep everything in `captured`
  std::string captured;
  std::string captured_input;
  size_t input_position = 0;
  int waits = 0;
};

Sink& sink() {
  static Sink instance;
  return instance;
}

constexpr size_t kFlushThreshold = 1 << 16;

void flush_if_large() {
  if (sink().pending.size() >= kFlushThreshold) flush();
}

void read_captured_line(Sink& s) {
  while (s.input_position < s.captured_input.size()) {
    if (s.captured_input[s.input_position++] == '\n') return;
  }
}

void read_standard_input_line() {
  int c;
  do {
    c = std::getchar();
  } while (c != EOF && c != '\n');
}

}  // namespace

void write(std::string_view text) {
  Sink& s = sink();
  if (s.capturing) {
    s.captured.append(text);
    return;
  }
  s.pending.append(text);
  flush_if_large();
}

void end_line() {
  write("\r\n");
}

void line(std::string_view text) {
  write(text);
  end_line();
}

void problem(std::string_view text) {
  ++sink().problems;
  line(text);
}

int problem_count() {
  return sink().problems;
}

void wait_for_enter() {
  Sink& s = sink();
  ++s.waits;
  if (s.capturing) {
    read_captured_line(s);
    return;
  }
  flush();
  if (s.waits_read_input) read_standard_input_line();
}

void flush() {
  Sink& s = sink();
  if (s.pending.empty()) return;
  std::FILE* output = s.output != nullptr ? s.output : stdout;
  size_t written = std::fwrite(s.pending.data(), 1, s.pending.size(), output);
  bool failed = written != s.pending.size() || std::fflush(output) != 0;
  s.pending.clear();
  if (failed) fatal("Input/output error writing the console");
}

// Kept apart from the sink so that a signal handler can read it.
volatile std::sig_atomic_t output_descriptor = STDOUT_FILENO;

void send_to(std::FILE* file) {
  flush();
  sink().output = file;
  output_descriptor = file != nullptr ? fileno(file) : STDOUT_FILENO;
}

int descriptor() {
  return output_descriptor;
}

void skip_waits() {
  sink().waits_read_input = false;
}

Capture::Capture(std::string input) {
  Sink& s = sink();
  flush();
  s.capturing = true;
  s.captured.clear();
  s.captured_input = std::move(input);
  s.input_position = 0;
  s.waits = 0;
}

Capture::~Capture() {
  Sink& s = sink();
  s.capturing = false;
  s.captured.clear();
  s.captured_input.clear();
}

std::string Capture::text() const {
  return sink().captured;
}

int Capture::waits() const {
  return sink().waits;
}

}  // namespace veka::console
