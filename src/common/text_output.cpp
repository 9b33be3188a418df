#include "common/text_output.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>

#include "common/fatal.h"

namespace veka {

namespace {

// A few files are open at once at the most (a report and the shape file);
// fixed storage keeps the undoing free of allocation. A slot is marked in
// use only once its content is complete, so a signal never sees half of it.
constexpr int kUnfinishedSlots = 8;
char unfinished_names[kUnfinishedSlots][PATH_MAX];

struct UnfinishedAppend {
  int descriptor = -1;
  off_t length_before = 0;
};
constexpr int kAppendSlots = 4;
UnfinishedAppend unfinished_appends[kAppendSlots];

constexpr size_t kBufferSize = 1 << 16;
constexpr int kNameAttempts = 100;

std::string folder_of(const std::string& target) {
  size_t slash = target.rfind('/');
  return slash == std::string::npos ? "." : target.substr(0, slash + 1);
}

// Names must not be guessable, or a link planted under the next one would
// at least make the creation fail.
std::string random_suffix() {
  static uint64_t counter = 0;
  uint64_t value = 0;
  if (getrandom(&value, sizeof value, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof value)) {
    value = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
            (static_cast<uint64_t>(getpid()) << 40) ^ ++counter;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, value);
  return text;
}

// Tries random names beside `target` until `make` succeeds with one that
// did not exist yet (false from `make`, with errno, is a failure; EEXIST
// means try another). The name is registered as unfinished before the file
// can exist, so that no moment leaves it unregistered.
std::string make_random_name(const std::string& target,
                             const std::function<bool(const std::string&)>& make) {
  for (int attempt = 1;; ++attempt) {
    std::string name = target + ".tmp" + random_suffix();
    register_unfinished_file(name);
    if (make(name)) return name;
    int error = errno;
    forget_unfinished_file(name);
    if (error != EEXIST || attempt == kNameAttempts) fatal_file_error(error, true);
  }
}

// An unnamed file is named through its /proc entry, which needs /proc.
bool unnamed_files_can_be_named() {
  static const bool available = access("/proc/self/fd", X_OK) == 0;
  return available;
}

bool is_unsupported_unnamed_file(int error_number) {
  // Older kernels take O_TMPFILE as O_DIRECTORY and refuse to write a folder.
  return error_number == EOPNOTSUPP || error_number == EISDIR || error_number == EINVAL;
}

void sync_folder(const std::string& folder) {
  int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) fatal_file_error(errno, true);
  // Some file systems cannot sync a folder and say so with EINVAL.
  bool synced = fsync(descriptor) == 0 || errno == EINVAL;
  int error_number = errno;
  ::close(descriptor);
  if (!synced) fatal_file_error(error_number, true);
}

}  // namespace

void TemporaryFile::create(const std::string& target, Naming naming) {
  discard();
  target_ = target;
  if (naming == Naming::unnamed && unnamed_files_can_be_named()) {
    descriptor_ = ::open(folder_of(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (descriptor_ >= 0) return;
    if (!is_unsupported_unnamed_file(errno)) fatal_file_error(errno, true);
  }
  name_ = make_random_name(target, [this](const std::string& name) {
    descriptor_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    return descriptor_ >= 0;
  });
}

std::string TemporaryFile::path() const {
  return name_.empty() ? "/proc/self/fd/" + std::to_string(descriptor_) : name_;
}

void TemporaryFile::publish() {
  auto fail = [this]() {
    int error_number = errno;
    discard();
    fatal_file_error(error_number, true);
  };
  if (fsync(descriptor_) != 0) fail();
  if (name_.empty()) {
    // linkat cannot replace a file, so the unnamed file gets a fresh random
    // name first, which the rename then moves over the target.
    std::string entry = path();
    name_ = make_random_name(target_, [&entry](const std::string& name) {
      return linkat(AT_FDCWD, entry.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    });
  }
  if (std::rename(name_.c_str(), target_.c_str()) != 0) fail();
  forget_unfinished_file(name_);
  name_.clear();
  int descriptor = descriptor_;
  descriptor_ = -1;
  if (::close(descriptor) != 0) fatal_file_error(errno, true);
  sync_folder(folder_of(target_));
}

void TemporaryFile::discard() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  if (name_.empty()) return;
  unlink(name_.c_str());
  forget_unfinished_file(name_);
  name_.clear();
}

void TextOutput::open(const std::string& name, Mode) {
  close();
  file_.create(name);
  buffer_.clear();
  buffer_.reserve(kBufferSize);
}

void TextOutput::write(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= kBufferSize) write_out_buffer();
}

void TextOutput::write_out_buffer() {
  if (!write_all(file_.descriptor(), buffer_)) fatal_file_error(errno, true);
  buffer_.clear();
}

void TextOutput::close() {
  if (!file_.is_open()) return;
  write_out_buffer();
  file_.publish();
}

bool write_all(int descriptor, std::string_view text) {
  while (!text.empty()) {
    ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

void register_unfinished_file(const std::string& name) {
  if (name.empty() || name.size() >= PATH_MAX) return;
  for (auto& slot : unfinished_names) {
    if (slot[0] != '\0') continue;
    std::memcpy(slot + 1, name.c_str() + 1, name.size());
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot[0] = name[0];
    return;
  }
}

void forget_unfinished_file(const std::string& name) {
  for (auto& slot : unfinished_names) {
    if (name == slot) slot[0] = '\0';
  }
}

void register_unfinished_append(int descriptor, off_t length_before) {
  forget_unfinished_append(descriptor);
  for (auto& slot : unfinished_appends) {
    if (slot.descriptor >= 0) continue;
    slot.length_before = length_before;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    slot.descriptor = descriptor;
    return;
  }
}

void forget_unfinished_append(int descriptor) {
  for (auto& slot : unfinished_appends) {
    if (slot.descriptor == descriptor) slot.descriptor = -1;
  }
}

void forget_unfinished_appends() {
  for (auto& slot : unfinished_appends) slot.descriptor = -1;
}

void cut_back_unfinished_appends() {
  for (auto& slot : unfinished_appends) {
    if (slot.descriptor < 0) continue;
    // The run is ending: a cut that fails cannot be reported.
    int ignored = ftruncate(slot.descriptor, slot.length_before);
    (void)ignored;
    slot.descriptor = -1;
  }
}

void discard_unfinished_outputs() {
  for (auto& slot : unfinished_names) {
    if (slot[0] != '\0') unlink(slot);
    slot[0] = '\0';
  }
  cut_back_unfinished_appends();
}

}  // namespace veka
