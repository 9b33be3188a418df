#include "common/text_output.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "common/fatal.h"

namespace veka {

void TextOutput::open(const std::string& name, Mode mode) {
  close();
  name_ = name;
  temporary_name_.clear();
  std::string target = name;
  if (mode == Mode::replace) {
    temporary_name_ = name + ".tmp" + std::to_string(getpid());
    target = temporary_name_;
  }
  file_ = std::fopen(target.c_str(), mode == Mode::append ? "ab" : "wb");
  if (file_ == nullptr) fatal_file_error(errno, true);
  static constexpr size_t kBuffer = 1 << 16;
  std::setvbuf(file_, nullptr, _IOFBF, kBuffer);
}

void TextOutput::write(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
    fatal_file_error(errno, true);
  }
}

void TextOutput::close() {
  if (file_ == nullptr) return;
  std::FILE* file = file_;
  file_ = nullptr;
  bool failed = std::fflush(file) != 0;
  int error_number = errno;
  failed = (std::fclose(file) != 0) || failed;
  if (failed) {
    if (!temporary_name_.empty()) std::remove(temporary_name_.c_str());
    fatal_file_error(error_number ? error_number : errno, true);
  }
  if (!temporary_name_.empty() && std::rename(temporary_name_.c_str(), name_.c_str()) != 0) {
    error_number = errno;
    std::remove(temporary_name_.c_str());
    fatal_file_error(error_number, true);
  }
}

TextOutput::~TextOutput() {
  // An unfinished file (the run ended early) never replaces its target.
  if (file_ == nullptr) return;
  std::fclose(file_);
  if (!temporary_name_.empty()) std::remove(temporary_name_.c_str());
}

}  // namespace veka
