// The water column the instrument passes through: a surface mixed layer
// over a thermocline and halocline, a subsurface chlorophyll maximum and
// plankton that gathers around it. Each station draws its own layer depths.
#pragma once

#include "vekasim/random.h"

namespace vekasim {

class WaterColumn {
 public:
  explicit WaterColumn(Random& random);

  double temperature(double depth) const;  // [degC]
  double salinity(double depth) const;     // [PSU]
  // Conductivity [mS/cm] of sea water of temperature [degC] and
  // salinity [PSU] near the surface.
  static double conductivity(double temperature, double salinity);
  double fluorescence(double depth) const;  // analog channel [V]
  // Plankton abundance relative to the station's mean (about 0.3 .. 2).
  double plankton(double depth) const;

 private:
  double surface_temperature_, deep_temperature_;
  double surface_salinity_, deep_salinity_;
  double thermocline_depth_, thermocline_width_;
  double chlorophyll_depth_, chlorophyll_peak_;
};

}  // namespace vekasim
