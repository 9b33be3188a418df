// State of the multi-element particle analysis: sorting, geometry, the shape
// picture and the sizing tallies.
#pragma once

#include <cstdint>

namespace veka {

// The part of an index range that has been written since it was last
// cleared, so that clearing and summing touch only that part.
struct TouchedRange {
  int32_t used;  // 0 while nothing has been written
  int32_t low;
  int32_t high;
  void add(int32_t index) {
    if (used == 0 || index < low) low = index;
    if (used == 0 || index > high) high = index;
    used = 1;
  }
};

struct MepState {
  int32_t mep_reject_count;

  // The particle in hand: records particle_first_record ..
  // particle_first_record + particle_element_count - 1 of mep_sorted.
  int32_t particle_first_record;
  int32_t particle_element_count;
  int32_t particle_span;  // largest time + duration [counts]

  // Geometry of the particle in hand.
  double previous_transit_count;
  double mep_transit_count;
  double length_cells[601];  // [0..600] rows along the flow
  double length_width[601];
  double cross_width[601];     // [0..600] columns across the beam
  TouchedRange length_rows;    // rows of length_cells and length_width written
  TouchedRange cross_columns;  // columns of cross_width written
  double along_size;
  double along_weight;
  double across_size;
  double across_weight;
  double element_weight;
  double opacity_sum;
  double inverse_area_sum;
  int32_t thin_neighbour[2];
  int32_t string_counted;  // the counted mark of mep_string_count
  double mep_diameter;     // [mm]
  double mep_length;       // [mm]
  double mep_mean_opacity;
  double mep_mean_inverse_area;  // [1/mm2]
  int32_t mep_opacity_elements;
  int32_t drawn_particle_count;
  int32_t mep_string_count;

  // Shape picture batch.
  int32_t batch_offset;
  int32_t particle_offset;
  int32_t picture_height;
  int32_t particle_height;
  int32_t batch_particle_count;
  int32_t shape_row_step[101];
  int32_t shape_row_particle[101];
  int32_t shape_header_written;
  // End alignment: last rise and last fall of the four edge columns.
  int32_t edge_rise[4];
  int32_t edge_fall[4];
  // Where the batch has drawn: its columns and lines, per picture column
  // the lowest and highest line written with a cell, and per picture line
  // the lowest and highest column (0 when none).
  TouchedRange drawn_columns;
  TouchedRange drawn_lines;
  int32_t drawn_line_low[301];
  int32_t drawn_line_high[301];
  int32_t drawn_column_low[4001];
  int32_t drawn_column_high[4001];

  // Sizing tallies.
  double mep_large_biomass;   // [mg]
  double large_mep_esd[501];  // [1..500] mm
  int32_t mep_over_6mm_count;
  double shape_counts[4];   // [1..3]
  double shape_biomass[4];  // [1..3] mg
  double mep_ld_sum;
  double mep_ld_count;
  double mep_filtered_biomass;  // [mg]
  double mep_filtered_counts;
};

}  // namespace veka
