// The open data file. The whole recording is read into memory when it is
// opened, so that nothing done to the file afterwards (cutting it short)
// can reach the passes, and is read through two primitives: the next
// character of the current line, and a skip to the start of the next line.
// A line ends at LF or CR LF; the line end is never returned as a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veka {

class DataFile {
 public:
  // The "empty" result of read_char: the end of the line or of the file.
  static constexpr int kEmpty = -1;

  DataFile() = default;
  ~DataFile() { close(); }
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  // Opens and loads the named file; failure is fatal ("File not found").
  // Only a regular file is read: anything else (a folder, FIFO, device or
  // socket) is refused before it is opened for reading ("File access
  // denied: NAME is not a regular file"). A file that ends before the size
  // it had when it was opened is a read error ("Input/output error: NAME
  // shrank while it was read"); one that has grown is read to its end.
  void open(const std::string& name);
  void close();
  bool is_open() const { return is_open_; }

  // Back to the first line.
  void rewind() { position_ = 0; }

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
  void skip_line();

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
  // The line end found last, at line_end_ (the LF, or size_ when the file
  // ends without one), is the first LF at or after every position from
  // line_scanned_from_ on, so that skip_line after rest_of_line does not
  // look for it again. An empty range (from after end) holds nothing.
  mutable size_t line_scanned_from_ = 1;
  mutable size_t line_end_ = 0;
  size_t line_end() const;  // of the current line; position_ < size_
  void forget_line_end();
};

}  // namespace veka
