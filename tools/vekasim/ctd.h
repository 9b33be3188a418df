// One CTD scan as the instrument writes it: "C" and five values, in the
// field order depth, conductivity, temperature, salinity, fluorescence.
#pragma once

#include <string>

#include "vekasim/ocean.h"
#include "vekasim/random.h"

namespace vekasim {

// Field letters of the CTD layout, for the processing command line.
extern const char* const kCtdFieldLetters[11];

std::string ctd_line(double depth, const WaterColumn& water, Random& noise);

}  // namespace vekasim
