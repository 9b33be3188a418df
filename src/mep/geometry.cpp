// Geometry of a multi-element particle: each element record becomes a block
// of cells, 8 cells per element across the beam and 8 cells per transit
// count S along the flow; the blocks are drawn into the shape picture and
// booked into running sums from which the particle's size follows.
//
// Reads   mep_sorted records of the particle in hand (time [counts from the
//         particle's earliest], element (relative), duration [counts], size),
//         mep_transit_count S [counts per mm], mep_cubic_a [um],
//         long_element_factor, dark_size, full_width_size, batch_offset
// Writes  the particle's cells in shape_image; length_cells, length_width,
//         cross_width, along/across size and weight, element_weight,
//         thin_neighbour, string_counted, mep_string_count; mep_diameter [mm],
//         mep_length [mm], drawn_particle_count; time of inner records.
#include "mep/geometry.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/console.h"
#include "common/format.h"
#include "common/rounding.h"
#include "common/sphere.h"
#include "mep/shape_picture.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kCellsPerElement = 8;
constexpr int32_t kStringRows = 300;
constexpr int32_t kLastCellRow = 600;
constexpr int32_t kTracedParticles = 100000;
constexpr int64_t kFarColumn = int64_t{1} << 30;

double transit_count() {
  return store.mep_transit_count;
}

// Round(8 t / S): time counts as cell rows.
int32_t cell_rows(double counts) {
  return round_to_int(8 * counts / transit_count());
}

bool is_long(int32_t duration) {
  return duration >= store.long_element_factor * transit_count();
}

// First column of an element's band, 8E; an absurd element number keeps its
// cells outside every array instead of overflowing.
int32_t band_start(int32_t element) {
  return static_cast<int32_t>(
      std::clamp<int64_t>(int64_t{kCellsPerElement} * element, -kFarColumn, kFarColumn));
}

// A long narrow block is drawn thinner still: Round(w / Round(8 / w)).
int32_t narrowed_width(int32_t width) {
  const int32_t ratio = round_to_int(8.0 / width);
  return round_to_int(static_cast<double>(width) / ratio);
}

void reshape_inner_block(ElementBlock& block, bool dark) {
  block.shear = 9 - block.width;
  if (block.length > 8 && block.width < 6) {
    block.width = narrowed_width(block.width);
    block.shear = 9 - block.width;
    if (block.width < 1) block.width = 1;
  }
  if (block.length < 8) {
    block.shear = 8;
    block.width = round_to_int(8.0 / block.length);
  }
  if (block.length < 8 && dark) {
    block.width = 8;
    block.shear = 1;
  }
}

// Shift across the beam of the block's step k.
int32_t shear_shift(const ElementBlock& block, int32_t k) {
  return block.shear_direction * ((k - 1) * block.shear / block.length);
}

// All cells of a block have one colour, so they are drawn column by column,
// in runs of steps with the same shift.
void draw_block(const ElementBlock& block) {
  if (!picture_is_written()) return;
  const int32_t colour = block.record % 2 == 1 ? 4 : 5;
  const int32_t origin = store.batch_offset + block.a0;
  for (int32_t k = 1; k <= block.length;) {
    const int32_t shift = shear_shift(block, k);
    int32_t end = k;
    while (end < block.length && shear_shift(block, end + 1) == shift) ++end;
    for (int32_t j = 1; j <= block.width; ++j) {
      draw_picture_run(origin + j + shift, block.b0 + k, block.b0 + end, colour);
    }
    k = end + 1;
  }
}

bool in_cell_arrays(int64_t index) {
  return index >= 0 && index <= kLastCellRow;
}

// The rows first..first+count-1 of the along-flow cell arrays that exist.
template <typename Visit>
void for_cell_rows(int32_t first, int32_t count, Visit visit) {
  const int64_t low = std::max<int64_t>(first, 0);
  const int64_t high = std::min<int64_t>(int64_t{first} + count - 1, kLastCellRow);
  for (int64_t row = low; row <= high; ++row) {
    store.length_rows.add(static_cast<int32_t>(row));
    visit(static_cast<int32_t>(row));
  }
}

void set_cross_width(int32_t first_column, int32_t last_column, double value) {
  for (int64_t column = first_column; column <= last_column; ++column) {
    if (!in_cell_arrays(column)) continue;
    store.cross_width[column] = value;
    store.cross_columns.add(static_cast<int32_t>(column));
  }
}

void add_to_running_sums(double extent, int32_t width, int32_t weight) {
  MepState& m = store;
  m.along_size += (extent / 8) * weight;
  m.along_weight += weight;
  m.across_size += (width / 8.0) * weight;
  m.across_weight += weight;
}

