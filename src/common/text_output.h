// Text files that the program writes: CR LF line ends, and any failure to
// create or write them is a fatal error naming what went wrong.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace veka {

class TextOutput {
 public:
  enum class Mode {
    // Written under a temporary name in the same folder and renamed over the
    // target when closed, so a run that ends early never leaves a
    // half-written file over a good one.
    replace,
    // Created afresh (an existing file is emptied) and written in place.
    create,
    // Opened for appending.
    append,
  };

  TextOutput() = default;
  TextOutput(const std::string& name, Mode mode) { open(name, mode); }
  ~TextOutput();
  TextOutput(const TextOutput&) = delete;
  TextOutput& operator=(const TextOutput&) = delete;

  void open(const std::string& name, Mode mode);
  bool is_open() const { return file_ != nullptr; }
  void write(std::string_view text);
  void end_line() { write("\r\n"); }
  void line(std::string_view text) {
    write(text);
    end_line();
  }
  // Completes the file; a write that fails only now is still fatal.
  void close();

 private:
  std::FILE* file_ = nullptr;
  std::string name_;
  std::string temporary_name_;
};

// Remembers a temporary file that is being written, so that a run ended by
// a floating-point trap (which cannot unwind) still removes it.
void register_unfinished_file(const std::string& name);
void forget_unfinished_file(const std::string& name);
// Removes every registered file; safe to call from a signal handler.
void remove_unfinished_files();

}  // namespace veka
