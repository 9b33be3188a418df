// Shape picture and shape file: every analysed particle is placed in the
// picture batch to the right of the previous one; a first or last block that
// does not touch its neighbour along the flow is moved up to it (or erased
// when the gap is wide), convex corners are cut and notches filled; a batch
// is written out, one text line per cell row, when the next particle would
// pass the batch width or the data end, and thrown away when a particle
// cannot be analysed.
//
// Reads   the particle in hand (particle_first_record, particle_element_count,
//         particle_span [counts]), mep_transit_count S [counts per mm],
//         mep_sorted (step, element), drawn_particle_count,
//         shape_file_option, output_base_name, shape_image_width [cells]
// Writes  shape_image, batch_offset, particle_offset, picture_height,
//         particle_height, batch_particle_count, shape_row_step,
//         shape_row_particle, shape_header_written, edge_rise, edge_fall,
//         thin_neighbour (cleared), shape_file; console progress counts.
#include "mep/shape_picture.h"

#include <algorithm>
#include <string>

#include "common/console.h"
#include "common/format.h"
#include "common/rounding.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr int32_t kPictureColumns = 300;
constexpr int32_t kPictureLines = 4000;
constexpr int32_t kBatchEntries = 100;
constexpr int32_t kWrittenColumns = 250;
constexpr int32_t kHeaderFields = 255;
constexpr int32_t kBandColumns = 9;

bool in_picture(int32_t a, int32_t b) {
  return a >= 1 && a <= kPictureColumns && b >= 1 && b <= kPictureLines;
}

// Whether columns first..last of line b are all empty; only the columns
// the line has been drawn on need a look.
bool line_is_clear(int32_t first, int32_t last, int32_t b) {
  if (b < 1 || b > kPictureLines || store.drawn_column_high[b] == 0) return true;
  const int32_t low = std::max(first, store.drawn_column_low[b]);
  const int32_t high = std::min(last, store.drawn_column_high[b]);
  for (int32_t a = low; a <= high; ++a) {
    if (picture_cell(a, b) != 0) return false;
  }
  return true;
}

// The cells around (a, b) of the corner tidying, C(i, j) = cell (a+i, b+j);
// the rules look at most three cells away.
struct Neighbourhood {
  static constexpr int32_t kReach = 3;
  Neighbourhood(int32_t a_, int32_t b_)
      : a(a_),
        b(b_),
        inside(a_ > kReach && a_ + kReach <= kPictureColumns && b_ > kReach &&
               b_ + kReach <= kPictureLines) {}
  int32_t operator()(int32_t i, int32_t j) const {
    return inside ? store.shape_image[a + i][b + j] : picture_cell(a + i, b + j);
  }
  void set(int32_t i, int32_t j, int32_t value) const { set_picture_cell(a + i, b + j, value); }
  int32_t a;
  int32_t b;
  bool inside;
};

// ---- End alignment ----

enum EdgeColumn { kFirstBandEnd, kSecondBandStart, kBeforeLastBand, kLastBandStart };

// Last line where the column starts a run of cells, and last line of such a run.
void measure_edge(EdgeColumn slot, int32_t relative_column) {
  MepState& m = store;
  const int32_t a = m.particle_offset + relative_column;
  int32_t rise = 0;
  int32_t fall = 0;
  for (int32_t b = 2; b <= m.picture_height; ++b) {
    const int32_t above = picture_cell(a, b - 1);
    const int32_t here = picture_cell(a, b);
    if (here > 0 && above == 0) rise = b;
    if (above > 0 && here == 0) fall = b - 1;
  }
  m.edge_rise[slot] = rise;
  m.edge_fall[slot] = fall;
}

void clear_band_lines(int32_t first_column, int64_t from, int64_t to) {
  for (int64_t b = std::max<int64_t>(from, 1); b <= std::min<int64_t>(to, kPictureLines); ++b) {
    for (int32_t a = first_column; a < first_column + kBandColumns; ++a) {
      set_picture_cell(a, static_cast<int32_t>(b), 0);
    }
  }
}

void copy_band_line(int32_t first_column, int32_t from, int32_t to) {
  for (int32_t a = first_column; a < first_column + kBandColumns; ++a) {
    set_picture_cell(a, to, picture_cell(a, from));
  }
}

// A gap as wide as 2.4 transit counts means the block belongs to no
// neighbour: it is erased.
void erase_band_if_far(int32_t first_column, int32_t gap, int32_t far) {
  if (gap >= far) clear_band_lines(first_column, 1, store.picture_height);
}

