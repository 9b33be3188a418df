// The open data file. The whole recording is read into memory when it is
// opened, so that nothing done to the file afterwards (cutting it short)
// can reach the passes, and is read through two primitives: the next
// character of the current line, and a skip to the start of the next line.
// A line ends at LF or CR LF; the line end is never returned as a character.
// The line ends are found once, when the file is loaded, for every pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veka {

class DataFile {
 public:
  // The "empty" result of read_char: the end of the line or of the file.
  static constexpr int kEmpty = -1;

  DataFile() = default;
  ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  // Opens and loads the named file; failure is fatal ("File not found").
  // Only a regular file is read: anything else (a folder, FIFO, device or
  // socket) is refused before it is opened for reading ("File access
  // denied: NAME is not a regular file"). A file that ends before the size
  // it had when it was opened is a read error ("Input/output error: NAME
  // shrank while it was read"); one that has grown is read to its end.
  void open(const std::string& name);
  // Closes the file; a small file's buffer stays for the next one.
  void close();
  bool is_open() const { return is_open_; }

  // Back to the first line.
  void rewind() {
    position_ = 0;
    line_ = 0;
    line_start_ = 0;
  }

  // Next character of the current line, or kEmpty at its end (the position
  // then stays at the line end).
  int read_char() {
    if (position_ >= size_) return kEmpty;
    char c = data_[position_];
    if (c == '\n') return kEmpty;
    if (c == '\r' && (position_ + 1 == size_ || data_[position_ + 1] == '\n')) return kEmpty;
    ++position_;
    return static_cast<unsigned char>(c);
  }

  // Discards the rest of the current line, its line end included.
  void skip_line() {
    if (position_ >= size_) return;
    const size_t end = line_end();
    position_ = end < size_ ? end + 1 : size_;
    ++line_;
    line_start_ = position_;
  }

  // The rest of the current line without its line end: exactly the
  // characters that read_char would return one by one. consume(n) moves on
  // by n of them, as n calls of read_char would.
  std::string_view rest_of_line() const;
  void consume(size_t n) { position_ += n; }

  bool at_end() const { return position_ >= size_; }
  size_t position() const { return position_; }
  size_t size() const { return size_; }
  const char* data() const { return data_; }

 private:
  const char* data_ = nullptr;
  size_t size_ = 0;
  size_t position_ = 0;
  bool is_open_ = false;
  char* content_ = nullptr;  // an anonymous mapping of capacity_ bytes
  size_t capacity_ = 0;
  // The length of every line without its LF, and the current line and its
  // start. A line of kLongLine characters or more keeps kLongLine, and its
  // end is looked for when it is reached.
  static constexpr uint16_t kLongLine = 0xFFFF;
  std::vector<uint16_t> line_lengths_;
  size_t line_ = 0;
  size_t line_start_ = 0;
  void find_line_lengths();
  void release();  // gives the buffer back
  // The first LF from `from` on, or size_ if there is none.
  size_t next_line_feed(size_t from) const;
  // The end of the current line (position_ < size_): its LF, or size_.
  size_t line_end() const {
    const size_t length = line_lengths_[line_];
    return length < kLongLine ? line_start_ + length : next_line_feed(line_start_ + kLongLine);
  }
};

}  // namespace veka
