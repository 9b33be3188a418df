// Large tables of the store live in their own anonymous memory mappings.
// Clearing one hands its pages back to the system, which supplies fresh zero
// pages on the next touch: a file that used a few rows of a table pays only
// for those rows, however large the table.
#pragma once

#include <cstddef>
#include <vector>

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
  size_t bytes() const { return bytes_; }

 private:
  void* data_;
  size_t bytes_;
};

// The tables that one reset clears. A table is constructed with the list it
// joins, so that none can be declared and left out of the reset.
using TableList = std::vector<ZeroPages*>;

// A table [0..Rows-1][0..Cols-1]; the store uses index 0 of neither, so that
// table[k][j] reads as in the description of the data (steps and classes
// from 1).
template <typename T, size_t Rows, size_t Cols>
class ZeroTable {
 public:
  explicit ZeroTable(TableList& list) : pages_(sizeof(T) * Rows * Cols) { list.push_back(&pages_); }
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
  explicit ZeroArray(TableList& list) : pages_(sizeof(T) * Size) { list.push_back(&pages_); }
  T& operator[](size_t i) {
    check_index(i, Size);
    return static_cast<T*>(pages_.data())[i];
  }
  const T& operator[](size_t i) const {
    check_index(i, Size);
    return static_cast<const T*>(pages_.data())[i];
  }
  static constexpr size_t size = Size;

 private:
  ZeroPages pages_;
};

}  // namespace veka