// The block ends `gap` lines before its neighbour begins: its last lines
// move down to end at target_end, its first lines are cleared.
void shift_band_later(int32_t first_column, int32_t gap, int32_t source_end, int32_t target_end,
                      int32_t rise, int32_t far) {
  if (gap <= 0) return;
  for (int32_t k = 1; k <= gap; ++k)
    copy_band_line(first_column, source_end - k + 1, target_end - k + 1);
  clear_band_lines(first_column, rise, int64_t{rise} + gap - 1);
  erase_band_if_far(first_column, gap, far);
}

// The block begins `gap` lines after its neighbour ends: its first lines
// move up to start at target_start, its last lines are cleared.
void shift_band_earlier(int32_t first_column, int32_t gap, int32_t source_start,
                        int32_t target_start, int32_t fall, int32_t far) {
  if (gap <= 0) return;
  for (int32_t k = 1; k <= gap; ++k)
    copy_band_line(first_column, source_start + k - 1, target_start + k - 1);
  clear_band_lines(first_column, int64_t{fall} - gap + 1, fall);
  erase_band_if_far(first_column, gap, far);
}

void align_end_blocks() {
  MepState& m = store;
  const int32_t last_band = 8 * (m.particle_element_count - 1);
  measure_edge(kFirstBandEnd, 9);
  measure_edge(kSecondBandStart, 10);
  measure_edge(kBeforeLastBand, last_band + 1);
  measure_edge(kLastBandStart, last_band + 2);
  const int32_t* rise = m.edge_rise;
  const int32_t* fall = m.edge_fall;
  const int32_t gap_first_before = rise[kSecondBandStart] - fall[kFirstBandEnd];
  const int32_t gap_first_after = rise[kFirstBandEnd] - fall[kSecondBandStart];
  const int32_t gap_last_before = rise[kBeforeLastBand] - fall[kLastBandStart];
  const int32_t gap_last_after = rise[kLastBandStart] - fall[kBeforeLastBand];
  const int32_t far = round_to_int(2.4 * m.mep_transit_count);
  const int32_t first_columns = m.particle_offset + 1;
  const int32_t last_columns = m.particle_offset + last_band + 2;
  shift_band_later(first_columns, gap_first_before, fall[kFirstBandEnd], rise[kSecondBandStart],
                   rise[kFirstBandEnd], far);
  shift_band_earlier(first_columns, gap_first_after, rise[kFirstBandEnd], fall[kSecondBandStart],
                     fall[kFirstBandEnd], far);
  shift_band_later(last_columns, gap_last_before, fall[kLastBandStart], rise[kBeforeLastBand],
                   rise[kLastBandStart], far);
  shift_band_earlier(last_columns, gap_last_after, rise[kLastBandStart], fall[kBeforeLastBand],
                     fall[kLastBandStart], far);
  std::fill(m.edge_rise, m.edge_rise + 4, 0);
  std::fill(m.edge_fall, m.edge_fall + 4, 0);
}

// ---- Corner tidying ----

// The gap rule, the corner rule and the notch rule for one cell, in turn.
// The corner rule needs a drawn cell with its own line empty on exactly one
// side (-s) and drawn on the other (+s), and never changes which sides are
// empty; the notch rule needs an empty cell with one side empty and the
// other coloured. So only the mirror images of that side s are tried, in
// their order (s,+1) before (s,-1).
void fill_one_cell_gaps(const Neighbourhood& c, int32_t here) {
  if (here <= 1) return;
  if (c(1, 0) == 0 && here == c(2, 0)) c.set(1, 0, here);
  if (c(1, 1) == 0 && c(0, 1) == c(2, 1)) c.set(1, 1, c(0, 1));
}

void cut_convex_corner(const Neighbourhood& c, int32_t s, int32_t t) {
  if (!(c(0, t) > 0 && c(s, t) > 0)) return;
  if (c(s, -t) != 0 || c(0, -t) != 0 || c(-s, -t) != 0 || c(-s, t) != 0) return;
  if (!(c(2 * s, 0) > 0 && c(0, 2 * t) > 0)) return;
  c.set(0, 0, 1);
  if (c(3 * s, 0) > 1 && c(2 * s, -t) == 0 && c(3 * s, -t) == 0) c.set(s, 0, 1);
  if (!(c(0, 2 * t) == c(0, t) && c(-s, 2 * t) == 0)) return;
  c.set(0, t, 1);
  if (std::abs(c(2 * s, 0) - c(s, 0)) != 1 && c(2 * s, -t) == 0) c.set(s, 0, 1);
}

void fill_notch(const Neighbourhood& c, int32_t s, int32_t t) {
  if (c(0, 0) != 0) return;
  if (!(c(s, -t) > 1 && c(0, t) > 1 && c(-s, t) > 1 && c(2 * s, 2 * t) > 1)) return;
  c.set(0, 0, 7);
  if (c(-2 * s, 0) == 0 && c(-3 * s, 0) == 0 && c(-2 * s, t) > 1 && c(-3 * s, t) > 1 &&
      c(s, -2 * t) > 1 && c(s, -3 * t) > 1) {
    c.set(0, -t, 7);
    c.set(-s, 0, 7);
  }
}

