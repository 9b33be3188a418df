#include "store/zero_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace veka {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// Anonymous memory of `bytes` that starts on a huge-page boundary, so that
// huge pages can back it from its first byte.
void* map_aligned(size_t bytes) {
  const size_t reserved = bytes + kHugePage;
  void* room = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (room == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(room);
  const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(room, aligned - start);
  const uintptr_t end = aligned + bytes;
  const uintptr_t reserved_end = start + reserved;
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t tail = (end + page - 1) / page * page;
  if (reserved_end > tail) munmap(reinterpret_cast<void*>(tail), reserved_end - tail);
  return reinterpret_cast<void*>(aligned);
}

}  // namespace

// A page fault costs many times the clearing of its 4 kB (more still on a
// virtual machine), and a huge page costs the clearing of 2 MB: a table
// filled row by row from its start is worth huge pages from the start, an
// array of which a small file fills a few kB only beyond its first 2 MB.
ZeroPages::ZeroPages(size_t bytes, Growth growth) : bytes_(bytes) {
  data_ = map_aligned(bytes_);
  const size_t small = growth == Growth::rows ? 0 : std::min(kHugePage, bytes_);
  madvise(static_cast<char*>(data_) + small, bytes_ - small, MADV_HUGEPAGE);
}

ZeroPages::~ZeroPages() {
  munmap(data_, bytes_);
}

void ZeroPages::clear() {
  std::memset(data_, 0, reached_);
  reached_ = 0;
}

#ifdef VEKA_CHECKED_TABLES
void check_index(size_t index, size_t size) {
  if (index < size) return;
  std::fprintf(stderr, "store table index %zu outside 0..%zu\n", index, size - 1);
  std::abort();
}
#endif

}  // namespace veka
