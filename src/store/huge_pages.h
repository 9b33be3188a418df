// Anonymous memory in huge pages, for what a file fills from its start: a
// page fault costs many times the clearing of its 4 kB, and in huge pages
// the memory costs one fault per 2 MB instead of 512.
#pragma once

#include <cstddef>
#include <memory>

namespace veka {

constexpr size_t kHugePage = size_t{2} << 20;

// `bytes` of zeros starting on a huge-page boundary; std::bad_alloc when
// there is no room.
void* map_huge_pages(size_t bytes);
void unmap_pages(void* start, size_t bytes);

// Storage for a vector that may grow large: in huge pages from 2 MB on,
// from the heap below.
template <typename T>
struct HugePageAllocator {
  using value_type = T;
  HugePageAllocator() = default;
  template <typename U>
  explicit HugePageAllocator(const HugePageAllocator<U>&) {}
  T* allocate(size_t n) {
    if (n * sizeof(T) < kHugePage) return std::allocator<T>().allocate(n);
    return static_cast<T*>(map_huge_pages(n * sizeof(T)));
  }
  void deallocate(T* start, size_t n) {
    if (n * sizeof(T) < kHugePage) return std::allocator<T>().deallocate(start, n);
    unmap_pages(start, n * sizeof(T));
  }
  bool operator==(const HugePageAllocator&) const { return true; }
  bool operator!=(const HugePageAllocator&) const { return false; }
};

}  // namespace veka