// The side s whose neighbour on the line passes `drawn` while the other
// neighbour is empty; 0 when there is none.
template <typename Drawn>
int32_t open_side(const Neighbourhood& c, Drawn drawn) {
  const int32_t left = c(-1, 0);
  const int32_t right = c(1, 0);
  if (left == 0 && drawn(right)) return 1;
  if (right == 0 && drawn(left)) return -1;
  return 0;
}

void tidy_cell(const Neighbourhood& c) {
  const int32_t here = c(0, 0);
  if (here == 0) {
    const int32_t s = open_side(c, [](int32_t cell) { return cell > 1; });
    if (s == 0) return;
    fill_notch(c, s, 1);
    fill_notch(c, s, -1);
    return;
  }
  fill_one_cell_gaps(c, here);
  const int32_t s = open_side(c, [](int32_t cell) { return cell > 0; });
  if (s == 0) return;
  cut_convex_corner(c, s, 1);
  cut_convex_corner(c, s, -1);
}

// Lowest and highest line that columns first..last have been drawn on
// (high 0 when none); every cell of those columns lies within them.
void drawn_line_span(int32_t first, int32_t last, int32_t& low, int32_t& high) {
  low = kPictureLines + 1;
  high = 0;
  for (int32_t a = std::max(first, 1); a <= std::min(last, kPictureColumns); ++a) {
    if (store.drawn_line_high[a] == 0) continue;
    low = std::min(low, store.drawn_line_low[a]);
    high = std::max(high, store.drawn_line_high[a]);
  }
}

// Every rule needs a drawn cell on its own line within one column of the
// cell, so a line or a cell without one is passed over unchanged; the rules
// draw only next to drawn cells, and the drawn spans grow as they go.
void tidy_corners() {
  const MepState& m = store;
  const int32_t first = m.particle_offset + 2;
  const int32_t last = m.batch_offset;
  int32_t low = 0;
  int32_t high = 0;
  drawn_line_span(first - 1, last + 1, low, high);
  for (int32_t b = std::max(2, low); b <= m.picture_height; ++b) {
    if (b > high) drawn_line_span(first - 1, last + 1, low, high);
    if (b > high) break;
    if (b > kPictureLines || m.drawn_column_high[b] == 0) continue;
    for (int32_t a = std::max(first, m.drawn_column_low[b] - 1);
         a <= std::min(last, m.drawn_column_high[b] + 1); ++a) {
      tidy_cell(Neighbourhood(a, b));
    }
  }
}

// ---- Batch height and writing ----

void settle_batch_height(int32_t previous_height) {
  MepState& m = store;
  int32_t low = 0;
  int32_t high = 0;
  drawn_line_span(m.particle_offset + 1, m.batch_offset, low, high);
  int32_t highest = 0;
  for (int32_t b = std::min(m.picture_height, high); b >= 1 && highest == 0; --b) {
    if (!line_is_clear(m.particle_offset + 1, m.batch_offset, b)) highest = b;
  }
  if (highest + 1 < m.particle_height) {
    if (highest + 1 > previous_height) m.picture_height = highest + 1;
    if (highest + 1 < previous_height) m.picture_height = previous_height;
  }
}

int32_t entry_step(int32_t line) {
  return line <= kBatchEntries ? store.shape_row_step[line] : 0;
}

int32_t entry_particle(int32_t line) {
  return line <= kBatchEntries ? store.shape_row_particle[line] : 0;
}

// Step and particle of the batch entry with the line's number, then one
// field per column: empty, or the cell's digit.
void write_picture_line(int32_t b) {
  static std::string text;
  text = int_field(entry_step(b), 6) + "," + int_field(entry_particle(b), 6);
  for (int32_t a = 1; a <= store.batch_offset; ++a) {
    const int32_t value = picture_cell(a, b);
    if (value > 0 && value < 10) {
      text += static_cast<char>('0' + value);
    } else if (value != 0) {
      text += std::to_string(value);
    }
    text += ',';
  }
  store.shape_file.line(text);
}

void write_header_line() {
  std::string text;
  for (int32_t i = 0; i < kHeaderFields; ++i) text += "1,";
  store.shape_file.line(text);
  store.shape_header_written = 1;
}

// Records that column a holds cells on lines first..last (all within the
// picture).
void note_drawn(int32_t a, int32_t first, int32_t last) {
  MepState& m = store;
  m.drawn_columns.add(a);
  m.drawn_lines.add(first);
  m.drawn_lines.add(last);
  if (m.drawn_line_high[a] == 0 || first < m.drawn_line_low[a]) m.drawn_line_low[a] = first;
  m.drawn_line_high[a] = std::max(m.drawn_line_high[a], last);
  for (int32_t b = first; b <= last; ++b) {
    if (m.drawn_column_high[b] == 0 || a < m.drawn_column_low[b]) m.drawn_column_low[b] = a;
    m.drawn_column_high[b] = std::max(m.drawn_column_high[b], a);
  }
}

}  // namespace

