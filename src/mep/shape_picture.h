// The shape picture: analysed multi-element particles side by side, one
// batch at a time, with their end blocks aligned and their corners tidied,
// written to the "_Shape.csv" file of the data file.
#pragma once

#include <cstdint>

namespace veka {

// Whether the picture's cells reach a file: only then are they drawn,
// aligned and tidied (no other output depends on them).
bool picture_is_written();

// Cell (a across, b along) of the picture; outside 1..300 x 1..4000 it
// reads as 0 and is never written.
int32_t picture_cell(int32_t a, int32_t b);
void set_picture_cell(int32_t a, int32_t b, int32_t value);

// Draws cells of a non-zero value in column a, lines first..last.
void draw_picture_run(int32_t a, int32_t first, int32_t last, int32_t value);

// Creates the shape file when shape_file_option is not 0.
void open_shape_file();

// The particle in hand takes the next entry of the batch.
void enter_particle_into_batch();

// After the shape metrics: the particle's offset in the batch, its height,
// the end alignment, the corner tidying and the batch height.
void place_particle_in_picture();

// Whether the particle starting at record p would pass the batch width.
bool particle_overflows_batch(int32_t p);

// Writes the batch (with shape_file_option 1) and its progress count, then
// clears it.
void write_out_batch();

// Empties the picture and the batch entries without writing them.
void clear_batch();

void close_shape_file();

}  // namespace veka
