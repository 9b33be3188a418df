// The positional command-line arguments, read where they are used. A missing
// argument reads as empty text; an integer or real argument that is not a
// valid number ends the run ("\"abc\" is not a valid integer value").
#pragma once

#include <cstdint>
#include <string>

namespace veka {

const std::string& argument_text(int number);
int32_t argument_integer(int number);
double argument_real(int number);

// Argument 60, the analysis option, read as an integer each time it is
// needed. Any integer is taken; these are the values that the stages test.
// Below 5, every multi-element particle under 6 mm joins the counts of the
// single-element particles.
enum class AnalysisOption : int32_t {
  // Every multi-element particle gets ESD 0.
  sizing_off = 1,
  // Particles more opaque than argument 61 are dropped, the single-element
  // counts are left out, and the spectrum fits end at channel 31.
  opacity_limit = 2,
  // The small classes are scaled by the transmission correction, or by its
  // complement.
  transmission_correction = 3,
  transmission_complement = -3,
  // Only the particles under 6 mm at or above the opacity of argument 61,
  // or only those below it, join the single-element counts.
  opaque_only = 5,
  translucent_only = 6,
};
AnalysisOption analysis_option();

}  // namespace veka
