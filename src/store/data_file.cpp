#include "store/data_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "common/fatal.h"

namespace veka {

namespace {

// Linux moves at most about 2 GB in one read.
constexpr size_t kLargestRead = size_t{1} << 30;

[[noreturn]] void refuse_irregular_file(const std::string& name) {
  fatal("File access denied: " + name + " is not a regular file");
}

// Closes the file on every way out of open().
struct OpenFile {
  int descriptor;
  ~OpenFile() { ::close(descriptor); }
};

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

constexpr size_t kHugePage = size_t{2} << 20;

// Room for `size` bytes (a whole number of huge pages), in pages of its own.
// Filling a buffer page by page costs a fault per 4 kB, more than reading
// into it; in huge pages a small recording's buffer is one fault.
char* allocate(size_t size) {
  void* room = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (room == MAP_FAILED) throw std::bad_alloc();
  madvise(room, size, MADV_HUGEPAGE);
  return static_cast<char*>(room);
}

// Reads to the end of the file into `content` (`capacity` bytes, kept from
// the last file where it is large enough, since fresh pages cost a fault and
// a clearing each) and returns the size read, in as few reads as the system
// allows. The buffer holds the size the file had when it was opened and one
// byte more, so that the read which finds the end needs no larger buffer.
size_t read_to_end(int descriptor, size_t expected, char*& content, size_t& capacity) {
  if (capacity < expected + 1) {
    if (content != nullptr) munmap(content, capacity);
    capacity = (expected + kHugePage) / kHugePage * kHugePage;
    content = allocate(capacity);
  }
  size_t size = 0;
  for (;;) {
    if (size == capacity) {
      char* larger = allocate(2 * capacity);
      std::memcpy(larger, content, size);
      munmap(content, capacity);
      content = larger;
      capacity *= 2;
    }
    ssize_t n = ::read(descriptor, content + size, std::min(capacity - size, kLargestRead));
    if (n == 0) return size;
    if (n < 0 && errno != EINTR) fatal_file_error(errno, false);
    if (n > 0) size += static_cast<size_t>(n);
  }
}

}  // namespace

void DataFile::open(const std::string& name) {
  close();
  off_t expected = 0;
  OpenFile file{open_regular_file(name, expected)};
  size_t size = read_to_end(file.descriptor, static_cast<size_t>(expected), content_, capacity_);
  if (size < static_cast<size_t>(expected)) {
    close();
    fatal("Input/output error: " + name + " shrank while it was read");
  }
  data_ = content_;
  size_ = size;
  find_line_lengths();
  rewind();
  is_open_ = true;
}

void DataFile::close() {
  // A small buffer stays for the next file of a batch; a large one goes, so
  // that the stages after the reader have its memory.
  constexpr size_t kKeptBuffer = size_t{16} << 20;
  if (capacity_ > kKeptBuffer) release();
  data_ = nullptr;
  size_ = 0;
  line_lengths_.clear();
  rewind();
  is_open_ = false;
}

DataFile::~DataFile() {
  release();
}

void DataFile::release() {
  if (content_ != nullptr) munmap(content_, capacity_);
  content_ = nullptr;
  capacity_ = 0;
}

size_t DataFile::next_line_feed(size_t from) const {
  const void* newline = std::memchr(data_ + from, '\n', size_ - from);
  return newline ? static_cast<size_t>(static_cast<const char*>(newline) - data_) : size_;
}

void DataFile::find_line_lengths() {
  line_lengths_.clear();
  for (size_t start = 0; start < size_;) {
    const size_t end = next_line_feed(start);
    line_lengths_.push_back(static_cast<uint16_t>(std::min<size_t>(end - start, kLongLine)));
    start = end + 1;
  }
}

std::string_view DataFile::rest_of_line() const {
  if (position_ >= size_) return {};
  const char* begin = data_ + position_;
  const char* end = data_ + line_end();
  if (end > begin && end[-1] == '\r') --end;
  return {begin, static_cast<size_t>(end - begin)};
}

}  // namespace veka
