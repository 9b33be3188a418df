#include "vekasim/sink.h"

#include <charconv>
#include <stdexcept>

namespace vekasim {

constexpr std::size_t kBufferBytes = 1 << 20;

RecordingSink::RecordingSink(const std::string& path, bool crlf)
    : path_(path), line_end_(crlf ? "\r\n" : "\n") {
  if (!path.empty()) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) throw std::runtime_error("cannot create " + path);
  }
  buffer_.reserve(kBufferBytes + 4096);
}

RecordingSink::~RecordingSink() {
  // An unclosed sink means an error is already on its way up; the partial
  // file is left as it is.
  if (file_ != nullptr) std::fclose(file_);
}

void RecordingSink::write_line(const std::string& line) {
  buffer_ += line;
  buffer_ += line_end_;
  bytes_ += line.size() + (line_end_[1] == '\0' ? 1 : 2);
  if (buffer_.size() >= kBufferBytes) write_buffer();
}

void RecordingSink::write_buffer() {
  if (file_ != nullptr && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    throw std::runtime_error("cannot write " + path_);
  }
  buffer_.clear();
}

void RecordingSink::close() {
  write_buffer();
  if (file_ != nullptr) {
    const int status = std::fclose(file_);
    file_ = nullptr;
    if (status != 0) throw std::runtime_error("cannot write " + path_);
  }
}

void append_fixed(std::string& text, double value, int decimals) {
  char digits[64];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  text.append(digits, result.ptr);
}

void append_integer(std::string& text, long long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  text.append(digits, result.ptr);
}

}  // namespace vekasim