bool picture_is_written() {
  return store.shape_file_option == 1;
}

int32_t picture_cell(int32_t a, int32_t b) {
  return in_picture(a, b) ? store.shape_image[a][b] : 0;
}

void set_picture_cell(int32_t a, int32_t b, int32_t value) {
  if (!in_picture(a, b)) return;
  store.shape_image[a][b] = value;
  if (value != 0) note_drawn(a, b, b);
}

void draw_picture_run(int32_t a, int32_t first, int32_t last, int32_t value) {
  if (a < 1 || a > kPictureColumns) return;
  first = std::max(first, 1);
  last = std::min(last, kPictureLines);
  if (first > last) return;
  std::fill(store.shape_image[a] + first, store.shape_image[a] + last + 1, value);
  note_drawn(a, first, last);
}

void open_shape_file() {
  const Store& s = store;
  if (s.shape_file_option == 0) return;
  store.shape_file.open((s.output_base_name + "_Shape.csv").substr(0, 100),
                        TextOutput::Mode::replace);
  console::line("");
  console::line((s.output_base_name + "Shape.csv").substr(0, 99));
  console::line("Started Multi bugs plot files");
}

void enter_particle_into_batch() {
  MepState& m = store;
  const int32_t entry = ++m.batch_particle_count;
  if (entry > kBatchEntries) return;
  m.shape_row_step[entry] = store.mep_sorted[m.particle_first_record].step;
  m.shape_row_particle[entry] = m.drawn_particle_count + 1;
}

void place_particle_in_picture() {
  MepState& m = store;
  m.particle_offset = m.batch_offset;
  m.batch_offset += 8 * m.particle_element_count + 2;
  m.particle_height = round_to_int(8.0 * m.particle_span / m.mep_transit_count) + 1;
  const int32_t previous_height = m.picture_height;
  m.picture_height = std::max(m.picture_height, m.particle_height);
  if (picture_is_written()) {
    align_end_blocks();
    tidy_corners();
    settle_batch_height(previous_height);
  }
  m.thin_neighbour[0] = m.thin_neighbour[1] = 0;
}

bool particle_overflows_batch(int32_t p) {
  const int32_t count = store.mep_sorted[p].element_count;
  int32_t lowest = store.mep_sorted[p].element;
  int32_t highest = lowest;
  for (int32_t i = p + 1; i < p + count; ++i) {
    lowest = std::min(lowest, store.mep_sorted[i].element);
    highest = std::max(highest, store.mep_sorted[i].element);
  }
  const int64_t width = int64_t{highest} - lowest + 1;
  return store.batch_offset + 8 * width > store.shape_image_width;
}

void write_out_batch() {
  MepState& m = store;
  if (picture_is_written() && m.shape_header_written == 0) write_header_line();
  console::write(int_field(m.drawn_particle_count, 8));
  if (m.batch_offset >= kWrittenColumns) m.batch_offset = kWrittenColumns;
  if (picture_is_written()) {
    for (int32_t b = 1; b <= m.picture_height; ++b) write_picture_line(b);
  }
  clear_batch();
}

void clear_batch() {
  MepState& m = store;
  if (m.drawn_columns.used != 0) {
    for (int32_t a = m.drawn_columns.low; a <= m.drawn_columns.high; ++a) {
      if (m.drawn_line_high[a] == 0) continue;
      int32_t* column = store.shape_image[a];
      std::fill(column + m.drawn_line_low[a], column + m.drawn_line_high[a] + 1, 0);
      m.drawn_line_low[a] = m.drawn_line_high[a] = 0;
    }
  }
  if (m.drawn_lines.used != 0) {
    std::fill(m.drawn_column_low + m.drawn_lines.low, m.drawn_column_low + m.drawn_lines.high + 1,
              0);
    std::fill(m.drawn_column_high + m.drawn_lines.low, m.drawn_column_high + m.drawn_lines.high + 1,
              0);
  }
  m.drawn_columns = TouchedRange{};
  m.drawn_lines = TouchedRange{};
  m.batch_offset = 0;
  m.picture_height = 0;
  const int32_t entries = std::min(m.batch_particle_count, kBatchEntries);
  std::fill(m.shape_row_step + 1, m.shape_row_step + entries + 1, 0);
  std::fill(m.shape_row_particle + 1, m.shape_row_particle + entries + 1, 0);
  m.batch_particle_count = 0;
}

void close_shape_file() {
  if (store.shape_file.is_open()) store.shape_file.close();
}

}  // namespace veka
