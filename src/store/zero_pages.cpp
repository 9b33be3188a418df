#include "store/zero_pages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "store/huge_pages.h"

namespace veka {

// A table in huge pages also costs fewer TLB misses in the sweeps over it.
ZeroPages::ZeroPages(size_t bytes) : data_(map_huge_pages(bytes)), bytes_(bytes) {}

ZeroPages::~ZeroPages() {
  unmap_pages(data_, bytes_);
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
