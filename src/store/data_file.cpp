#include "store/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "common/fatal.h"
#include "store/huge_pages.h"

namespace veka {

namespace {

// Linux moves at most about 2 GB in one read.
constexpr size_t kLargestRead = size_t{1} << 30;

[[noreturn]] void refuse_irregular_file(const std::string& name) {
  fatal("File access denied: " + name + " is not a regular file");
}

// A FIFO without a writer would block an open for reading for ever, and a
// device may act on being opened, so the name is looked at first; the
// opened file is looked at again in case the name changed in between.
int open_regular_file(const std::string& name, off_t& size) {
  struct stat info;
  if (stat(name.c_str(), &info) != 0) fatal_file_error(errno, false);
  if (!S_ISREG(info.st_mode)) refuse_irregular_file(name);
  int descriptor = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) fatal_file_error(errno, false);
  if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    refuse_irregular_file(name);
  }
  size = info.st_size;
  return descriptor;
}

// The window's size: a cast's recording fits in it whole, a tow's passes
// through it in pieces.
constexpr size_t kWindow = 2 * kHugePage;

// Lines are rarely shorter than this: room for the line index of a file, so
// that it is not copied as it grows.
constexpr size_t kShortLine = 32;

}  // namespace

void DataFile::open(const std::string& name) {
  close();
  off_t size = 0;
  descriptor_ = open_regular_file(name, size);
  name_ = name;
  size_ = static_cast<size_t>(size);
  if (window_ == nullptr) {
    capacity_ = kWindow;
    window_ = static_cast<char*>(map_huge_pages(capacity_));
  }
  line_lengths_.reserve(size_ / kShortLine);
  rewind();
}

void DataFile::close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  // A window grown for a long line goes; the usual one stays for the next
  // file of a batch.
  if (capacity_ > kWindow) release();
  name_.clear();
  size_ = 0;
  window_start_ = 0;
  window_end_ = 0;
  line_lengths_.clear();
  indexed_to_ = 0;
  rewind();
}

DataFile::~DataFile() {
  close();
  release();
}

void DataFile::release() {
  if (window_ != nullptr) unmap_pages(window_, capacity_);
  window_ = nullptr;
  capacity_ = 0;
}

void DataFile::rewind() {
  position_ = 0;
  line_ = 0;
  line_start_ = 0;
  line_end_ = 0;
  if (is_open()) load_line();
}

void DataFile::load_line() {
  for (;;) {
    const size_t end = find_line_end();
    if (end <= size_) {
      line_end_ = end;
      return;
    }
    fill_window(line_start_);
  }
}

size_t DataFile::find_line_end() {
  constexpr size_t kNotShown = SIZE_MAX;
  if (line_start_ >= size_) return size_;
  // The index holds every line that a window has shown whole.
  if (line_ >= line_lengths_.size() || line_start_ < window_start_) return kNotShown;
  const bool window_ends_file = window_end_ == size_;
  const size_t length = line_lengths_[line_];
  if (length < kLongLine) {
    const size_t end = line_start_ + length;
    return end < window_end_ || window_ends_file ? end : kNotShown;
  }
  const size_t from = line_start_ + kLongLine;
  if (from > window_end_) return kNotShown;
  const char* shown = window_ + (from - window_start_);
  const void* line_feed = std::memchr(shown, '\n', window_end_ - from);
  if (line_feed != nullptr) {
    return from + static_cast<size_t>(static_cast<const char*>(line_feed) - shown);
  }
  return window_ends_file ? size_ : kNotShown;
}

void DataFile::index_window() {
  size_t start = indexed_to_;
  while (start < window_end_) {
    const char* line = window_ + (start - window_start_);
    const void* line_feed = std::memchr(line, '\n', window_end_ - start);
    size_t end = size_;
    if (line_feed != nullptr) {
      end = start + static_cast<size_t>(static_cast<const char*>(line_feed) - line);
    } else if (window_end_ < size_) {
      break;  // the line goes on beyond the window
    }
    line_lengths_.push_back(static_cast<uint16_t>(std::min<size_t>(end - start, kLongLine)));
    start = end + 1;
  }
  indexed_to_ = std::min(start, size_);
}

void DataFile::fill_window(size_t from) {
  size_t kept = 0;
  if (from >= window_start_ && from < window_end_) {
    kept = window_end_ - from;
    std::memmove(window_, window_ + (from - window_start_), kept);
  }
  window_start_ = from;
  window_end_ = from + kept;
  if (kept == capacity_) {  // a line longer than the window
    char* larger = static_cast<char*>(map_huge_pages(2 * capacity_));
    std::memcpy(larger, window_, kept);
    release();
    window_ = larger;
    capacity_ = 2 * kept;
  }
  while (window_end_ < size_ && window_end_ - window_start_ < capacity_) {
    const size_t room = capacity_ - (window_end_ - window_start_);
    const size_t wanted = std::min({room, size_ - window_end_, kLargestRead});
    const ssize_t n = pread(descriptor_, window_ + (window_end_ - window_start_), wanted,
                            static_cast<off_t>(window_end_));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fatal_file_error(errno, false);
    if (n == 0) fatal_shrank();
    window_end_ += static_cast<size_t>(n);
  }
  // A cut that races a read can hand over zeros for the bytes it removes,
  // and the cut's new size is set before those bytes go: a file smaller
  // now than what was read means that what was read cannot be trusted.
  struct stat info;
  if (fstat(descriptor_, &info) == 0 && static_cast<size_t>(info.st_size) < window_end_) {
    fatal_shrank();
  }
  index_window();
}

void DataFile::fatal_shrank() {
  const std::string name = name_;
  close();
  fatal("Input/output error: " + name + " shrank while it was read");
}

std::string_view DataFile::rest_of_line() const {
  if (position_ >= line_end_) return {};
  const char* begin = window_ + (position_ - window_start_);
  const char* end = window_ + (line_end_ - window_start_);
  if (end > begin && end[-1] == '\r') --end;
  return {begin, static_cast<size_t>(end - begin)};
}

}  // namespace veka
