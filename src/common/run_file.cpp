#include "common/run_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/fatal.h"
#include "common/text_output.h"

namespace veka {

namespace {

// Not blocking: a FIFO under the name fails at once instead of waiting for
// a reader.
constexpr int kOpenFlags = O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC;

}  // namespace

RunFile::~RunFile() {
  release();
}

void RunFile::claim(const std::string& name) {
  if (holds(name)) return;
  int descriptor = ::open(name.c_str(), kOpenFlags);
  if (descriptor >= 0) take(name, descriptor);
}

void RunFile::add(const std::string& name, std::string_view text, bool afresh) {
  if (!holds(name)) {
    int descriptor = ::open(name.c_str(), kOpenFlags | O_CREAT, 0666);
    if (descriptor < 0) fatal_file_error(errno, true);
    take(name, descriptor);
  }
  off_t length_before = 0;
  if (afresh) {
    if (ftruncate(descriptor_, 0) != 0) fatal_file_error(errno, true);
  } else {
    struct stat info;
    if (fstat(descriptor_, &info) != 0) fatal_file_error(errno, true);
    length_before = info.st_size;
  }
  register_unfinished_append(descriptor_, length_before);
  if (!write_all(descriptor_, text)) {
    int error_number = errno;
    if (ftruncate(descriptor_, length_before) == 0) forget_unfinished_append(descriptor_);
    fatal_file_error(error_number, true);
  }
}

// The file under the name may have been removed or replaced since this run
// opened it; its lines then go to the file that now has the name.
bool RunFile::holds(const std::string& name) const {
  if (descriptor_ < 0 || name != name_) return false;
  struct stat held;
  struct stat named;
  return fstat(descriptor_, &held) == 0 && stat(name.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void RunFile::take(const std::string& name, int descriptor) {
  // A file system without locks still gets its lines; only a lock that
  // another run holds refuses them.
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    ::close(descriptor);
    fatal("Run file in use by another run: " + name);
  }
  release();
  descriptor_ = descriptor;
  name_ = name;
}

void RunFile::release() {
  if (descriptor_ < 0) return;
  forget_unfinished_append(descriptor_);
  ::close(descriptor_);
  descriptor_ = -1;
  name_.clear();
}

RunFileUpdate::RunFileUpdate() {
  forget_unfinished_appends();
}

RunFileUpdate::~RunFileUpdate() {
  if (!kept_) cut_back_unfinished_appends();
}

void RunFileUpdate::keep() {
  forget_unfinished_appends();
  kept_ = true;
}

}  // namespace veka
