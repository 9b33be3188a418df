// Large tables of the store live in their own anonymous memory mappings.
// Clearing one hands its pages back to the system, which supplies fresh zero
// pages on the next touch: a file that used a few rows of a table pays only
// for those rows, however large the table.
#pragma once

#include <cstddef>

namespace veka {

// The fuzzing build checks the row of every table access and every array
// index (the columns of a row are reached by pointer and stay unchecked);
// other builds trust the stages to stay inside.
#ifdef VEKA_CHECKED_TABLES
void check_index(size_t index, size_t size);
#else
inline void check_index(size_t, size_t) {}
#endif

class ZeroPages {
 public:
  explicit ZeroPages(size_t bytes);
  ~ZeroPages();
  ZeroPages(const ZeroPages&) = delete;
  ZeroPages& operator=(const ZeroPages&) = delete;

  // Every byte reads as zero again.
  void clear();
  void* data() const { return data_; }

 private:
  void* data_;
  size_t bytes_;
};

// A table [0..Rows-1][0..Cols-1]; the store uses index 0 of neither, so that
// table[k][j] reads as in the description of the data (steps and classes
// from 1).
template <typename T, size_t Rows, size_t Cols>
class ZeroTable {
 public:
  ZeroTable() : pages_(sizeof(T) * Rows * Cols) {}
  T* operator[](size_t row) {
    check_index(row, Rows);
    return static_cast<T*>(pages_.data()) + row * Cols;
  }
  const T* operator[](size_t row) const {
    check_index(row, Rows);
    return static_cast<const T*>(pages_.data()) + row * Cols;
  }
  void clear() { pages_.clear(); }
  static constexpr size_t rows = Rows;
  static constexpr size_t cols = Cols;

 private:
  ZeroPages pages_;
};

// A one-dimensional array [0..Size-1] of the same kind.
template <typename T, size_t Size>
class ZeroArray {
 public:
  ZeroArray() : pages_(sizeof(T) * Size) {}
  T& operator[](size_t i) {
    check_index(i, Size);
    return static_cast<T*>(pages_.data())[i];
  }
  const T& operator[](size_t i) const {
    check_index(i, Size);
    return static_cast<const T*>(pages_.data())[i];
  }
  void clear() { pages_.clear(); }
  static constexpr size_t size = Size;

 private:
  ZeroPages pages_;
};

}  // namespace veka
