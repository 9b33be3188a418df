// Large tables of the store live in their own anonymous memory mappings, so
// that capacity no file reaches costs no memory. Each table remembers how
// far into it the current file has reached for writing, and clearing it
// zeroes only that far: the cost of a reset follows what the file used, not
// the size of the table, and the pages stay mapped from file to file (handing
// them back would make every file fault them in again).
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
  // The first `end` bytes may have been written since the last clear.
  void reach(size_t end) {
    if (end > reached_) reached_ = end;
  }

 private:
  void* data_;
  size_t bytes_;
  size_t reached_ = 0;
};

// The tables that one reset clears. A table is constructed with the list it
// joins, so that none can be declared and left out of the reset.
using TableList = std::vector<ZeroPages*>;

// A table [0..Rows-1][0..Cols-1]; the store uses index 0 of neither, so that
// table[k][j] reads as in the description of the data (steps and classes
// from 1). Writable access to a row counts the table as written up to the
// end of that row; read-only access does not, so a stage that only reads a
// table reaches it through a const store.
template <typename T, size_t Rows, size_t Cols>
class ZeroTable {
 public:
  explicit ZeroTable(TableList& list) : pages_(sizeof(T) * Rows * Cols) { list.push_back(&pages_); }
  T* operator[](size_t row) {
    check_index(row, Rows);
    pages_.reach(sizeof(T) * (row + 1) * Cols);
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

// A one-dimensional array [0..Size-1] of the same kind. A pointer taken to
// element i reaches no further than i for the reset; the stages that walk
// from one only touch elements already written through the index.
template <typename T, size_t Size>
class ZeroArray {
 public:
  explicit ZeroArray(TableList& list) : pages_(sizeof(T) * Size) { list.push_back(&pages_); }
  T& operator[](size_t i) {
    check_index(i, Size);
    pages_.reach(sizeof(T) * (i + 1));
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
