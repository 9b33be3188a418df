// The open data file, read line by line through two primitives: the next
// character of the current line, and a skip to the start of the next line.
// A line ends at LF or CR LF; the line end is never returned as a character.
// The file is read through a window of memory that holds at least the
// current line: a recording that fits in the window is read once and kept
// there for every pass, a larger one is read again by each pass, in large
// reads, so that its size costs no memory. The line ends are found once,
// by the first pass that reaches them, for every later pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/huge_pages.h"

namespace veka {

class DataFile {
 public:
  // The "empty" result of read_char: the end of the line or of the file.
  static constexpr int kEmpty = -1;

  DataFile() = default;
  ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  // Opens the named file and reads its start; failure is fatal ("File not
  // found"). Only a regular file is read: anything else (a folder, FIFO,
  // device or socket) is refused before it is opened for reading ("File
  // access denied: NAME is not a regular file"). Every pass reads the size
  // the file had when it was opened; a file that ends before that is a read
  // error ("Input/output error: NAME shrank while it was read"), and what
  // is added to it meanwhile is not read.
  void open(const std::string& name);
  // Closes the file; the window stays for the next one when it is small.
  void close();
  bool is_open() const { return descriptor_ >= 0; }

  // Back to the first line.
  void rewind();

  // Next character of the current line, or kEmpty at its end (the position
  // then stays at the line end).
  int read_char() {
    if (position_ >= line_end_) return kEmpty;
    const char c = window_[position_ - window_start_];
    if (c == '\r' && position_ + 1 == line_end_) return kEmpty;
    ++position_;
    return static_cast<unsigned char>(c);
  }

  // Discards the rest of the current line, its line end included.
  void skip_line() {
    if (position_ >= size_) return;
    position_ = line_end_ < size_ ? line_end_ + 1 : size_;
    ++line_;
    line_start_ = position_;
    // Mostly the line is known and in the window already.
    if (line_ < line_lengths_.size() && line_lengths_[line_] < kLongLine) {
      const size_t end = line_start_ + line_lengths_[line_];
      if (end < window_end_) {
        line_end_ = end;
        return;
      }
    }
    load_line();
  }

  // The rest of the current line without its line end: exactly the
  // characters that read_char would return one by one. consume(n) moves on
  // by n of them, as n calls of read_char would.
  std::string_view rest_of_line() const;
  void consume(size_t n) { position_ += n; }

  bool at_end() const { return position_ >= size_; }
  size_t position() const { return position_; }
  size_t size() const { return size_; }

 private:
  std::string name_;
  int descriptor_ = -1;
  size_t size_ = 0;  // when the file was opened
  size_t position_ = 0;
  // The current line: its number, start and end (its LF, or size_).
  size_t line_ = 0;
  size_t line_start_ = 0;
  size_t line_end_ = 0;
  // The window holds the file's bytes window_start_ .. window_end_ - 1, in
  // capacity_ bytes of huge pages.
  char* window_ = nullptr;
  size_t capacity_ = 0;
  size_t window_start_ = 0;
  size_t window_end_ = 0;
  // The length without its LF of every line that a window has shown whole,
  // found when the window is filled; the first line not yet there starts
  // at indexed_to_. A line of kLongLine characters or more keeps kLongLine,
  // and its end is looked for again when it is reached.
  static constexpr uint16_t kLongLine = 0xFFFF;
  std::vector<uint16_t, HugePageAllocator<uint16_t>> line_lengths_;
  size_t indexed_to_ = 0;

  // Makes the line at line_start_ current: its end found, all of it with
  // its LF in the window.
  void load_line();
  // The end of the current line if the window shows it, else size_ + 1.
  size_t find_line_end();
  // Moves the window to start at `from`, fills it from the file and finds
  // the ends of the lines it shows whole for the first time.
  void fill_window(size_t from);
  void index_window();
  [[noreturn]] void fatal_shrank();
  void release();  // gives the window back
};

}  // namespace veka