// A particle whose blocks reach row 300 is a string of elements.
void mark_string(int32_t first_row, int32_t length) {
  if (int64_t{first_row} + length >= kStringRows && store.string_counted == 0) {
    ++store.mep_string_count;
    store.string_counted = 1;
  }
}

void book_inner_block(const ElementBlock& block) {
  MepState& m = store;
  const SortedMepElement& record = store.mep_sorted[block.record];
  const int32_t w = block.width;
  const int32_t length = block.length;
  const bool thin = length == 1 || w == 1;
  if (record.element == 1 && thin) m.thin_neighbour[0] = 1;
  if (record.element == m.particle_element_count - 2 && thin) m.thin_neighbour[1] = 1;
  const int32_t first_row = cell_rows(record.time);
  m.string_counted = 0;
  mark_string(first_row, length);
  double cross = 1.0;
  double along = 1.0;
  if (w * length < 16) cross = along = w * length / 64.0;
  if (w == 1 && length > 8) along = 0.125;
  for_cell_rows(first_row, length, [&](int32_t row) {
    m.length_cells[row] = 1.0;
    m.length_width[row] = std::max(m.length_width[row], along);
  });
  const int32_t band = band_start(record.element);
  set_cross_width(band + 1, band + 9, cross);
  m.element_weight += 1.0;
  double extent = length;
  if (w * length <= 9 && length > 1) extent = std::sqrt(w);
  add_to_running_sums(extent, w, w * length);
}

void book_end_block(const ElementBlock& block, int32_t first_column, int32_t last_column) {
  MepState& m = store;
  const int32_t w = block.width;
  const int32_t length = block.length;
  const int32_t first_row = cell_rows(store.mep_sorted[block.record].time);
  mark_string(first_row, length);
  double along = 1.0;
  if (w * length < 48) along = w * length / 64.0;
  if (w == 1 && length > 8) along = 0.125;
  for_cell_rows(first_row, length, [&](int32_t row) {
    if (m.length_cells[row] != 1.0) m.length_cells[row] = w / 8.0;
    m.length_width[row] = std::max(m.length_width[row], along);
  });
  m.element_weight += (length / 8.0) * (w / 8.0);
  set_cross_width(first_column, last_column, along);
  int32_t extent = length;
  if (length > 8 && w == 1) extent = 8;
  add_to_running_sums(extent, w, w * extent);
}

void trace_block(const ElementBlock& block) {
  const SortedMepElement& r = store.mep_sorted[block.record];
  if (r.particle <= kTracedParticles) return;
  console::line("Loop " + std::to_string(block.kind) + " -me[1,2,3]" + int_field(r.element, 3) +
                int_field(r.time, 4) + int_field(r.duration, 4) + " e1" +
                int_field(block.width, 5) + " e2" + int_field(block.length, 5) + " x1" +
                int_field(block.a0, 5) + " x5" + int_field(store.batch_offset, 5) + " size" +
                int_field(r.size, 5) + " y1" + int_field(block.b0, 5));
}

// Sum of an along-flow or across-beam cell array in millimetres; the
// entries never written are 0 and add nothing.
double cell_sum_mm(const double* cells, const TouchedRange& touched) {
  double sum = 0.0;
  if (touched.used != 0) {
    for (int32_t i = touched.low; i <= touched.high; ++i) sum += cells[i];
  }
  return sum / 8;
}

void clear_cells(double* cells, TouchedRange& touched) {
  if (touched.used != 0) std::fill(cells + touched.low, cells + touched.high + 1, 0.0);
  touched = TouchedRange{};
}

}  // namespace

double evaluate_cubic(const double c[4], double x) {
  return c[0] + c[1] * x + c[2] * (x * x) + c[3] * (x * x * x);
}

double element_area(int32_t size) {
  const double diameter_mm = evaluate_cubic(store.mep_cubic_a, size) / 1000;
  return kPi / 4 * (diameter_mm * diameter_mm);
}

int32_t block_width(double area) {
  return std::max(1, round_to_int(std::sqrt(64 * area)));
}

ElementBlock inner_block(int32_t record) {
  SortedMepElement& r = store.mep_sorted[record];
  const double s = transit_count();
  const int32_t tp = store.mep_sorted[record - 1].time;
  const int32_t tn = store.mep_sorted[record + 1].time;
  const bool dark = r.size > store.dark_size;
  ElementBlock block{};
  block.record = record;
  block.kind = tp <= tn ? 2 : 3;
  block.width = block_width(element_area(r.size));
  block.length = block.width;
  if (!(r.duration > store.long_element_factor * s && dark)) {
    const double span = std::fabs(static_cast<double>(tp) - static_cast<double>(tn));
    block.length = std::max(block.length, round_to_int(8 * span / s + 0.51));
    block.b0 = cell_rows(block.kind == 2 ? tp : tn) + 1;
    r.time = tn;
  }
  if (is_long(r.duration) && dark) {
    block.length = std::max(block.length, cell_rows(r.duration - s));
    if (r.size > store.full_width_size) block.width = kCellsPerElement;
    block.b0 = cell_rows(r.time) + 1;
  }
  reshape_inner_block(block, dark);
  const int32_t band = band_start(r.element);
  if (block.kind == 2) {
    block.a0 = band + 1;
    block.shear_direction = 1;
  } else {
    block.a0 = band + (8 - block.width) + 1;
    block.shear_direction = -1;
  }
  return block;
}

