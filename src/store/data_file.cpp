#include "store/data_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/fatal.h"

namespace veka {

namespace {

// Reads what cannot be mapped (a pipe, an empty file) with plain reads.
bool read_all(int descriptor, std::string& content) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::read(descriptor, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace

void DataFile::open(const std::string& name) {
  close();
  int descriptor = ::open(name.c_str(), O_RDONLY);
  if (descriptor < 0) fatal_file_error(errno, false);
  struct stat info;
  if (fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
    int error_number = S_ISDIR(info.st_mode) ? EISDIR : errno;
    ::close(descriptor);
    fatal_file_error(error_number, false);
  }
  if (S_ISREG(info.st_mode) && info.st_size > 0) {
    void* mapping =
        mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, descriptor, 0);
    if (mapping != MAP_FAILED) {
      madvise(mapping, static_cast<size_t>(info.st_size), MADV_SEQUENTIAL);
      data_ = static_cast<const char*>(mapping);
      size_ = static_cast<size_t>(info.st_size);
      mapped_ = true;
    }
  }
  if (!mapped_) {
    loaded_.clear();
    if (!read_all(descriptor, loaded_)) {
      int error_number = errno;
      ::close(descriptor);
      fatal_file_error(error_number, false);
    }
    data_ = loaded_.data();
    size_ = loaded_.size();
  }
  ::close(descriptor);
  position_ = 0;
  is_open_ = true;
}

void DataFile::close() {
  if (mapped_) munmap(const_cast<char*>(data_), size_);
  mapped_ = false;
  loaded_.clear();
  loaded_.shrink_to_fit();
  data_ = nullptr;
  size_ = 0;
  position_ = 0;
  is_open_ = false;
}

void DataFile::skip_line() {
  if (position_ >= size_) return;
  const void* newline = std::memchr(data_ + position_, '\n', size_ - position_);
  position_ = newline ? static_cast<size_t>(static_cast<const char*>(newline) - data_) + 1 : size_;
}

std::string_view DataFile::rest_of_line() const {
  if (position_ >= size_) return {};
  const char* begin = data_ + position_;
  const void* newline = std::memchr(begin, '\n', size_ - position_);
  const char* end = newline ? static_cast<const char*>(newline) : data_ + size_;
  if (end > begin && end[-1] == '\r') --end;
  return {begin, static_cast<size_t>(end - begin)};
}

}  // namespace veka
