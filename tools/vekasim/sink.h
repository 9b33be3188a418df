// Buffered output of a recording. Lines are collected in memory and
// written in large pieces, since a benchmark recording runs to hundreds of
// megabytes; a sink without a file only counts bytes, for dry runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vekasim {

class RecordingSink {
 public:
  // An empty path counts without writing. Throws std::runtime_error naming
  // the file when it cannot be created.
  RecordingSink(const std::string& path, bool crlf);
  ~RecordingSink();
  RecordingSink(const RecordingSink&) = delete;
  RecordingSink& operator=(const RecordingSink&) = delete;

  void write_line(const std::string& line);
  // Writes what is buffered and closes the file; throws on a write error.
  void close();
  std::uint64_t bytes() const { return bytes_; }

 private:
  void write_buffer();

  std::string path_;
  std::FILE* file_ = nullptr;
  const char* line_end_;
  std::string buffer_;
  std::uint64_t bytes_ = 0;
};

// Number formats of the data lines. Both are independent of the locale.
void append_fixed(std::string& text, double value, int decimals);
void append_integer(std::string& text, long long value);

}  // namespace vekasim
