#include "common/text_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/fatal.h"

namespace veka {

namespace {

// A few files are open at once at the most (a report and the shape file);
// fixed storage keeps the removal free of allocation.
constexpr int kUnfinishedSlots = 8;
constexpr size_t kNameCapacity = 1024;
char unfinished_names[kUnfinishedSlots][kNameCapacity];

}  // namespace

void register_unfinished_file(const std::string& name) {
  if (name.size() >= kNameCapacity) return;
  for (auto& slot : unfinished_names) {
    if (slot[0] != '\0') continue;
    std::memcpy(slot, name.c_str(), name.size() + 1);
    return;
  }
}

void forget_unfinished_file(const std::string& name) {
  for (auto& slot : unfinished_names) {
    if (name == slot) slot[0] = '\0';
  }
}

void remove_unfinished_files() {
  for (auto& slot : unfinished_names) {
    if (slot[0] != '\0') unlink(slot);
    slot[0] = '\0';
  }
}

void TextOutput::open(const std::string& name, Mode mode) {
  close();
  name_ = name;
  temporary_name_.clear();
  std::string target = name;
  if (mode == Mode::replace) {
    temporary_name_ = name + ".tmp" + std::to_string(getpid());
    target = temporary_name_;
    register_unfinished_file(temporary_name_);
  }
  file_ = std::fopen(target.c_str(), mode == Mode::append ? "ab" : "wb");
  if (file_ == nullptr) {
    int error_number = errno;
    forget_unfinished_file(temporary_name_);
    fatal_file_error(error_number, true);
  }
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
  forget_unfinished_file(temporary_name_);
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
  forget_unfinished_file(temporary_name_);
  if (!temporary_name_.empty()) std::remove(temporary_name_.c_str());
}

}  // namespace veka
