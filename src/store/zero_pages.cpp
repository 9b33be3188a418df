#include "store/zero_pages.h"

#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace veka {

ZeroPages::ZeroPages(size_t bytes) : bytes_(bytes) {
  data_ = mmap(nullptr, bytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (data_ == MAP_FAILED) throw std::bad_alloc();
  // In huge pages a table costs one fault per 2 MB the first time a file
  // reaches it instead of 512, and fewer TLB misses in the sweeps over it.
  madvise(data_, bytes_, MADV_HUGEPAGE);
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
