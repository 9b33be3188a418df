#include "store/huge_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace veka {

// Huge pages back only whole aligned 2 MB of a mapping, so the mapping is
// made 2 MB larger and cut to start on a boundary.
void* map_huge_pages(size_t bytes) {
  const size_t reserved = bytes + kHugePage;
  void* room = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (room == MAP_FAILED) throw std::bad_alloc();
  const uintptr_t start = reinterpret_cast<uintptr_t>(room);
  const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned > start) munmap(room, aligned - start);
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t end = (aligned + bytes + page - 1) / page * page;
  const uintptr_t reserved_end = start + reserved;
  if (reserved_end > end) munmap(reinterpret_cast<void*>(end), reserved_end - end);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void unmap_pages(void* start, size_t bytes) {
  munmap(start, bytes);
}

}  // namespace veka
