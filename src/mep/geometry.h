// Geometry of one multi-element particle: every element record becomes a
// block of cells (8 cells per millimetre across and along the flow), drawn
// into the shape picture and booked into the particle's running sums, from
// which the particle's diameter and length follow.
#pragma once

#include <cstdint>

namespace veka {

// c0 + c1 x + c2 x^2 + c3 x^3, term by term from the left.
double evaluate_cubic(const double c[4], double x);

// Area of an element of digital size Z [mm2], from the size-to-diameter
// cubic mep_cubic_a [um].
double element_area(int32_t size);

// Block width across the beam [cells]: Round(sqrt(64 A)), at least 1.
int32_t block_width(double area);

// One element record drawn as cells (a0 + j +- h, b0 + k), k = 1..length,
// j = 1..width, h = Int((k - 1) * shear / length) in the shear direction.
struct ElementBlock {
  int32_t kind;    // 2, 3 inner (left / right aligned); 4, 5 first; 6, 7 last
  int32_t record;  // index in mep_sorted
  int32_t width;   // w [cells]
  int32_t length;  // L [cells]
  int32_t a0;
  int32_t b0;
  int32_t shear;            // sigma
  int32_t shear_direction;  // +1, -1, or 0 for an unsheared block
};

// The blocks of the particle in hand (store.particle_first_record,
// particle_element_count) with the transit count mep_transit_count. An inner
// block whose length comes from its neighbours moves the record's time to
// its successor's.
ElementBlock inner_block(int32_t record);
ElementBlock first_block();
ElementBlock last_block();

// Draws every block of the particle in hand (inner records in index order,
// then the first, then the last) and books them; writes the console trace
// for particle numbers above 100000.
void draw_particle_blocks();

// mep_diameter [mm] and mep_length [mm] from the booked sums; counts the
// particle as drawn.
void compute_shape_metrics();

// Zeroes the running sums, the element weight, the three cell arrays and
// the thin-neighbour flags.
void clear_particle_state();

}  // namespace veka