ElementBlock first_block() {
  const int32_t record = store.particle_first_record;
  const SortedMepElement& r = store.mep_sorted[record];
  const double area = element_area(r.size);
  ElementBlock block{};
  block.record = record;
  block.width = block_width(area);
  block.a0 = 9 - block.width;
  block.b0 = cell_rows(r.time) + 1;
  if (!is_long(r.duration)) {
    block.kind = 4;
    block.length = block.width;
    if (store.thin_neighbour[0] != 0) {
      block.length = 1;
      block.width = std::min(8, round_to_int(64 * area));
      block.a0 = 9 - block.width;
    }
  } else {
    block.kind = 5;
    block.length = std::max(block.width, cell_rows(r.duration - transit_count()));
    if (block.length > 8 && block.width < 6) {
      block.width = narrowed_width(block.width);
      block.a0 = 9 - block.width;
      if (block.width < 1) block.width = 1;
    }
  }
  return block;
}

ElementBlock last_block() {
  const int32_t record = store.particle_first_record + store.particle_element_count - 1;
  const SortedMepElement& r = store.mep_sorted[record];
  const double area = element_area(r.size);
  ElementBlock block{};
  block.record = record;
  block.width = block_width(area);
  block.a0 = band_start(r.element) + 1;
  block.b0 = cell_rows(r.time) + 1;
  if (!is_long(r.duration)) {
    block.kind = 6;
    block.length = block.width;
    if (store.thin_neighbour[1] != 0) {
      block.length = 1;
      block.width = std::min(8, round_to_int(64 * area));
    }
  } else {
    block.kind = 7;
    block.length = std::max(block.width, cell_rows(r.duration - transit_count()));
    if (block.length > 8 && block.width < 6) block.width = std::max(1, narrowed_width(block.width));
  }
  return block;
}

void draw_particle_blocks() {
  const int32_t first = store.particle_first_record;
  const int32_t last = first + store.particle_element_count - 1;
  for (int32_t i = first + 1; i < last; ++i) {
    const ElementBlock block = inner_block(i);
    draw_block(block);
    book_inner_block(block);
    trace_block(block);
  }
  const ElementBlock head = first_block();
  draw_block(head);
  book_end_block(head, 9 - head.width, 8);
  trace_block(head);
  const ElementBlock tail = last_block();
  draw_block(tail);
  book_end_block(tail, tail.a0, tail.a0 + tail.width - 1);
  trace_block(tail);
}

void compute_shape_metrics() {
  MepState& m = store;
  const double along_cells = cell_sum_mm(m.length_cells, m.length_rows);
  const double along_widths = cell_sum_mm(m.length_width, m.length_rows);
  const double across_widths = cell_sum_mm(m.cross_width, m.cross_columns);
  const double weight = m.element_weight;
  const double yeff = m.along_size / m.along_weight;
  const double xeff = m.across_size / m.across_weight;
  m.mep_diameter = std::sqrt(yeff * yeff / (yeff * yeff / (xeff * xeff) + 1));
  if (m.mep_diameter <= 0.3) {
    m.mep_length = std::sqrt(along_cells * along_cells + weight * weight);
  } else if (across_widths > along_widths) {
    m.mep_diameter = yeff;
    m.mep_length = across_widths;
  } else {
    m.mep_diameter = (xeff + across_widths) / 2;
    m.mep_length = along_widths;
  }
  ++m.drawn_particle_count;
}

void clear_particle_state() {
  MepState& m = store;
  m.along_size = m.along_weight = 0.0;
  m.across_size = m.across_weight = 0.0;
  m.element_weight = 0.0;
  m.opacity_sum = m.inverse_area_sum = 0.0;
  m.mep_opacity_elements = 0;
  TouchedRange rows = m.length_rows;
  clear_cells(m.length_cells, rows);
  clear_cells(m.length_width, m.length_rows);
  clear_cells(m.cross_width, m.cross_columns);
  m.thin_neighbour[0] = m.thin_neighbour[1] = 0;
  std::fill(m.edge_rise, m.edge_rise + 4, 0);
  std::fill(m.edge_fall, m.edge_fall + 4, 0);
}

}  // namespace veka
